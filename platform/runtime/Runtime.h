// File: platform/runtime/Runtime.h
//
// The object runtime's functions, under the platform's own names: classes made and
// found at run time, method tables, protocols, properties and categories.
//
//   ios::Class cls = ios::objc_allocateClassPair(ios::NSObject::classObject(), "Greeter");
//   ios::class_addMethod(cls, ios::sel_registerName("greet"),
//                        ios::imp([](ios::NSObject&, ios::SEL) { return std::string("hi"); }));
//   ios::objc_registerClassPair(cls);
//   ios::id greeter = ios::class_createInstance(cls);
//   ios::send<std::string>(greeter, ios::sel_registerName("greet"));   // "hi"
//
// Every function is safe to call from any thread: tables are read under a shared lock
// and changed under an exclusive one, and a change is seen by the next message sent.
// Method and property records never move and are never freed, so a Method is a stable
// key for as long as the process runs.
//
// Fidelity: what is kept is the platform's behaviour for these calls, including
// class_addMethod refusing a selector the class itself defines (an inherited one may be
// overridden) and class_conformsToProtocol looking at the class's own list only. What
// differs: names and attribute strings are std::string_view in and std::string or
// stable `const char*` out; type encodings carry no frame offsets; a null
// implementation is refused with a fatal stop. Absent: instance variables, method
// removal, protocol methods and protocol inheritance. attachCategory() and
// categoryNames() stand for what the platform's loader does with an image's categories.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/IMP.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

