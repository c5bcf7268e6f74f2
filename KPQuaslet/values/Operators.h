// File: KPQuaslet/values/Operators.h
//
// The numeric operators, as named functions: power (**), squareRoot (prefix √) and
// plusMinus (infix and prefix ±).
//
//   kp::power(2, -1);        // 0.5: integers compute in double
//   kp::power(2.0f, 3.0f);   // 8.0f: single precision
//   kp::squareRoot(9);       // 3.0
//   kp::plusMinus(5, 2);     // {7, 3}
//   kp::plusMinus(4);        // {4, -4}
//
// Integer arguments pick the integer forms (a template over the integer types), so an
// int literal never makes a call ambiguous.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

#include "KPQuaslet/values/Int+KPExt.h"
#include "platform/foundation/Precondition.h"

namespace kp {

// power()
//
// lhs raised to rhs: pow for doubles, powf for floats, and pow of both integers
// converted to double.
[[nodiscard]] inline double power(double lhs, double rhs) { return std::pow(lhs, rhs); }
[[nodiscard]] inline float power(float lhs, float rhs) { return std::pow(lhs, rhs); }
template <IntegerValue I>
[[nodiscard]] double power(I lhs, I rhs) {
  return std::pow(static_cast<double>(lhs), static_cast<double>(rhs));
}

// squareRoot()
//
// The square root: sqrt for doubles, sqrtf for floats, and sqrt of an integer
// converted to double. Negative values give NaN.
[[nodiscard]] inline double squareRoot(double value) { return std::sqrt(value); }
[[nodiscard]] inline float squareRoot(float value) { return std::sqrt(value); }
template <IntegerValue I>
[[nodiscard]] double squareRoot(I value) {
  return std::sqrt(static_cast<double>(value));
}

// plusMinus()
//
// The pair (lhs + rhs, lhs - rhs). Precondition: both fit in Int.
[[nodiscard]] inline std::pair<std::int64_t, std::int64_t> plusMinus(std::int64_t lhs, std::int64_t rhs) {
  std::int64_t sum = 0;
  std::int64_t difference = 0;
  const bool sumOverflows = __builtin_add_overflow(lhs, rhs, &sum);
  const bool differenceOverflows = __builtin_sub_overflow(lhs, rhs, &difference);
  KP_PRECONDITION(!sumOverflows && !differenceOverflows, "plusMinus: arithmetic overflow");
  return {sum, difference};
}

// plusMinus()
//
// The pair (value, -value). Precondition: value is not Int.min.
[[nodiscard]] inline std::pair<std::int64_t, std::int64_t> plusMinus(std::int64_t value) {
  KP_PRECONDITION(value != INT64_MIN, "plusMinus: arithmetic overflow");
  return {value, -value};
}

}  // namespace kp
