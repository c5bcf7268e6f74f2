// File: KPQuaslet/values/Range.h
//
// Integer ranges: the half-open lower..<upper and the closed lower...upper.
//
//   kp::Range r{1, 3};           // 1, 2
//   kp::ClosedRange c{1, 3};     // 1, 2, 3
//   r.count();                   // 2
//
// Both keep lowerBound <= upperBound: making one with the bounds the other way round
// stops the process.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>

#include "platform/foundation/Precondition.h"

namespace kp {

struct Range {
  std::int64_t lowerBound = 0;
  std::int64_t upperBound = 0;

  constexpr Range() = default;
  constexpr Range(std::int64_t lower, std::int64_t upper) : lowerBound(lower), upperBound(upper) {
    KP_PRECONDITION(lower <= upper, "Range requires lowerBound <= upperBound");
  }

  // The number of values, upperBound - lowerBound (as unsigned: it may exceed Int).
  [[nodiscard]] constexpr std::uint64_t count() const {
    return static_cast<std::uint64_t>(upperBound) - static_cast<std::uint64_t>(lowerBound);
  }
  [[nodiscard]] constexpr bool isEmpty() const { return lowerBound == upperBound; }
  [[nodiscard]] constexpr bool contains(std::int64_t value) const {
    return value >= lowerBound && value < upperBound;
  }

  friend constexpr bool operator==(const Range&, const Range&) = default;
};

struct ClosedRange {
  std::int64_t lowerBound = 0;
  std::int64_t upperBound = 0;

  constexpr ClosedRange() = default;
  constexpr ClosedRange(std::int64_t lower, std::int64_t upper) : lowerBound(lower), upperBound(upper) {
    KP_PRECONDITION(lower <= upper, "Range requires lowerBound <= upperBound");
  }

  [[nodiscard]] constexpr bool contains(std::int64_t value) const {
    return value >= lowerBound && value <= upperBound;
  }

  friend constexpr bool operator==(const ClosedRange&, const ClosedRange&) = default;
};

// Any closed integer range with public lowerBound and upperBound.
template <class R>
concept ClosedIntegerRange = requires(const R& r) {
  { r.lowerBound } -> std::convertible_to<std::int64_t>;
  { r.upperBound } -> std::convertible_to<std::int64_t>;
};

// "1..<3" and "1...3", as the ranges are printed.
[[nodiscard]] inline std::string ios_describe(const Range& r) {
  return std::to_string(r.lowerBound) + "..<" + std::to_string(r.upperBound);
}
[[nodiscard]] inline std::string ios_describe(const ClosedRange& r) {
  return std::to_string(r.lowerBound) + "..." + std::to_string(r.upperBound);
}

}  // namespace kp
