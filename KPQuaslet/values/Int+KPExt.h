// File: KPQuaslet/values/Int+KPExt.h
//
// Conversions, predicates, formatting, iteration and random numbers on integers
// (the platform's Int: std::int64_t).
//
//   kp::kFormatted(-45678);          // "-45k"
//   kp::romanNumeral(1994);          // "MCMXCIV"
//   kp::isPrime(97);                 // true
//   kp::times(3, [](std::int64_t i) { ... });   // called with 1 and 2
//   kp::randomIntBetween(1, 6);      // a die
//
// Values an operation cannot represent (a negative count, a span the random source
// cannot draw from) stop the process with a message, as the platform's integer traps do.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "KPQuaslet/values/Range.h"
#include "platform/foundation/Precondition.h"

namespace kp {

// The integer types the Int conversions take (bool is not one of them). Taking these
// as a template lets an int literal pick the integer overload of a name that also has
// floating-point overloads.
template <class T>
concept IntegerValue = std::integral<T> && !std::same_as<T, bool>;

// π as the library uses it (the double nearest to it).
inline constexpr double kPi = 3.141592653589793;

// countableRange()
//
// The range 0..<n. Precondition: n >= 0.
[[nodiscard]] Range countableRange(std::int64_t n);

// uInt()
//
// `n` as an unsigned integer. Precondition: n >= 0.
[[nodiscard]] std::uint64_t uInt(std::int64_t n);

// double_(), float_(), cgFloat()
//
// The integer converted to double, float or CGFloat (nearest value). The floating-
// point forms of these conversions are in Double+KPExt.h and Float+KPExt.h.
template <IntegerValue I>
[[nodiscard]] constexpr double double_(I n) {
  return static_cast<double>(n);
}
template <IntegerValue I>
[[nodiscard]] constexpr float float_(I n) {
  return static_cast<float>(n);
}
template <IntegerValue I>
[[nodiscard]] constexpr double cgFloat(I n) {
  return static_cast<double>(n);
}

// degreesToRadians(), radiansToDegrees()
//
// value × π / 180 and value × 180 / π, multiplied first; integers convert to double
// first. These serve Int, Double and CGFloat alike.
[[nodiscard]] constexpr double degreesToRadians(double value) { return value * kPi / 180; }
[[nodiscard]] constexpr double radiansToDegrees(double value) { return value * 180 / kPi; }

// isEven()
//
// True when the lowest bit is clear, so negative values work too.
[[nodiscard]] constexpr bool isEven(std::int64_t n) { return (n & 1) == 0; }

// isPrime()
//
// 2 is prime; values below 2 and other even values are not; otherwise the value is
// prime unless an odd number from 3 up to its integer square root divides it.
[[nodiscard]] bool isPrime(std::int64_t n);

// romanNumeral()
//
// `n` in Roman numerals with the subtractive pairs ("MCMXCIV" for 1994), with no
// upper letter past M and no upper bound: 4000 is "MMMM", and 2,000,000,004 is two
// million "M" followed by "IV". Nothing for values below 1, and for a value whose text
// cannot be built: longer than a std::string can be, or more than memory can hold
// (the allocation fails).
[[nodiscard]] std::optional<std::string> romanNumeral(std::int64_t n);

// kFormatted()
//
// `n` in thousands: "0k" when |n| < 1000 (no sign); "-45k" for -45,678 (the quotient
// truncated); "25kk" for 25,300,000 once |n| reaches a million. Every Int has a text,
// Int.min included.
[[nodiscard]] std::string kFormatted(std::int64_t n);

// clamp()
//
// `max` when n > max; otherwise `min` when n < min; otherwise n. The max test comes
// first, so min > max answers max.
[[nodiscard]] constexpr std::int64_t clamp(std::int64_t n, std::int64_t min, std::int64_t max) {
  if (n > max) return max;
  if (n < min) return min;
  return n;
}

// times()
//
// Calls `body` with 1, 2, ..., n - 1 (no call when n is 1) and returns 1..<n.
// Precondition: n >= 1. An exception from `body` stops the loop and passes through.
template <std::invocable<std::int64_t> F>
Range times(std::int64_t n, F&& body) {
  KP_PRECONDITION(n >= 1, "times: the count must be at least 1");
  for (std::int64_t i = 1; i < n; ++i) body(i);
  return Range(1, n);
}

// upto()
//
// Calls `body` with n, n + 1, ..., end - 1 and returns n..<end. Precondition: end >= n.
template <std::invocable<std::int64_t> F>
Range upto(std::int64_t n, std::int64_t end, F&& body) {
  KP_PRECONDITION(end >= n, "upto: the end must not be below the start");
  for (std::int64_t i = n; i < end; ++i) body(i);
  return Range(n, end);
}

// downto()
//
// Calls `body` with n, n - 1, ..., end (end included: one call when n equals end)
// and returns end..<n. Precondition: n >= end.
template <std::invocable<std::int64_t> F>
Range downto(std::int64_t n, std::int64_t end, F&& body) {
  KP_PRECONDITION(n >= end, "downto: the end must not be above the start");
  for (std::int64_t i = n;; --i) {
    body(i);
    if (i == end) break;
  }
  return Range(end, n);
}

// ---- Random integers, all uniform and drawn from ios::arc4random_uniform ----
//
// Each draws r with 0 <= r < span (r is 0 when the span is 0). A span above
// 4,294,967,295, which the 32-bit source cannot draw from, stops the process.

// randomIntBetween()
//
// min + r with span max - min + 1. Precondition: min <= max + 1 (min == max + 1 draws
// from an empty span and answers min).
[[nodiscard]] std::int64_t randomIntBetween(std::int64_t min, std::int64_t max);

// makeIntRandomBetween()
//
// The same as randomIntBetween() (the initialiser form).
[[nodiscard]] inline std::int64_t makeIntRandomBetween(std::int64_t min, std::int64_t max) {
  return randomIntBetween(min, max);
}

// randomInt()
//
// For a closed range: lowerBound + r with span upperBound - lowerBound + 1.
// For a half-open range: lowerBound + r with span count(); an empty range answers its
// lower bound.
// For two bounds: the same as randomIntBetween(min, max).
[[nodiscard]] std::int64_t randomInt(ClosedRange range);
[[nodiscard]] std::int64_t randomInt(Range range);
[[nodiscard]] inline std::int64_t randomInt(std::int64_t min, std::int64_t max) {
  return randomIntBetween(min, max);
}

// makeIntRandomInRange()
//
// The same as randomInt(range) for a closed range (the initialiser form).
[[nodiscard]] inline std::int64_t makeIntRandomInRange(ClosedRange range) { return randomInt(range); }

// randomBetween()
//
// A value between `n` and `other`, both included, in either order: lo + r with lo the
// smaller and hi the larger, span hi - lo + 1.
[[nodiscard]] std::int64_t randomBetween(std::int64_t n, std::int64_t other);

}  // namespace kp
