#include "platform/uikit/UIResponder.h"

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace ios {

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

}  // namespace ios
