// File: KPQuaslet/concurrency/SelfAware.h
//
// Start-up hooks and method exchange.
//
// A class that adopts the runtime protocol SelfAware has its class method
// "startupHook" called once per process, early and without being called by the host:
// the first time anything asks the application object for its next responder, every
// registered class that conforms (subclasses of an adopting class included) is sent
// "startupHook", in registration order.
//
//   class Analytics : public ios::NSObject {
//     IOS_RUNTIME_CLASS(Analytics, ios::NSObject);
//    public:
//     static void startupHook() {
//       kp::replaceMethod(Screen::classObject(), sel("viewDidAppear:"), sel("kp_viewDidAppear:"));
//     }
//   };
//   kp::SelfAware::adopt<Analytics>();   // before the first next-responder request
//
// A hook runs once for each conforming class, so a hook inherited by a subclass runs
// for the subclass too; a hook that exchanges a fixed class's methods undoes itself
// when it runs an even number of times.
#pragma once

#include "platform/runtime/IMP.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Runtime.h"

namespace kp {

// SelfAware
//
// The runtime protocol "SelfAware", whose one requirement is the class method
// "startupHook" (no arguments, no result).
struct SelfAware {
  SelfAware() = delete;

  // The runtime protocol "SelfAware", registered on first use.
  [[nodiscard]] static ios::Protocol* protocol();
  // The selector "startupHook".
  [[nodiscard]] static ios::SEL startupHookSelector();

  // adopt()
  //
  // Makes `cls` adopt SelfAware with `startupHook`, an implementation taking
  // (ios::objc_class& cls, ios::SEL), as its class method "startupHook". Subclasses of
  // `cls` conform and inherit the hook.
  static void adopt(ios::Class cls, ios::IMP startupHook);

  // adopt<T>()
  //
  // Makes T's runtime class adopt SelfAware with the static function T::startupHook().
  template <class T>
  static void adopt() {
    adopt(T::classObject(), ios::imp([](ios::objc_class&, ios::SEL) { T::startupHook(); }));
  }
};

// NothingToSeeHere
//
// The class scan behind the start-up hook.
class NothingToSeeHere {
 public:
  NothingToSeeHere() = delete;

  // harmlessFunction()
  //
  // Sends "startupHook" to every registered class that conforms to SelfAware, in
  // registration order, once per call. A hook that throws does not stop the others;
  // the first exception is rethrown after the last class. The application's
  // next-responder request makes the one call per process.
  static void harmlessFunction();
};

// replaceMethod()
//
// Exchanges the instance methods `originalSelector` and `swizzledSelector` of
// `aClass`: afterwards `originalSelector` runs the swizzled implementation and
// `swizzledSelector` the original one. When `aClass` only inherits the original
// method, it gets methods of its own and its superclass is left unchanged. Calling it
// twice swaps back. Both selectors must name instance methods of `aClass` or of a
// superclass; otherwise the process stops.
void replaceMethod(ios::Class aClass, ios::SEL originalSelector, ios::SEL swizzledSelector);

}  // namespace kp
