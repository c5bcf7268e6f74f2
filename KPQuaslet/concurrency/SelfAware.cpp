#include "KPQuaslet/concurrency/SelfAware.h"

#include <exception>
#include <mutex>
#include <vector>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "platform/foundation/Precondition.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIApplication.h"

namespace kp {
namespace {

// Set on the thread running the scan: a hook that asks the application for its next
// responder gets the answer at once instead of waiting for the scan it is part of.
thread_local bool scanningOnThisThread = false;

// Runs the class scan the first time it is called in the process; other threads that
// call meanwhile wait until it has finished.
void startupScanOnce() {
  if (scanningOnThisThread) return;
  static std::once_flag once;
  std::exception_ptr failure;
  std::call_once(once, [&failure] {
    scanningOnThisThread = true;
    try {
      NothingToSeeHere::harmlessFunction();
    } catch (...) {
      failure = std::current_exception();
    }
    scanningOnThisThread = false;
  });
  if (failure) std::rethrow_exception(failure);
}

// UIApplication's "nextResponder" from the category: the scan, then UIResponder's answer.
ios::id applicationNextResponder(ios::UIApplication& application, ios::SEL cmd) {
  startupScanOnce();
  return ios::sendSuper<ios::id>(&application, ios::UIApplication::classObject(), cmd);
}

// Attached when the library is loaded; runs nothing else.
const kp_internal::CategoryRegistration applicationCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.instanceMethods.push_back({ios::UIResponder::nextResponderSelector(), ios::imp(&applicationNextResponder), {}});
  category.properties.push_back({"nextResponder", "T@\"UIResponder\",N,R"});
  ios::attachCategory(ios::UIApplication::classObject(), category);
});

}  // namespace

ios::Protocol* SelfAware::protocol() {
  static ios::Protocol* const selfAware = [] {
    ios::Protocol* made = ios::objc_allocateProtocol("SelfAware");
    if (made == nullptr) return ios::objc_getProtocol("SelfAware");
    ios::objc_registerProtocol(made);
    return made;
  }();
  return selfAware;
}

ios::SEL SelfAware::startupHookSelector() {
  static const ios::SEL selector = ios::sel_registerName("startupHook");
  return selector;
}

void SelfAware::adopt(ios::Class cls, ios::IMP startupHook) {
  KP_PRECONDITION(cls != nullptr && startupHook, "SelfAware::adopt needs a class and a start-up hook");
  ios::class_replaceMethod(ios::object_getClass(cls), startupHookSelector(), startupHook);
  ios::class_addProtocol(cls, protocol());
}

void NothingToSeeHere::harmlessFunction() {
  const int count = ios::objc_getClassList(nullptr, 0);
  if (count <= 0) return;
  std::vector<ios::Class> classes(static_cast<std::size_t>(count));
  const int listed = std::min(count, ios::objc_getClassList(classes.data(), count));
  std::exception_ptr firstFailure;
  for (int i = 0; i < listed; ++i) {
    ios::Class cls = classes[static_cast<std::size_t>(i)];
    if (cls == nullptr || !ios::conformsToProtocol(cls, SelfAware::protocol())) continue;
    try {
      ios::send<void>(cls, SelfAware::startupHookSelector());
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
}

void replaceMethod(ios::Class aClass, ios::SEL originalSelector, ios::SEL swizzledSelector) {
  ios::Method originalMethod = ios::class_getInstanceMethod(aClass, originalSelector);
  ios::Method swizzledMethod = ios::class_getInstanceMethod(aClass, swizzledSelector);
  KP_PRECONDITION(originalMethod != nullptr && swizzledMethod != nullptr,
                  "replaceMethod: " + ios::NSStringFromClass(aClass) + " has no instance method " +
                      ios::NSStringFromSelector(originalMethod == nullptr ? originalSelector : swizzledSelector));
  const ios::IMP swizzledImp = ios::method_getImplementation(swizzledMethod);
  if (ios::class_addMethod(aClass, originalSelector, swizzledImp, ios::method_getTypeEncoding(swizzledMethod))) {
    ios::class_replaceMethod(aClass, swizzledSelector, ios::method_getImplementation(originalMethod),
                             ios::method_getTypeEncoding(originalMethod));
  } else {
    ios::method_exchangeImplementations(originalMethod, swizzledMethod);
  }
}

}  // namespace kp
