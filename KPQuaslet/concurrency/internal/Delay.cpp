#include "KPQuaslet/concurrency/internal/Delay.h"

#include "platform/dispatch/DispatchTime.h"

namespace kp::kp_internal {

void asyncAfterSeconds(const ios::DispatchQueue& queue, double seconds, std::function<void()> block) {
  // Added in integers: the deadline is exactly the truncated number of nanoseconds away.
  const auto delay = ios::DispatchTimeInterval::nanoseconds(ios::secondsToNanoseconds(seconds));
  queue.asyncAfter(ios::DispatchTime::now() + delay, std::move(block));
}

}  // namespace kp::kp_internal
