// File: platform/runtime/IMP.h
//
// Method implementations. An implementation is a C++ callable that takes the receiver
// and the selector first, then the method's arguments; it remembers its C++ signature,
// so a message sent with other argument or result types stops the process with a
// clear message instead of running into undefined behaviour.
//
//   ios::IMP area = ios::imp([](Shape& self, ios::SEL, double scale) -> double {
//     return self.width * self.height * scale;
//   });
//   area.signatureName();   // "double (double)"
//   area.typeEncoding();    // "d@:d"
//
// The receiver parameter may be any NSObject subclass (class methods take
// `ios::objc_class&`); a message to a receiver of another C++ type stops the process.
//
// Objects are exchanged as `id`: an implementation may declare std::shared_ptr<T>
// parameters and results for any NSObject subclass T.
//
// Fidelity: implementations are made once and live until the process ends, as code
// does; the callable's captures live as long. Type encodings carry no frame offsets.
// Results and arguments are C++ values (no references as results).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "platform/runtime/NSObject.h"

namespace ios {

// TypeEncoding<T>
//
// The runtime's one-letter (or bracketed) code for a value of type T, used to build
// method type encodings. Specialise it for a structure the runtime should name
// (for example "{CGRect=dddd}"); unknown types encode as "?".
template <class T, class = void>
struct TypeEncoding {
  static std::string value() { return "?"; }
};

namespace runtime_internal {

template <class T>
struct IsObjectPointer : std::false_type {};
template <class T>
struct IsObjectPointer<std::shared_ptr<T>> : std::is_base_of<NSObject, T> {};
template <class T>
struct IsObjectPointer<std::weak_ptr<T>> : std::is_base_of<NSObject, T> {};
template <class T>
struct IsObjectPointer<T*> : std::is_base_of<NSObject, T> {};

template <class T>
std::string encodingOf() {
  using U = std::remove_cv_t<T>;
  if constexpr (std::is_void_v<U>) return "v";
  else if constexpr (std::is_same_v<U, bool>) return "B";
  else if constexpr (std::is_same_v<U, char> || std::is_same_v<U, signed char>) return "c";
  else if constexpr (std::is_same_v<U, unsigned char>) return "C";
  else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>) {
    if constexpr (sizeof(U) == 2) return "s";
    else if constexpr (sizeof(U) == 4) return "i";
    else return "q";
  } else if constexpr (std::is_integral_v<U>) {
    if constexpr (sizeof(U) == 2) return "S";
    else if constexpr (sizeof(U) == 4) return "I";
    else return "Q";
  } else if constexpr (std::is_same_v<U, float>) return "f";
  else if constexpr (std::is_same_v<U, double>) return "d";
  else if constexpr (std::is_same_v<U, SEL>) return ":";
  else if constexpr (std::is_same_v<U, Class>) return "#";
  else if constexpr (IsObjectPointer<U>::value || std::is_same_v<U, std::string>) return "@";
  else if constexpr (std::is_same_v<U, const char*>) return "*";
  else return TypeEncoding<U>::value();
}

// Messages exchange objects as `id`: a std::shared_ptr to any NSObject subclass is
// passed and checked as `id`, and converted back to the declared type at the far end.
template <class T>
struct Normal {
  using type = T;
};
template <class T>
  requires(std::is_base_of_v<NSObject, T> && !std::is_same_v<std::remove_cv_t<T>, NSObject>)
struct Normal<std::shared_ptr<T>> {
  using type = id;
};
template <class T>
using Normalized = typename Normal<std::decay_t<T>>::type;

// Stops the process: argument `position` of a message was not of the object type the
// implementation declares.
[[noreturn]] void argumentTypeMismatch(const NSObject& receiver, SEL cmd, int position, const std::type_info& expected,
                                       const NSObject& argument);

// Converts a value as messages carry it to the type `Declared` an implementation takes.
template <class Declared>
Declared toDeclared(Normalized<Declared>&& value, const NSObject& receiver, SEL cmd, int position) {
  if constexpr (std::is_same_v<Declared, Normalized<Declared>>) {
    return std::move(value);
  } else {
    using Element = typename Declared::element_type;
    auto typed = std::dynamic_pointer_cast<Element>(value);
    if (value != nullptr && typed == nullptr) argumentTypeMismatch(receiver, cmd, position, typeid(Element), *value);
    return typed;
  }
}

// The base of every implementation record; records are never freed.
class ImpBase {
 public:
  ImpBase(const std::type_info& signature, std::string encoding)
      : signature_(signature), encoding_(std::move(encoding)) {}
  virtual ~ImpBase() = default;
  ImpBase(const ImpBase&) = delete;
  ImpBase& operator=(const ImpBase&) = delete;

  [[nodiscard]] const std::type_info& signature() const noexcept { return signature_; }
  [[nodiscard]] const std::string& typeEncoding() const noexcept { return encoding_; }

