// File: KPQuaslet/values/CGFloat+KPExt.h
//
// Predicates, rounding and random values of CGFloat. Its conversions are those of
// double (Double+KPExt.h), and degreesToRadians / radiansToDegrees are shared with
// Int (Int+KPExt.h).
//
//   kp::isPositive(0.0);                   // false (0 is neither)
//   kp::randomCGFloatBetween(0.5, 3.7);    // 0.5, 1.5 or 2.5
#pragma once

#include <cmath>

#include "KPQuaslet/values/Double+KPExt.h"
#include "KPQuaslet/values/Int+KPExt.h"
#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// abs(), ceil(), floor()
//
// The absolute value, the ceiling and the floor.
[[nodiscard]] inline ios::CGFloat abs(ios::CGFloat value) { return std::fabs(value); }
[[nodiscard]] inline ios::CGFloat ceil(ios::CGFloat value) { return std::ceil(value); }
[[nodiscard]] inline ios::CGFloat floor(ios::CGFloat value) { return std::floor(value); }

// isPositive(), isNegative()
//
// value > 0 and value < 0: zero (and NaN) is neither.
[[nodiscard]] constexpr bool isPositive(ios::CGFloat value) { return value > 0; }
[[nodiscard]] constexpr bool isNegative(ios::CGFloat value) { return value < 0; }

// randomCGFloatBetween()
//
// min plus a whole number r drawn with 0 <= r < n, where n is the span max - min
// truncated to an integer: the answer never reaches max, and is min itself when the
// span is below 1. Precondition: the span is finite, above -1 and below 2^32.
[[nodiscard]] ios::CGFloat randomCGFloatBetween(ios::CGFloat min, ios::CGFloat max);

}  // namespace kp
