// File: KPQuaslet/values/Double+KPExt.h
//
// Conversions of double values (the platform's Double, and CGFloat, which is the
// same type here).
//
//   kp::int_(-2.9);      // -2 (toward zero)
//   kp::float_(1e300);   // +infinity, as the platform rounds
//
// A value that has no Int (NaN, an infinity, a value beyond the Int range) stops the
// process with a message, as the platform's conversion traps do.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/foundation/Precondition.h"

namespace kp {

// int_()
//
// The value truncated toward zero. Precondition: finite and within the Int range.
[[nodiscard]] inline std::int64_t int_(double value) {
  KP_PRECONDITION(std::isfinite(value),
                  "Double value cannot be converted to Int because it is either infinite or NaN");
  // -2^63 and 2^63 are exact doubles; every double in [-2^63, 2^63) truncates into Int.
  KP_PRECONDITION(value >= -9223372036854775808.0 && value < 9223372036854775808.0,
                  "Double value cannot be converted to Int because the result would be outside the Int range");
  return static_cast<std::int64_t>(value);
}

// float_()
//
// The nearest float; values beyond the float range round to an infinity, NaN stays
// NaN.
[[nodiscard]] constexpr float float_(double value) {
  // Halfway between the largest float and 2^128: from there on the nearest float is
  // the infinity.
  constexpr double overflow = 33554431.0 * 0x1p103;
  if (value >= overflow) return std::numeric_limits<float>::infinity();
  if (value <= -overflow) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// cgFloat(), double_()
//
// The value itself (CGFloat and Double are both double).
[[nodiscard]] constexpr double cgFloat(double value) { return value; }
[[nodiscard]] constexpr double double_(double value) { return value; }

}  // namespace kp