namespace ios {

struct objc_method;
struct objc_property;
using Method = objc_method*;
using objc_property_t = const objc_property*;

// ---- Classes ----------------------------------------------------------------------

// objc_allocateClassPair()
//
// Makes a class named `name` inheriting from `superclass` (null makes a new root
// class), and its metaclass. Null when a class of that name exists. Add methods, then
// register it with objc_registerClassPair(). `extraBytes` is accepted and ignored.
Class objc_allocateClassPair(Class superclass, std::string_view name, std::size_t extraBytes = 0);

// objc_registerClassPair()
//
// Registers a class made by objc_allocateClassPair(): it is found by name and listed
// by objc_getClassList() from now on. Registering twice does nothing.
void objc_registerClassPair(Class cls);

// The registered class named `name`, or null.
[[nodiscard]] Class objc_getClass(std::string_view name);
// The metaclass of the registered class named `name`, or null.
[[nodiscard]] Class objc_getMetaClass(std::string_view name);
// The registered class named `name`, or null.
[[nodiscard]] Class NSClassFromString(std::string_view name);
// The class's readable name; "" for null. A module's class, registered under its
// mangled name ("_TtC9KPQuaslet8BlockTap"), reads "KPQuaslet.BlockTap"; class_getName()
// gives the registered name.
[[nodiscard]] std::string NSStringFromClass(Class cls);

// objc_getClassList()
//
// The number of registered classes. When `buffer` is not null, also writes the first
// min(bufferCount, count) of them, in registration order.
int objc_getClassList(Class* buffer, int bufferCount);

// The class's name ("nil" for null); valid for the life of the process.
[[nodiscard]] const char* class_getName(Class cls);
// The class's superclass (for a root metaclass, the root class); null for a root class.
[[nodiscard]] Class class_getSuperclass(Class cls);
// Whether `cls` is a metaclass.
[[nodiscard]] bool class_isMetaClass(Class cls);
// The object's class; for a class object, its metaclass. Null for null.
[[nodiscard]] Class object_getClass(const NSObject* object);

// class_createInstance()
//
// A new instance of `cls`, made without arguments by the nearest C++ class among `cls`
// and its superclasses (its own constructor may be protected, as the platform's classes'
// are: every class registered by name can be made by name). Null when that C++ class
// needs constructor arguments or is abstract, or when `cls` is null or a metaclass.
[[nodiscard]] id class_createInstance(Class cls, std::size_t extraBytes = 0);

// ---- Methods ----------------------------------------------------------------------

// The instance method `selector` of `cls` or of a superclass; null when none.
[[nodiscard]] Method class_getInstanceMethod(Class cls, SEL selector);
// The class method `selector` of `cls` or of a superclass; null when none.
[[nodiscard]] Method class_getClassMethod(Class cls, SEL selector);

// class_addMethod()
//
// Adds the method `selector` to `cls`, unless `cls` itself already defines it (an
// inherited method is overridden). Answers whether it added. `types` defaults to the
// implementation's own type encoding. A null implementation stops the process.
bool class_addMethod(Class cls, SEL selector, IMP imp, std::string_view types = {});

// class_replaceMethod()
//
// Sets the implementation of the method `selector` that `cls` itself defines and
// answers the previous one; when `cls` does not define it, adds it (as
// class_addMethod()) and answers a null IMP.
IMP class_replaceMethod(Class cls, SEL selector, IMP imp, std::string_view types = {});

// Whether instances of `cls` answer `selector` (inherited methods included).
[[nodiscard]] bool class_respondsToSelector(Class cls, SEL selector);
// The implementation instances of `cls` run for `selector`; null when none.
[[nodiscard]] IMP class_getMethodImplementation(Class cls, SEL selector);
// The methods `cls` itself defines, in the order they were added.
[[nodiscard]] std::vector<Method> class_copyMethodList(Class cls);

// The method's selector.
[[nodiscard]] SEL method_getName(Method method);
// The method's current implementation.
[[nodiscard]] IMP method_getImplementation(Method method);
// Sets the method's implementation; answers the previous one.
IMP method_setImplementation(Method method, IMP imp);
// Exchanges the implementations of two methods, in one step.
void method_exchangeImplementations(Method first, Method second);
// The method's type encoding ("v@:q"); valid for the life of the process.
[[nodiscard]] const char* method_getTypeEncoding(Method method);

// ---- Protocols --------------------------------------------------------------------

// A new protocol named `name`, to be registered with objc_registerProtocol(); null when
// a protocol of that name exists.
Protocol* objc_allocateProtocol(std::string_view name);
// Registers a protocol made by objc_allocateProtocol().
void objc_registerProtocol(Protocol* protocol);
// The registered protocol named `name`, or null.
[[nodiscard]] Protocol* objc_getProtocol(std::string_view name);
// The protocol's name.
[[nodiscard]] const char* protocol_getName(const Protocol* protocol);

// Adds `protocol` to the protocols `cls` adopts; false when `cls` already adopts it.
bool class_addProtocol(Class cls, Protocol* protocol);
// Whether `cls` itself adopts `protocol` (superclasses are not consulted).
[[nodiscard]] bool class_conformsToProtocol(Class cls, const Protocol* protocol);

// conformsToProtocol()
//
// Whether `cls` or one of its superclasses adopts `protocol`: a subclass conforms to
// what its superclass adopts.
[[nodiscard]] bool conformsToProtocol(Class cls, const Protocol* protocol);

// ---- Properties -------------------------------------------------------------------

// class_addProperty()
//
// Declares the property `name` on `cls` with the attribute string `attributes`
// ("T@\"UIResponder\",N,R"); false when `cls` itself already declares it.
bool class_addProperty(Class cls, std::string_view name, std::string_view attributes);
// The property `name` of `cls` or of a superclass, or null.
[[nodiscard]] objc_property_t class_getProperty(Class cls, std::string_view name);
// The properties `cls` itself declares, in declaration order.
[[nodiscard]] std::vector<objc_property_t> class_copyPropertyList(Class cls);
// The property's name.
[[nodiscard]] const char* property_getName(objc_property_t property);
// The property's attribute string.
[[nodiscard]] const char* property_getAttributes(objc_property_t property);

// ---- Categories -------------------------------------------------------------------

// A method of a category: its selector, implementation and type encoding ("" for the
// implementation's own).
struct CategoryMethod {
  SEL selector = nullptr;
  IMP implementation;
  std::string types;
};

// A property of a category: its name and attribute string.
struct CategoryProperty {
  std::string name;
  std::string attributes;
};

// A named set of methods and properties added to an existing class.
struct Category {
  std::string name;
  std::vector<CategoryMethod> instanceMethods;
  std::vector<CategoryMethod> classMethods;
  std::vector<CategoryProperty> properties;
};

// attachCategory()
//
// Attaches `category` to `cls` in one step, as the platform's loader does: each method
// replaces the implementation of a method the class itself defines, or is added (so it
// overrides an inherited one); each property replaces or adds a declaration; the
// category's name is recorded once.
void attachCategory(Class cls, const Category& category);

// The names of the categories attached to `cls`, in attachment order.
[[nodiscard]] std::vector<std::string> categoryNames(Class cls);

}  // namespace ios
