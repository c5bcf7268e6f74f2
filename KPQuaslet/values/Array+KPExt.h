// File: KPQuaslet/values/Array+KPExt.h
//
// Arrays (std::vector): lenient positional access, stack and front insertion, cutting
// at the first failing element, chunks and groups, shuffling, random picks and sorting
// by a key. The predicate family shared with every sequence (all, none, count, reject,
// filtered, forEachReversed, forEach(where), accumulate, sum) is in
// Sequence+KPExt.h; membership, removal by value and set operations in
// Array+KPExtMembership.h.
//
//   std::vector<int> v{1, 2, 3, 4, 5};
//   kp::item(v, 7);                         // nothing
//   kp::get(v, kp::ClosedRange(-2, 1));     // 1, 2
//   kp::group(v, 2);                        // [[1, 2], [3, 4], [5]]
//   kp::sorted(people, &Person::age, /*ascending=*/false);
//
// Functions that take a std::vector& change it in place; the others leave it alone. An
// exception thrown by a closure stops the operation, and a changing operation then
// leaves the array as it was.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KPQuaslet/values/Range.h"
#include "KPQuaslet/values/Sequence+KPExt.h"
#include "KPQuaslet/values/internal/MergeSort.h"
#include "KPQuaslet/values/internal/Support.h"
#include "KPQuaslet/values/internal/ValueCast.h"

