#include "KPQuaslet/values/CGFloat+KPExt.h"

#include "platform/foundation/Random.h"

namespace kp {

ios::CGFloat randomCGFloatBetween(ios::CGFloat min, ios::CGFloat max) {
  const ios::CGFloat span = max - min;
  KP_PRECONDITION(span > -1 && span < 4294967296.0,
                  "randomBetween: the span from min to max must be finite and fit in 32 bits");
  const auto bound = static_cast<std::uint32_t>(span);  // truncated toward zero
  return min + static_cast<ios::CGFloat>(ios::arc4random_uniform(bound));
}

}  // namespace kp
