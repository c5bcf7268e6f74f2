// File: platform/runtime/NSObject.h
//
// The root of the object runtime: `ios::NSObject`, the class objects every object
// points to, and the two macros that give a C++ class its runtime class.
//
//   class Door : public ios::NSObject {
//     IOS_RUNTIME_CLASS(Door, ios::NSObject);
//    public:
//     bool open = false;
//    protected:
//     Door() = default;
//   };
//   // in one .cpp file:
//   IOS_DEFINE_RUNTIME_CLASS(Door, "Door", [](ios::Class cls) {
//     ios::class_addMethod(cls, ios::sel_registerName("open"),
//                          ios::imp([](Door& self, ios::SEL) { self.open = true; }));
//   })
//
//   std::shared_ptr<Door> door = Door::make();
//   ios::send<void>(door, ios::sel_registerName("open"));
//
// Objects are reference types held by std::shared_ptr and made by `T::make(...)`;
// a weak reference is a std::weak_ptr. Class objects are objects too (they can be
// message receivers, monitor keys and targets) and live until the process ends.
//
// Fidelity: a class has a name, a superclass, a metaclass (where its class methods
// live), a method table, protocols, properties with attribute strings and the names of
// the categories attached to it. The metaclass of a root class inherits from that root
// class, as on the platform. Instance variables, reference counts visible to the
// program, autorelease pools and message forwarding are absent.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/runtime/Selector.h"

namespace ios {

class NSObject;
class objc_class;
class Protocol;
struct ClassFactory;

// A class (or metaclass) object.
using Class = objc_class*;
// A strong reference to any object.
using id = std::shared_ptr<NSObject>;

namespace runtime_internal {

struct AssociationTable;
struct AssociationAccess;

// Gives the runtime access to the constructors of classes declared with
// IOS_RUNTIME_CLASS, which are usually protected.
struct Access {
  template <class T, class... Args>
  static T* allocate(Args&&... args) {
    return new T(std::forward<Args>(args)...);
  }
  // Whether the runtime may make a T by name: when its own constructors, public or not
  // (as make() can), make it without arguments. Not for abstract classes, for those
  // whose constructors all take arguments, nor for a class that has one instance only,
  // which says so with `static constexpr bool kRuntimeSingleton = true;`.
  template <class T>
  static constexpr bool instantiableByName() {
    if constexpr (requires { requires T::kRuntimeSingleton; }) {
      return false;
    } else {
      return requires { new T(); };
    }
  }
};

// While alive, the next NSObject constructed on this thread takes `cls` as its class.
class PendingClassScope {
 public:
  explicit PendingClassScope(Class cls);
  ~PendingClassScope();
  PendingClassScope(const PendingClassScope&) = delete;
  PendingClassScope& operator=(const PendingClassScope&) = delete;

