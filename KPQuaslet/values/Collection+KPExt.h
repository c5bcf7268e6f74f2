// File: KPQuaslet/values/Collection+KPExt.h
//
// Positional conveniences for any collection: a parallel for-each, a lenient subscript,
// a random element and the average.
//
//   std::vector<int> v{1, 2};
//   kp::safe(v, 5);        // nothing
//   kp::randomItem(v);     // 1 or 2
//   kp::average(v);        // 1.5
//
// Positions count from the collection's first element, so a std::span over part of an
// array answers for the elements it covers.
#pragma once

#include <concepts>
#include <cstdint>
#include <iterator>
#include <optional>
#include <ranges>

#include <vector>

#include "KPQuaslet/values/internal/Support.h"
#include "platform/dispatch/DispatchQueue.h"

namespace kp {

// forEachInParallel()
//
// Calls `body` once for every element, several calls at once on the platform's worker
// threads (the caller may take part), in no fixed order, and returns when every call has
// returned. The body must be safe to run concurrently with itself, and the collection
// must not change meanwhile. An exception thrown by the body stops the calls not yet
// started and reaches the caller once the running ones have returned.
template <std::ranges::forward_range C, class Body>
void forEachInParallel(C&& collection, Body&& body) {
  if constexpr (std::ranges::random_access_range<C> && std::ranges::sized_range<C>) {
    auto first = std::ranges::begin(collection);
    ios::DispatchQueue::concurrentPerform(static_cast<std::size_t>(std::ranges::size(collection)),
                                          [&](std::size_t i) { body(first[static_cast<std::ptrdiff_t>(i)]); });
  } else {
    std::vector<std::ranges::iterator_t<C>> positions;
    for (auto it = std::ranges::begin(collection); it != std::ranges::end(collection); ++it) positions.push_back(it);
    ios::DispatchQueue::concurrentPerform(positions.size(), [&](std::size_t i) { body(*positions[i]); });
  }
}

// safe()
//
// The element at `position` (counted from the first element), or nothing when there is
// no element there (a negative position, the count or beyond).
template <std::ranges::forward_range C>
[[nodiscard]] std::optional<std::ranges::range_value_t<C>> safe(const C& collection, std::int64_t position) {
  if (position < 0) return std::nullopt;
  if constexpr (std::ranges::random_access_range<const C> && std::ranges::sized_range<const C>) {
    if (position >= values_internal::signedCount(collection)) return std::nullopt;
    return std::ranges::begin(collection)[position];
  } else {
    for (const auto& element : collection) {
      if (position-- == 0) return element;
    }
    return std::nullopt;
  }
}

// randomItem()
//
// An element at a position drawn uniformly with the platform's arc4random_uniform, or
// nothing for an empty collection. The collection must hold at most 4294967295
// elements.
template <std::ranges::random_access_range C>
  requires std::ranges::sized_range<const C>
[[nodiscard]] std::optional<std::ranges::range_value_t<C>> randomItem(const C& collection) {
  const auto n = std::ranges::size(collection);
  if (n == 0) return std::nullopt;
  return std::ranges::begin(collection)[values_internal::randomPosition(n)];
}

// average()
//
// The arithmetic mean; 0 for an empty collection. Integer elements are added as
// integers (a total that does not fit stops the process) and the total is divided as a
// double; floating-point elements are added and divided in their own type.
template <std::ranges::forward_range C>
  requires std::ranges::sized_range<const C> &&
           (std::integral<std::ranges::range_value_t<C>> || std::floating_point<std::ranges::range_value_t<C>>)
[[nodiscard]] auto average(const C& collection) {
  using T = std::ranges::range_value_t<C>;
  const auto n = std::ranges::size(collection);
  if constexpr (std::floating_point<T>) {
    if (n == 0) return T{0};
    T total{};
    for (const T& x : collection) total += x;
    return total / static_cast<T>(n);
  } else {
    if (n == 0) return 0.0;
    std::int64_t total = 0;
    for (const T& x : collection) {
      std::int64_t next = 0;
      KP_PRECONDITION(!__builtin_add_overflow(total, x, &next), "arithmetic overflow");
      total = next;
    }
    return static_cast<double>(total) / static_cast<double>(n);
  }
}

}  // namespace kp
