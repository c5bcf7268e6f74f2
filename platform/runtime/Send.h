// File: platform/runtime/Send.h
//
// Sending messages: the implementation is looked up in the receiver's class and its
// superclasses, and the lookup is remembered until any method table changes, so a
// method added, replaced, exchanged or attached by a category is the one the next
// message runs, on every thread that sees the change.
//
//   std::int64_t n = ios::send<std::int64_t>(counter, ios::sel_registerName("add:"), std::int64_t{2});
//   ios::send<void>(Door::classObject(), ios::sel_registerName("reset"));   // a class method
//
// Rules:
// - a null receiver answers R{} (nothing for void) and runs nothing;
// - a selector no implementation answers raises ios::NSException named
//   "NSInvalidArgumentException" with the reason
//   "-[Class selector]: unrecognized selector sent to instance 0x..." (for a class
//   receiver, "+[Class selector]: unrecognized selector sent to class 0x...");
// - the result type R and the decayed argument types must be exactly the
//   implementation's: otherwise the process stops with a message naming both
//   signatures. Convert literals to the method's types (std::int64_t{2}, std::string("a")).
//   Objects travel as `id`: any std::shared_ptr to an NSObject subclass may be passed
//   where the implementation takes an object, and R = std::shared_ptr<T> answers the
//   object result as a T (null when it is not one).
//
// Fidelity: no forwarding. Each thread keeps a small cache of its recent lookups, valid
// for as long as no method table changes (every change makes all of them stale); a
// lookup that misses takes the runtime's shared lock. The implementation runs after the
// lock is released, so it may change the tables.
#pragma once

#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/runtime/IMP.h"
#include "platform/runtime/NSObject.h"

namespace ios {

namespace runtime_internal {

// The implementation `receiver` runs for `selector`, looked up from `start`; raises
// the unrecognized-selector exception when none, and stops the process when its
// signature is not `signature`.
const ImpBase& resolve(NSObject& receiver, Class start, SEL selector, const std::type_info& signature);
// The class where a message to super sent by an implementation of `current` starts.
Class superLookupStart(NSObject& receiver, Class current);

template <class R, class... A>
R dispatch(NSObject* receiver, Class start, SEL selector, A&&... args) {
  using Record = ImpOf<Normalized<R>, Normalized<A>...>;
  const ImpBase& record = resolve(*receiver, start, selector, typeid(Normalized<R>(Normalized<A>...)));
  const auto& typed = static_cast<const Record&>(record);
  if constexpr (std::is_same_v<R, Normalized<R>>) {
    return typed.invoke(*receiver, selector, Normalized<A>(std::forward<A>(args))...);
  } else {
    // An object result asked for as a subclass: null when it is not one.
    return std::dynamic_pointer_cast<typename R::element_type>(
        typed.invoke(*receiver, selector, Normalized<A>(std::forward<A>(args))...));
  }
}

}  // namespace runtime_internal

// send()
//
// Sends `selector` with `args` to `receiver` and answers the result (see the rules
// above). The receiver may be any object or class object.
template <class R, class... A>
R send(NSObject* receiver, SEL selector, A&&... args) {
  if (receiver == nullptr) {
    if constexpr (std::is_void_v<R>) return;
    else return R{};
  }
  return runtime_internal::dispatch<R>(receiver, receiver->getClass(), selector, std::forward<A>(args)...);
}

template <class R, class T, class... A>
R send(const std::shared_ptr<T>& receiver, SEL selector, A&&... args) {
  return send<R>(static_cast<NSObject*>(receiver.get()), selector, std::forward<A>(args)...);
}

// sendSuper()
//
// Sends `selector` to `receiver`, starting the lookup at the superclass of
// `currentClass`, the class whose implementation is sending (for a class method, pass
// the class; its metaclass chain is used). Same rules as send().
template <class R, class... A>
R sendSuper(NSObject* receiver, Class currentClass, SEL selector, A&&... args) {
  if (receiver == nullptr) {
    if constexpr (std::is_void_v<R>) return;
    else return R{};
  }
  Class start = runtime_internal::superLookupStart(*receiver, currentClass);
  return runtime_internal::dispatch<R>(receiver, start, selector, std::forward<A>(args)...);
}

template <class R, class T, class... A>
R sendSuper(const std::shared_ptr<T>& receiver, Class currentClass, SEL selector, A&&... args) {
  return sendSuper<R>(static_cast<NSObject*>(receiver.get()), currentClass, selector, std::forward<A>(args)...);
}

}  // namespace ios