namespace kp {

// ---------------------------------------------------------------------------------
// Positional access and insertion

// item()
//
// The element at `index`, or nothing when 0 <= index < count does not hold.
template <class T>
[[nodiscard]] std::optional<T> item(const std::vector<T>& array, std::int64_t index) {
  if (index < 0 || index >= values_internal::signedCount(array)) return std::nullopt;
  return array[static_cast<std::size_t>(index)];
}

// get()
//
// The element at `index`, or nothing (the same rule as item()).
template <class T>
[[nodiscard]] std::optional<T> get(const std::vector<T>& array, std::int64_t index) {
  return item(array, index);
}

// get()
//
// The elements at the positions of the closed range `range` that exist: the range is
// clamped to 0..<count, so it may reach past either end; empty when it lies wholly
// outside. Any upper bound works, the largest integer included.
template <class T, ClosedIntegerRange R>
[[nodiscard]] std::vector<T> get(const std::vector<T>& array, const R& range) {
  const std::int64_t count = values_internal::signedCount(array);
  const std::int64_t lower = static_cast<std::int64_t>(range.lowerBound);
  const std::int64_t upper = static_cast<std::int64_t>(range.upperBound);
  // The half-open end upper + 1, clamped before the addition so that it cannot overflow.
  const std::int64_t end = upper >= count ? count : (upper < 0 ? 0 : upper + 1);
  const std::int64_t start = lower < 0 ? 0 : (lower > count ? count : lower);
  if (start >= end) return {};
  return std::vector<T>(array.begin() + start, array.begin() + end);
}

// The first element and the others, as decompose() answers them.
template <class T>
struct Decomposition {
  T head;
  std::vector<T> tail;
  bool operator==(const Decomposition&) const = default;
};

// decompose()
//
// Nothing for an empty array; otherwise the first element and a copy of all the others
// (empty for a one-element array).
template <class T>
[[nodiscard]] std::optional<Decomposition<T>> decompose(const std::vector<T>& array) {
  if (array.empty()) return std::nullopt;
  return Decomposition<T>{array.front(), std::vector<T>(array.begin() + 1, array.end())};
}

// reverseIndex()
//
// count - 1 - index, or nothing when the index is negative or not below the count.
template <class T>
[[nodiscard]] std::optional<std::int64_t> reverseIndex(const std::vector<T>& array, std::int64_t index) {
  const std::int64_t count = values_internal::signedCount(array);
  if (index < 0 || index >= count) return std::nullopt;
  return count - 1 - index;
}

// takeMax()
//
// The first min(count, n) elements; empty when n <= 0.
template <class T>
[[nodiscard]] std::vector<T> takeMax(const std::vector<T>& array, std::int64_t n) {
  if (n <= 0) return {};
  const std::int64_t count = values_internal::signedCount(array);
  return std::vector<T>(array.begin(), array.begin() + (n < count ? n : count));
}

// pop()
//
// Removes and returns the last element; nothing for an empty array.
template <class T>
std::optional<T> pop(std::vector<T>& array) {
  if (array.empty()) return std::nullopt;
  std::optional<T> last(std::move(array.back()));
  array.pop_back();
  return last;
}

// push()
//
// Appends `element`.
template <class T>
void push(std::vector<T>& array, std::type_identity_t<T> element) {
  array.push_back(std::move(element));
}

// insertFirst()
//
// Inserts `element` at position 0.
template <class T>
void insertFirst(std::vector<T>& array, std::type_identity_t<T> element) {
  array.insert(array.begin(), std::move(element));
}

// prepend()
//
// Inserts `element` at position 0 (the same as insertFirst()).
template <class T>
void prepend(std::vector<T>& array, std::type_identity_t<T> element) {
  insertFirst(array, std::move(element));
}

// safeSwap()
//
// Exchanges the elements at `from` and `to` when the positions differ and both exist;
// otherwise does nothing.
template <class T>
void safeSwap(std::vector<T>& array, std::int64_t from, std::int64_t to) {
  const std::int64_t count = values_internal::signedCount(array);
  if (from == to || from < 0 || to < 0 || from >= count || to >= count) return;
  using std::swap;
  swap(array[static_cast<std::size_t>(from)], array[static_cast<std::size_t>(to)]);
}

// swap()
//
// Exchanges the elements at `from` and `to`. Both positions must exist; otherwise the
// process stops.
template <class T>
void swap(std::vector<T>& array, std::int64_t from, std::int64_t to) {
  const std::int64_t count = values_internal::signedCount(array);
  KP_PRECONDITION(from >= 0 && from < count && to >= 0 && to < count, "Index out of range");
  if (from == to) return;
  using std::swap;
  swap(array[static_cast<std::size_t>(from)], array[static_cast<std::size_t>(to)]);
}

// ---------------------------------------------------------------------------------
// Predicates and iteration

// testAll()
//
// The same answer as all(): true when no element fails `test`. Meant for tests that do
// not throw.
template <class T, std::predicate<const T&> F>
[[nodiscard]] bool testAll(const std::vector<T>& array, F test) {
  return all(array, std::move(test));
}

namespace values_internal {

// Whether `element` is a Bool equal to `value`: a bool itself, or a std::any,
// std::optional, std::variant or property list holding one.
template <class T>
bool isBool(const T& element, bool value) {
  const std::optional<bool> held = castTo<bool>(element);
  return held && *held == value;
}

}  // namespace values_internal

// testAll()
//
// True when every element is a boolean equal to `value` (an element that is not a
// boolean fails); true for an empty array.
template <class T, class B>
  requires std::same_as<B, bool>
[[nodiscard]] bool testAll(const std::vector<T>& array, B value) {
  for (const T& element : array) {
    if (!values_internal::isBool<T>(element, value)) return false;
  }
  return true;
}

// indices()
//
// The positions of the elements that satisfy `predicate`, ascending; nothing (not an
// empty array) when none does, an empty array included.
template <class T, values_internal::ElementPredicate<const std::vector<T>&> P>
[[nodiscard]] std::optional<std::vector<std::int64_t>> indices(const std::vector<T>& array, P predicate) {
  std::vector<std::int64_t> found;
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (values_internal::test(predicate, array[i])) found.push_back(static_cast<std::int64_t>(i));
  }
  if (found.empty()) return std::nullopt;
  return found;
}

// forEachEnumerated()
//
// Calls body(position, element) for each element, in order.
template <class T, std::invocable<std::int64_t, const T&> F>
void forEachEnumerated(const std::vector<T>& array, F body) {
  for (std::size_t i = 0; i < array.size(); ++i) std::invoke(body, static_cast<std::int64_t>(i), array[i]);
}

