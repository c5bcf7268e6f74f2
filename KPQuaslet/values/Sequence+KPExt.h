// File: KPQuaslet/values/Sequence+KPExt.h
//
// Predicates, iteration helpers and totals for any sequence: std::vector, std::list,
// std::unordered_map, a std::ranges view, anything iterable.
//
//   std::vector<int> v{1, 2, 5, 1};
//   kp::all(v, [](int x) { return x > 0; });                  // true
//   kp::last(v, [](int x) { return x > 1; });                 // 5
//   kp::accumulate(v, 0, std::plus<>{});                      // 1, 3, 8, 9
//   kp::count(prices, [](const auto& name, double p) { return p > 10; });  // dictionaries too
//
// Closures see the elements in iteration order. A dictionary's closures may take the
// key and the value as two arguments instead of the pair. An exception thrown by a
// closure stops the operation at once and reaches the caller. Results are new vectors;
// the receiver is never changed.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <ranges>
#include <type_traits>
#include <utility>
#include <vector>

#include "KPQuaslet/values/internal/Support.h"

namespace kp {

namespace values_internal {

template <class R>
using Element = std::ranges::range_value_t<R>;

// Element types that sum() adds: zero is T{}, and a + b is a T.
template <class T>
concept Summable = std::default_initializable<T> && requires(const T& a, const T& b) {
  { a + b } -> std::convertible_to<T>;
};

}  // namespace values_internal

// all()
//
// True when no element fails `predicate`; true for an empty sequence. Stops at the
// first failure.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] bool all(R&& sequence, P predicate) {
  for (auto&& element : sequence) {
    if (!values_internal::test(predicate, std::forward<decltype(element)>(element))) return false;
  }
  return true;
}

// none()
//
// True when no element satisfies `predicate`; true for an empty sequence. Stops at the
// first success.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] bool none(R&& sequence, P predicate) {
  for (auto&& element : sequence) {
    if (values_internal::test(predicate, std::forward<decltype(element)>(element))) return false;
  }
  return true;
}

// any()
//
// True when some element satisfies `predicate`; false for an empty sequence. Stops at
// the first success.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] bool any(R&& sequence, P predicate) {
  return !none(std::forward<R>(sequence), std::move(predicate));
}

// last()
//
// The last element that satisfies `predicate`, or nothing. The predicate is tried from
// the last element backwards and the search stops at the first success (a sequence that
// cannot be walked backwards is copied first).
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] std::optional<values_internal::Element<R>> last(R&& sequence, P predicate) {
  using T = values_internal::Element<R>;
  if constexpr (std::ranges::bidirectional_range<R> && std::ranges::common_range<R>) {
    auto first = std::ranges::begin(sequence);
    auto it = std::ranges::end(sequence);
    while (it != first) {
      --it;
      if (values_internal::test(predicate, *it)) return T(*it);
    }
    return std::nullopt;
  } else {
    std::vector<T> copy;
    for (auto&& element : sequence) copy.push_back(std::forward<decltype(element)>(element));
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) {
      if (values_internal::test(predicate, *it)) return std::move(*it);
    }
    return std::nullopt;
  }
}

// reject()
//
// The elements for which `predicate` is false, in order.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] std::vector<values_internal::Element<R>> reject(R&& sequence, P predicate) {
  std::vector<values_internal::Element<R>> kept;
  for (auto&& element : sequence) {
    if (!values_internal::test(predicate, element)) kept.push_back(std::forward<decltype(element)>(element));
  }
  return kept;
}

// count()
//
// The number of elements that satisfy `predicate`.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P>
[[nodiscard]] std::int64_t count(R&& sequence, P predicate) {
  std::int64_t n = 0;
  for (auto&& element : sequence) {
    if (values_internal::test(predicate, std::forward<decltype(element)>(element))) ++n;
  }
  return n;
}

// forEachReversed()
//
// Calls `body` for every element, from the last to the first.
template <std::ranges::input_range R, values_internal::ElementCallable<std::ranges::range_reference_t<R>> F>
void forEachReversed(R&& sequence, F body) {
  if constexpr (std::ranges::bidirectional_range<R> && std::ranges::common_range<R>) {
    auto first = std::ranges::begin(sequence);
    auto it = std::ranges::end(sequence);
    while (it != first) {
      --it;
      values_internal::callWith(body, *it);
    }
  } else {
    std::vector<values_internal::Element<R>> copy;
    for (auto&& element : sequence) copy.push_back(std::forward<decltype(element)>(element));
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) values_internal::callWith(body, *it);
  }
}

// forEach()
//
// Calls `body` for each element, in order, for which `condition` holds.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> C,
          values_internal::ElementCallable<std::ranges::range_reference_t<R>> F>
void forEach(R&& sequence, C condition, F body) {
  for (auto&& element : sequence) {
    if (values_internal::test(condition, element)) values_internal::callWith(body, element);
  }
}

// accumulate()
//
// The running values: starting from `initial`, each element gives
// next(running, element), which is appended to the result. `initial` itself is not in
// the result, which has one value per element.
//
//   kp::accumulate(std::vector{1, 2, 3}, 0, std::plus<>{});  // 1, 3, 6
template <std::ranges::input_range R, class U, class F>
  requires std::invocable<F&, const U&, std::ranges::range_reference_t<R>> &&
           std::convertible_to<std::invoke_result_t<F&, const U&, std::ranges::range_reference_t<R>>, U>
[[nodiscard]] std::vector<U> accumulate(R&& sequence, U initial, F next) {
  std::vector<U> running;
  if constexpr (std::ranges::sized_range<R>) running.reserve(std::ranges::size(sequence));
  U value = std::move(initial);
  for (auto&& element : sequence) {
    value = std::invoke(next, std::as_const(value), std::forward<decltype(element)>(element));
    running.push_back(value);
  }
  return running;
}

// filtered()
//
// For each element, in order, for which `include` holds: map(element). `map` is called
// only for the included elements.
template <std::ranges::input_range R, values_internal::ElementPredicate<R> P,
          values_internal::ElementCallable<std::ranges::range_reference_t<R>> M>
[[nodiscard]] auto filtered(R&& sequence, P include, M map) {
  using U = std::decay_t<decltype(values_internal::callWith(map, *std::ranges::begin(sequence)))>;
  std::vector<U> out;
  for (auto&& element : sequence) {
    if (values_internal::test(include, element)) out.push_back(values_internal::callWith(map, element));
  }
  return out;
}

// contains()
//
// True when the sequence contains an element equal to each element of `elements`; true
// for an empty list. The sequence is searched again for each listed element, and the
// search stops at the first one missing.
template <std::ranges::forward_range R>
  requires std::equality_comparable<values_internal::Element<R>>
[[nodiscard]] bool contains(const R& sequence,
                            const std::type_identity_t<std::vector<values_internal::Element<R>>>& elements) {
  for (const auto& wanted : elements) {
    bool found = false;
    for (const auto& element : sequence) {
      if (element == wanted) {
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

// sum()
//
// Zero of the element type plus every element, in order; zero for an empty sequence.
// An integer total that does not fit the element type stops the process.
template <std::ranges::input_range R>
  requires values_internal::Summable<values_internal::Element<R>>
[[nodiscard]] values_internal::Element<R> sum(R&& sequence) {
  using T = values_internal::Element<R>;
  T total{};
  for (auto&& element : sequence) total = values_internal::checkedAdd<T>(total, element);
  return total;
}

}  // namespace kp
