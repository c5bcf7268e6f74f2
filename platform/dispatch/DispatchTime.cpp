#include "platform/dispatch/DispatchTime.h"

#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"

namespace ios {

std::int64_t secondsToNanoseconds(double seconds) {
  if (!std::isfinite(seconds)) fatalError("a time interval in seconds must be finite");
  const double nanoseconds = std::trunc(seconds * 1'000'000'000.0);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (nanoseconds >= 9223372036854775808.0 || nanoseconds < -9223372036854775808.0) {
    fatalError("a time interval in seconds is too large to count in nanoseconds");
  }
  return static_cast<std::int64_t>(nanoseconds);
}

DispatchTime DispatchTime::now() { return DispatchTime(clock::uptimeNanoseconds()); }

DispatchTime operator+(DispatchTime time, double seconds) { return time.advanced(secondsToNanoseconds(seconds)); }

DispatchTime operator-(DispatchTime time, double seconds) {
  const std::int64_t nanoseconds = secondsToNanoseconds(seconds);
  if (nanoseconds == std::numeric_limits<std::int64_t>::min()) return time.advanced(std::numeric_limits<std::int64_t>::max());
  return time.advanced(-nanoseconds);
}

}  // namespace ios
