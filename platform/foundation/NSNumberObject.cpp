#include "platform/foundation/NSNumberObject.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(NSNumberObject, "NSNumber", nullptr)

}  // namespace ios