 private:
  const std::type_info& signature_;
  std::string encoding_;
};

// An implementation with result R and (decayed) argument types Args.
template <class R, class... Args>
class ImpOf : public ImpBase {
 public:
  ImpOf() : ImpBase(typeid(R(Args...)), encodingOf<R>() + "@:" + (std::string() + ... + encodingOf<Args>())) {}
  virtual R invoke(NSObject& self, SEL cmd, Args&&... args) const = 0;
};

// Stops the process: an implementation for receivers of C++ type `expected` was
// called on `receiver`.
[[noreturn]] void receiverTypeMismatch(const NSObject& receiver, SEL cmd, const std::type_info& expected);

template <class Self>
Self& castReceiver(NSObject& receiver, SEL cmd) {
  if constexpr (std::is_same_v<Self, NSObject>) {
    return receiver;
  } else {
    if (typeid(receiver) == typeid(Self)) return static_cast<Self&>(receiver);
    if (auto* typed = dynamic_cast<Self*>(&receiver)) return *typed;
    receiverTypeMismatch(receiver, cmd, typeid(Self));
  }
}

// An implementation made from a callable taking (Self&, SEL, Args...) and returning R.
template <class F, class Self, class R, class... Args>
class CallableImp final : public ImpOf<Normalized<R>, Normalized<Args>...> {
 public:
  explicit CallableImp(F f) : f_(std::move(f)) {}
  Normalized<R> invoke(NSObject& self, SEL cmd, Normalized<Args>&&... args) const override {
    return call(self, cmd, std::index_sequence_for<Args...>(), std::move(args)...);
  }

 private:
  template <std::size_t... I>
  Normalized<R> call(NSObject& self, SEL cmd, std::index_sequence<I...>, Normalized<Args>&&... args) const {
    Self& receiver = castReceiver<Self>(self, cmd);
    return std::invoke(f_, receiver, cmd, toDeclared<Args>(std::move(args), self, cmd, static_cast<int>(I) + 1)...);
  }

  F f_;
};

// The shape of a callable usable as an implementation: (Self&, SEL, Args...) -> R.
template <class T>
struct ImpTraits : ImpTraits<decltype(&T::operator())> {};
template <class R, class S, class... A>
struct ImpTraits<R (*)(S&, SEL, A...)> {
  using Result = R;
  using Self = std::remove_cv_t<S>;
  template <class F>
  using Callable = CallableImp<F, Self, R, std::decay_t<A>...>;
};
template <class R, class S, class... A>
struct ImpTraits<R (*)(S&, SEL, A...) noexcept> : ImpTraits<R (*)(S&, SEL, A...)> {};
template <class C, class R, class S, class... A>
struct ImpTraits<R (C::*)(S&, SEL, A...) const> : ImpTraits<R (*)(S&, SEL, A...)> {};
template <class C, class R, class S, class... A>
struct ImpTraits<R (C::*)(S&, SEL, A...) const noexcept> : ImpTraits<R (*)(S&, SEL, A...)> {};

// Keeps `record` for the rest of the process and returns it.
const ImpBase* keep(std::unique_ptr<ImpBase> record);

}  // namespace runtime_internal

// IMP
//
// A handle on an implementation: cheap to copy, compared by identity (restoring a
// saved IMP restores that very implementation). A default IMP is null.
class IMP {
 public:
  constexpr IMP() noexcept = default;
  explicit constexpr IMP(const runtime_internal::ImpBase* record) noexcept : record_(record) {}

  [[nodiscard]] explicit operator bool() const noexcept { return record_ != nullptr; }
  [[nodiscard]] bool operator==(const IMP&) const noexcept = default;

  // The C++ signature, as "result (arguments)"; "" for a null IMP.
  [[nodiscard]] std::string signatureName() const;
  // The type encoding, result first, then "@:" for the receiver and selector, then the
  // arguments ("v@:q"); "" for a null IMP.
  [[nodiscard]] std::string typeEncoding() const;
  [[nodiscard]] const runtime_internal::ImpBase* record() const noexcept { return record_; }

 private:
  const runtime_internal::ImpBase* record_ = nullptr;
};

// imp()
//
// Makes an implementation from `f`, a function pointer or a non-generic lambda taking
// (Self& receiver, SEL cmd, arguments...). Arguments are matched by their decayed types
// (a `const std::string&` parameter is called with a std::string); objects travel as
// `id`, so a parameter declared std::shared_ptr<UIButton> accepts any object argument
// and stops the process if a non-null one is not a UIButton.
template <class F>
[[nodiscard]] IMP imp(F f) {
  using Traits = runtime_internal::ImpTraits<std::decay_t<F>>;
  static_assert(std::is_base_of_v<NSObject, typename Traits::Self>,
                "the first parameter of an implementation is a reference to an NSObject subclass");
  static_assert(!std::is_reference_v<typename Traits::Result>, "an implementation returns a value");
  using Callable = typename Traits::template Callable<std::decay_t<F>>;
  return IMP(runtime_internal::keep(std::make_unique<Callable>(std::move(f))));
}

// The readable form of a C++ type ("std::shared_ptr<ios::NSObject>").
[[nodiscard]] std::string demangledTypeName(const std::type_info& type);

}  // namespace ios
