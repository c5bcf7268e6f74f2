#include "platform/uikit/UIApplication.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIApplication, "UIApplication", nullptr)

std::shared_ptr<UIApplication> UIApplication::shared() {
  // Never destroyed: code running during exit may still ask for it.
  static auto* application = new std::shared_ptr<UIApplication>(make());
  return *application;
}

}  // namespace ios
