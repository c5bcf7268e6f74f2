// File: KPQuaslet/values/RandomAccessCollection+KPExt.h
//
// A random element of any random-access collection (vectors, arrays, spans, slices).
//
//   std::vector<int> v{5, 6, 7, 8};
//   kp::random(v);                                // 5, 6, 7 or 8
//   kp::random(std::span(v).subspan(1, 2));       // 6 or 7
//   kp::random(std::vector<int>{});               // nothing
#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <ranges>

#include "platform/foundation/Precondition.h"
#include "platform/foundation/Random.h"

namespace kp {

// random()
//
// Nothing for an empty collection; otherwise the element at offset r from the start,
// with r drawn by ios::arc4random_uniform(count). Precondition: the collection holds
// at most 4,294,967,295 elements.
template <std::ranges::random_access_range R>
[[nodiscard]] std::optional<std::ranges::range_value_t<R>> random(R&& collection) {
  const auto count = std::ranges::distance(collection);
  if (count == 0) return std::nullopt;
  KP_PRECONDITION(static_cast<std::uint64_t>(count) <= 0xFFFFFFFFu,
                  "random: the collection has more elements than the random source can draw from");
  const auto offset = ios::arc4random_uniform(static_cast<std::uint32_t>(count));
  return *(std::ranges::begin(collection) + static_cast<std::ranges::range_difference_t<R>>(offset));
}

}  // namespace kp