// ---------------------------------------------------------------------------------
// Cutting at the first element that fails a predicate (tried from the front)

namespace values_internal {

template <class T, class P>
std::size_t firstFailure(const std::vector<T>& array, P& predicate) {
  std::size_t k = 0;
  while (k < array.size() && test(predicate, array[k])) ++k;
  return k;
}

}  // namespace values_internal

// keep()
//
// Shortens the array to the elements before the first one that fails `predicate`;
// leaves it unchanged when all pass.
template <class T, values_internal::ElementPredicate<const std::vector<T>&> P>
void keep(std::vector<T>& array, P predicate) {
  const std::size_t k = values_internal::firstFailure(array, predicate);
  array.erase(array.begin() + static_cast<std::ptrdiff_t>(k), array.end());
}

// take()
//
// The elements before the first one that fails `predicate`; a copy of the whole array
// when all pass.
template <class T, values_internal::ElementPredicate<const std::vector<T>&> P>
[[nodiscard]] std::vector<T> take(const std::vector<T>& array, P predicate) {
  const std::size_t k = values_internal::firstFailure(array, predicate);
  return std::vector<T>(array.begin(), array.begin() + static_cast<std::ptrdiff_t>(k));
}

// skip()
//
// The elements from the first one that fails `predicate` to the end; empty when all
// pass.
template <class T, values_internal::ElementPredicate<const std::vector<T>&> P>
[[nodiscard]] std::vector<T> skip(const std::vector<T>& array, P predicate) {
  const std::size_t k = values_internal::firstFailure(array, predicate);
  return std::vector<T>(array.begin() + static_cast<std::ptrdiff_t>(k), array.end());
}

// ---------------------------------------------------------------------------------
// Chunks and groups

namespace values_internal {

// Calls chunk(start, end) for the consecutive chunks of `size` elements (the last one
// may be shorter). Nothing happens when size < 1 or count is 0.
template <class F>
void forEachChunk(std::size_t count, std::int64_t size, F&& chunk) {
  if (size < 1) return;
  const auto n = static_cast<std::uint64_t>(size);
  for (std::size_t start = 0; start < count;) {
    // min(start + size, count), computed without overflowing for any size.
    const std::size_t end = n >= count - start ? count : start + static_cast<std::size_t>(n);
    chunk(start, end);
    start = end;
  }
}

}  // namespace values_internal

// forEach()
//
// Calls `body` with each consecutive chunk of `slice` elements, in order (the last one
// holds the remainder). Nothing happens when `slice` is 0 or negative or the array is
// empty.
template <class T, std::invocable<std::vector<T>> F>
void forEach(const std::vector<T>& array, std::int64_t slice, F body) {
  values_internal::forEachChunk(array.size(), slice, [&](std::size_t start, std::size_t end) {
    std::invoke(body, std::vector<T>(array.begin() + static_cast<std::ptrdiff_t>(start),
                                     array.begin() + static_cast<std::ptrdiff_t>(end)));
  });
}

// group()
//
// The consecutive chunks of `size` elements, in order (the last one holds the
// remainder); nothing when `size` is 0 or negative or the array is empty.
template <class T>
[[nodiscard]] std::optional<std::vector<std::vector<T>>> group(const std::vector<T>& array, std::int64_t size) {
  if (size < 1 || array.empty()) return std::nullopt;
  std::vector<std::vector<T>> chunks;
  values_internal::forEachChunk(array.size(), size, [&](std::size_t start, std::size_t end) {
    chunks.emplace_back(array.begin() + static_cast<std::ptrdiff_t>(start),
                        array.begin() + static_cast<std::ptrdiff_t>(end));
  });
  return chunks;
}

// groupByKey()
//
// The elements listed under their key, keyForValue(element); each list keeps the
// array's order.
template <class T, std::invocable<const T&> F>
[[nodiscard]] auto groupByKey(const std::vector<T>& array, F keyForValue) {
  using K = std::decay_t<std::invoke_result_t<F&, const T&>>;
  std::unordered_map<K, std::vector<T>> groups;
  for (const T& element : array) groups[std::invoke(keyForValue, element)].push_back(element);
  return groups;
}