 private:
  Class previous_;
};

// Constructs a T whose runtime class is `cls` (T's class or a class made at run time
// that inherits from it), owned by a shared_ptr.
template <class T, class... Args>
std::shared_ptr<T> constructWithClass(Class cls, Args&&... args) {
  PendingClassScope scope(cls);
  return std::shared_ptr<T>(Access::allocate<T>(std::forward<Args>(args)...));
}

// Constructs a T whose runtime class is T::classObject().
template <class T, class... Args>
std::shared_ptr<T> construct(Args&&... args) {
  static_assert(std::is_same_v<typename T::RuntimeSelf, T>,
                "declare the class's runtime class with IOS_RUNTIME_CLASS before making it");
  return constructWithClass<T>(T::classObject(), std::forward<Args>(args)...);
}

// Makes an instance of a class for class_createInstance(); null when the C++ type
// cannot be made without arguments.
using InstanceFactory = id (*)(Class);
// Adds the runtime-visible members of a class while it is registered.
using ClassConfigurator = void (*)(Class);

// Registers the class of a C++ type: allocates the class pair, lets `configure` add
// its members, and registers it. Stops the process if the name is taken.
Class registerNativeClass(const char* name, Class superclass, InstanceFactory factory, ClassConfigurator configure);

}  // namespace runtime_internal

// IOS_RUNTIME_CLASS(Type, Superclass)
//
// Declares, at the top of the body of `Type` (a subclass of `Superclass`), its runtime
// class `Type::classObject()` and the factory `Type::make(args...)`, which forwards to
// a constructor of Type (public or not). Leaves the access at private.
// Every C++ subclass that is made declares its own (a subclass without it would be made
// by its superclass's make(), as the superclass). class_createInstance() can make
// instances of Type's class and of runtime subclasses of it when Type can be constructed
// without arguments (by a public or a protected constructor, as make() can).
#define IOS_RUNTIME_CLASS(Type, Superclass)                                           \
 public:                                                                              \
  using RuntimeSelf = Type;                                                           \
  using RuntimeSuperclass = Superclass;                                               \
  /* The runtime class of Type, registered on first use. */                          \
  static ::ios::Class classObject();                                                  \
  /* Makes a Type owned by a shared_ptr, with Type's runtime class. */                \
  template <class... Args>                                                            \
  [[nodiscard]] static std::shared_ptr<Type> make(Args&&... args) {                   \
    return ::ios::runtime_internal::construct<Type>(std::forward<Args>(args)...);     \
  }                                                                                   \
  /* For class_createInstance(): null when Type needs constructor arguments. */      \
  template <class Self = Type>                                                        \
  static ::ios::id makeForRuntime_(::ios::Class cls) {                                \
    if constexpr (::ios::runtime_internal::Access::instantiableByName<Self>()) {    \
      return ::ios::runtime_internal::constructWithClass<Self>(cls);                  \
    } else {                                                                          \
      return nullptr;                                                                 \
    }                                                                                 \
  }                                                                                   \
                                                                                      \
 private:                                                                             \
  friend struct ::ios::runtime_internal::Access

// IOS_DEFINE_RUNTIME_CLASS(Type, "Name", configure)
//
// Defines Type::classObject() in one .cpp file: the class named "Name" is registered on
// first use (a function-local static, so registration order never matters), after its
// superclass; `configure` is a function `void(ios::Class)` (or a captureless lambda)
// that adds the class's runtime-visible methods and properties, or nullptr.
#define IOS_DEFINE_RUNTIME_CLASS(Type, runtimeName, configure)                                              \
  ::ios::Class Type::classObject() {                                                                        \
    static const ::ios::Class cls = ::ios::runtime_internal::registerNativeClass(                           \
        runtimeName, Type::RuntimeSuperclass::classObject(), &Type::makeForRuntime_<Type>, configure);      \
    return cls;                                                                                             \
  }

// NSObject
//
// The root class. Every object knows its class from the moment it is constructed, so
// messages sent from a constructor already reach the object's own class.
class NSObject : public std::enable_shared_from_this<NSObject> {
 public:
  using RuntimeSelf = NSObject;

  // The runtime class "NSObject".
  static Class classObject();
  // Makes a plain NSObject.
  [[nodiscard]] static std::shared_ptr<NSObject> make();
  static id makeForRuntime_(Class cls);

  virtual ~NSObject();
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;

  // The object's class (for a class object, its metaclass).
  [[nodiscard]] Class getClass() const noexcept { return isa_; }
  // Whether the object's class is `cls` or inherits from it.
  [[nodiscard]] bool isKindOfClass(Class cls) const;
  // Whether the object's class is exactly `cls`.
  [[nodiscard]] bool isMemberOfClass(Class cls) const noexcept { return isa_ == cls; }
  // Whether a message `selector` sent to the object finds an implementation.
  [[nodiscard]] bool respondsToSelector(SEL selector) const;
  // Whether the object's class or a superclass adopts `protocol`.
  [[nodiscard]] bool conformsToProtocol(const Protocol* protocol) const;

 protected:
  // Takes the class that the factory making this object announced.
  NSObject();

 private:
  friend class objc_class;
  friend struct ClassFactory;
  friend struct runtime_internal::Access;
  friend struct runtime_internal::AssociationAccess;

  // For class objects, which know their metaclass when they are made.
  explicit NSObject(Class isa) noexcept : isa_(isa) {}

  Class isa_;
  // The object's associated objects (see AssociatedObjects.h); null until one is set.
  mutable std::atomic<runtime_internal::AssociationTable*> associations_{nullptr};
};

// objc_class
//
// A class or metaclass object. Its contents are reached through the runtime functions
// in Runtime.h, under the runtime's lock.
class objc_class final : public NSObject {
 public:
  struct Data;
  ~objc_class() override;
  [[nodiscard]] Data& data() const noexcept { return *data_; }

 private:
  friend struct ClassFactory;
  objc_class(Class isa, std::unique_ptr<Data> data);
  std::unique_ptr<Data> data_;
};

}  // namespace ios
