#include "KPQuaslet/values/Bool+KPExt.h"

#include "platform/foundation/Random.h"

namespace kp {

bool randomBool() { return ios::arc4random_uniform(2) == 1; }

}  // namespace kp
