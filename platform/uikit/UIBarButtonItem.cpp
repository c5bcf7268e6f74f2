#include "platform/uikit/UIBarButtonItem.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIBarButtonItem, "UIBarButtonItem", nullptr)

}  // namespace ios