// ---------------------------------------------------------------------------------
// Shuffling and random picks (all through the platform's arc4random_uniform; arrays of
// more than 4294967295 elements stop the process)

// shuffle()
//
// Shuffles the array in place (a forward Fisher-Yates shuffle: position i is exchanged
// with i + arc4random_uniform(count - i)). Arrays of 0 or 1 element are left alone.
template <class T>
void shuffle(std::vector<T>& array) {
  const std::size_t count = array.size();
  if (count < 2) return;
  KP_PRECONDITION(count <= UINT32_MAX, "shuffling needs at most 4294967295 elements");
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::size_t j = i + ios::arc4random_uniform(static_cast<std::uint32_t>(count - i));
    if (j != i) {
      using std::swap;
      swap(array[i], array[j]);
    }
  }
}

// shuffled()
//
// A shuffled copy, made as shuffle() does.
template <class T>
[[nodiscard]] std::vector<T> shuffled(const std::vector<T>& array) {
  std::vector<T> copy = array;
  shuffle(copy);
  return copy;
}

// random()
//
// An element at a position drawn uniformly, or nothing for an empty array.
template <class T>
[[nodiscard]] std::optional<T> random(const std::vector<T>& array) {
  if (array.empty()) return std::nullopt;
  return array[static_cast<std::size_t>(values_internal::randomPosition(array.size()))];
}

// ---------------------------------------------------------------------------------
// Sorting by a key

namespace values_internal {

template <class Proj, class T>
using SortKey = std::remove_cvref_t<std::invoke_result_t<const Proj&, const T&>>;

template <class K>
concept OrderedKey = requires(const K& a, const K& b) {
  { a < b } -> std::convertible_to<bool>;
  { a > b } -> std::convertible_to<bool>;
};

template <class K>
concept OrderedOrOptionalKey = OrderedKey<K> || (isOptional<K> && OrderedKey<typename K::value_type>);

}  // namespace values_internal

// A key of an element to sort by: a data-member pointer (&Person::age), a member
// function or any callable; its value is ordered with < and >, or is an optional of
// such a value.
template <class Proj, class T>
concept SortKeyPath = std::invocable<const Proj&, const T&> &&
                      values_internal::OrderedOrOptionalKey<values_internal::SortKey<Proj, T>>;

// sorted()
//
// A copy ordered by the key: with `ascending`, a comes before b when its key is less
// than b's; otherwise when it is greater. For an optional key, an element whose key is
// absent is never ordered before or after another one. The sort is stable and stays
// well defined with such keys (and with NaN): elements with an absent key end up where
// the merges leave them, never lost or duplicated.
template <class T, SortKeyPath<T> Proj>
[[nodiscard]] std::vector<T> sorted(const std::vector<T>& array, Proj keyPath, bool ascending = true) {
  using K = values_internal::SortKey<Proj, T>;
  std::vector<T> copy = array;
  // One comparison per direction, so that the direction is not tested on every call.
  auto sortBy = [&]<bool kAscending>() {
    values_internal::stableSort(copy, [&](const T& a, const T& b) -> bool {
      decltype(auto) ka = std::invoke(keyPath, a);
      decltype(auto) kb = std::invoke(keyPath, b);
      if constexpr (values_internal::isOptional<K>) {
        if (!ka || !kb) return false;
        return kAscending ? static_cast<bool>(*ka < *kb) : static_cast<bool>(*ka > *kb);
      } else {
        return kAscending ? static_cast<bool>(ka < kb) : static_cast<bool>(ka > kb);
      }
    });
  };
  if (ascending) {
    sortBy.template operator()<true>();
  } else {
    sortBy.template operator()<false>();
  }
  return copy;
}

// sort()
//
// Replaces the array with sorted(array, keyPath, ascending).
template <class T, SortKeyPath<T> Proj>
void sort(std::vector<T>& array, Proj keyPath, bool ascending = true) {
  array = sorted(array, std::move(keyPath), ascending);
}

}  // namespace kp
