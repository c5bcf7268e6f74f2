#include "platform/uikit/UIResponder.h"

#include <mutex>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace ios {
namespace {

std::mutex firstResponderLock;
std::weak_ptr<NSObject>& firstResponderObject() {
  static std::weak_ptr<NSObject> current;
  return current;
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(UIResponder, "UIResponder", [](Class cls) {
  class_addMethod(cls, UIResponder::nextResponderSelector(), imp([](UIResponder&, SEL) -> id { return nullptr; }));
  class_addProperty(cls, "nextResponder", "T@\"UIResponder\",R,N");
  // Reached by selector as the action of a Done button.
  class_addMethod(cls, sel_registerName("resignFirstResponder"),
                  imp([](UIResponder& self, SEL) -> bool { return self.resignFirstResponder(); }));
  // Whether the receiver implements the action, else what the next responder answers.
  class_addMethod(cls, canPerformActionSelector(), imp([](UIResponder& self, SEL, SEL action, id sender) -> bool {
                    if (self.respondsToSelector(action)) return true;
                    auto next = self.nextResponder();
                    return next != nullptr && canPerformAction(*next, action, sender);
                  }));
})

SEL UIResponder::nextResponderSelector() {
  static const SEL selector = sel_registerName("nextResponder");
  return selector;
}

std::shared_ptr<UIResponder> UIResponder::nextResponder() {
  return std::dynamic_pointer_cast<UIResponder>(send<id>(this, nextResponderSelector()));
}

SEL canPerformActionSelector() {
  static const SEL s = sel_registerName("canPerformAction:withSender:");
  return s;
}
SEL copySelector() {
  static const SEL s = sel_registerName("copy:");
  return s;
}
SEL pasteSelector() {
  static const SEL s = sel_registerName("paste:");
  return s;
}
SEL selectAllSelector() {
  static const SEL s = sel_registerName("selectAll:");
  return s;
}
SEL cutSelector() {
  static const SEL s = sel_registerName("cut:");
  return s;
}

bool canPerformAction(UIResponder& responder, SEL action, const std::shared_ptr<NSObject>& sender) {
  return send<bool>(&responder, canPerformActionSelector(), action, sender);
}

bool UIResponder::isFirstResponder() const {
  std::lock_guard lock(firstResponderLock);
  return firstResponderObject().lock().get() == this;
}

bool UIResponder::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!canBecomeFirstResponder()) return false;
  std::shared_ptr<NSObject> previous;
  {
    std::lock_guard lock(firstResponderLock);
    previous = firstResponderObject().lock();
  }
  if (auto responder = std::dynamic_pointer_cast<UIResponder>(previous)) responder->resignFirstResponder();
  std::lock_guard lock(firstResponderLock);
  firstResponderObject() = weak_from_this();
  return true;
}

bool UIResponder::resignFirstResponder() {
  std::lock_guard lock(firstResponderLock);
  if (firstResponderObject().lock().get() == this) firstResponderObject().reset();
  return true;
}

namespace testing {

void resetFirstResponder() {
  std::lock_guard lock(firstResponderLock);
  firstResponderObject().reset();
}

}  // namespace testing
}  // namespace ios
