// File: KPQuaslet/values/ClosedRange.h
//
// A closed range of integers, lowerBound...upperBound, both ends included.
//
//   kp::ClosedRange r(-2, 1);   // -2, -1, 0, 1
//   kp::get(values, r);        // the elements at the positions in r that exist
#pragma once

#include <concepts>
#include <cstdint>

#include "platform/foundation/Precondition.h"

namespace kp {

struct ClosedRange {
  std::int64_t lowerBound = 0;
  std::int64_t upperBound = 0;

  // The bounds must be in order (lowerBound <= upperBound); otherwise the process stops.
  constexpr ClosedRange(std::int64_t lower, std::int64_t upper) : lowerBound(lower), upperBound(upper) {
    KP_PRECONDITION(lower <= upper, "Range requires lowerBound <= upperBound");
  }

  [[nodiscard]] constexpr bool contains(std::int64_t value) const {
    return value >= lowerBound && value <= upperBound;
  }
  bool operator==(const ClosedRange&) const = default;
};

// Any closed integer range with public lowerBound and upperBound.
template <class R>
concept ClosedIntegerRange = requires(const R& r) {
  { r.lowerBound } -> std::convertible_to<std::int64_t>;
  { r.upperBound } -> std::convertible_to<std::int64_t>;
};

}  // namespace kp
