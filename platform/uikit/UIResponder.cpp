#include "platform/uikit/UIResponder.h"

#include <mutex>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace ios {
namespace {

// The first responder, for the whole process.
struct FirstResponder {
  std::mutex mutex;
  std::weak_ptr<NSObject> responder;
};

FirstResponder& firstResponder() {
  static auto* state = new FirstResponder;
  return *state;
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(UIResponder, "UIResponder", [](Class cls) {
  class_addMethod(cls, UIResponder::nextResponderSelector(), imp([](UIResponder&, SEL) -> id { return nullptr; }));
  class_addProperty(cls, "nextResponder", "T@\"UIResponder\",R,N");
})

SEL UIResponder::nextResponderSelector() {
  static const SEL selector = sel_registerName("nextResponder");
  return selector;
}

std::shared_ptr<UIResponder> UIResponder::nextResponder() {
  return std::dynamic_pointer_cast<UIResponder>(send<id>(this, nextResponderSelector()));
}

bool UIResponder::isFirstResponder() const {
  auto& state = firstResponder();
  std::lock_guard lock(state.mutex);
  return state.responder.lock().get() == this;
}

bool UIResponder::becomeFirstResponder() {
  auto& state = firstResponder();
  std::lock_guard lock(state.mutex);
  state.responder = weak_from_this();
  return true;
}

bool UIResponder::resignFirstResponder() {
  auto& state = firstResponder();
  std::lock_guard lock(state.mutex);
  if (state.responder.lock().get() != this) return false;
  state.responder.reset();
  return true;
}

namespace testing {

void resetFirstResponder() {
  auto& state = firstResponder();
  std::lock_guard lock(state.mutex);
  state.responder.reset();
}

}  // namespace testing
}  // namespace ios
