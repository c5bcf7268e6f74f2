// File: KPQuaslet/values/Array+KPExtMembership.h
//
// Arrays (std::vector) of comparable elements: membership tests, removal by value,
// removal of duplicates and the set-like operations difference, union_ and
// intersection, which keep the array's order (and, where stated, its repetitions).
//
//   std::vector<int> v{3, 1, 3, 2, 1};
//   kp::contains(v, 2, 3);                       // true
//   kp::unique(v);                               // 3, 1, 2
//   kp::union_(std::vector{1, 1, 2}, std::vector{2, 3, 3}, std::vector{4, 1});
//                                                // 1, 1, 2, 3, 4
//
// Elements need only ==, and containing a value means holding an element == to it,
// found by a linear scan, so difference, union_, intersection, removeAll of a list and
// the duplicate removers take time proportional to the product of the sizes. For the
// standard types whose hash cannot disagree with == (numbers, pointers and shared
// pointers, std::string and std::string_view, std::type_index) they look values up in a
// hash set instead and take linear time; the answers are the same. Other types, user
// types with a std::hash of their own included, are always scanned.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "KPQuaslet/values/Sequence+KPExt.h"
#include "KPQuaslet/values/internal/Membership.h"
#include "KPQuaslet/values/internal/ValueCast.h"

namespace kp {

// ---------------------------------------------------------------------------------
// Membership

// contains()
//
// True when the array holds an element equal to each of `elements`; true when none is
// given. (The form taking a list, contains(array, {2, 3}), is in Sequence+KPExt.h.)
template <std::equality_comparable T, class... E>
  requires(std::convertible_to<const E&, T> && ...)
[[nodiscard]] bool contains(const std::vector<T>& array, const E&... elements) {
  [[maybe_unused]] auto holds = [&](const T& wanted) { return std::find(array.begin(), array.end(), wanted) != array.end(); };
  return (holds(elements) && ...);
}

// indexes()
//
// Every position holding an element equal to `element`, ascending; empty when none.
template <std::equality_comparable T>
[[nodiscard]] std::vector<std::int64_t> indexes(const std::vector<T>& array, const std::type_identity_t<T>& element) {
  std::vector<std::int64_t> positions;
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (array[i] == element) positions.push_back(static_cast<std::int64_t>(i));
  }
  return positions;
}

// containsInstanceOf()
//
// True when some element has exactly the same run-time type as `value`: for pointers to
// polymorphic classes the most-derived type of the object (a subclass does not match
// its base), for std::any and std::variant the held type. Null pointers and empty
// std::any values match nothing.
template <class T, class U>
[[nodiscard]] bool containsInstanceOf(const std::vector<T>& array, const U& value) {
  const auto wanted = values_internal::dynamicType(value);
  if (!wanted) return false;
  for (const T& element : array) {
    if (values_internal::dynamicType(element) == wanted) return true;
  }
  return false;
}

// containsType()
//
// The same test and answer as containsInstanceOf().
template <class T, class U>
[[nodiscard]] bool containsType(const std::vector<T>& array, const U& value) {
  return containsInstanceOf(array, value);
}

// ---------------------------------------------------------------------------------
// Removal by value (each keeps the order of the elements it leaves)

// remove()
//
// Removes the first element equal to `element`, if any.
template <std::equality_comparable T>
void remove(std::vector<T>& array, const std::type_identity_t<T>& element) {
  auto it = std::find(array.begin(), array.end(), element);
  if (it != array.end()) array.erase(it);
}

// removeAll()
//
// Removes every element equal to `element`.
template <std::equality_comparable T>
void removeAll(std::vector<T>& array, const std::type_identity_t<T>& element) {
  std::erase(array, element);
}

// removeAll()
//
// Removes every element that `elements` contains; an empty list changes nothing.
template <std::equality_comparable T>
void removeAll(std::vector<T>& array, const std::type_identity_t<std::vector<T>>& elements) {
  if (elements.empty()) return;
  values_internal::MembershipIndex<T> unwanted;
  unwanted.reserve(elements.size());
  unwanted.addAll(elements);
  std::erase_if(array, [&](const T& x) { return unwanted.contains(x); });
}

// removeAll()
//
// Gathers `first` (when present) and `rest` into one list and removes every element
// that it contains; nothing to gather changes nothing.
template <std::equality_comparable T, class... E>
  requires(std::convertible_to<const E&, T> && ...)
void removeAll(std::vector<T>& array, const std::optional<std::type_identity_t<T>>& first, const E&... rest) {
  std::vector<T> gathered;
  gathered.reserve(sizeof...(rest) + 1);
  if (first) gathered.push_back(*first);
  (gathered.push_back(T(rest)), ...);
  removeAll(array, gathered);
}

// removeObjects()
//
// Removes every element equal to `element` (the same result as removeAll()).
template <std::equality_comparable T>
void removeObjects(std::vector<T>& array, const std::type_identity_t<T>& element) {
  std::erase(array, element);
}

// ---------------------------------------------------------------------------------
// Duplicates: each keeps the first occurrence of every value, in the order of first
// appearance.

namespace values_internal {

// For each element, whether it is the first occurrence of its value.
template <class T>
std::vector<bool> firstOccurrences(const std::vector<T>& array) {
  std::vector<bool> first(array.size(), false);
  MembershipIndex<T> seen;
  seen.reserve(array.size());
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (!seen.contains(array[i])) {
      seen.add(array[i]);
      first[i] = true;
    }
  }
  return first;
}

}  // namespace values_internal

// removeDuplicates()
//
// Reduces the array to the first occurrence of every value.
template <std::equality_comparable T>
void removeDuplicates(std::vector<T>& array) {
  const std::vector<bool> first = values_internal::firstOccurrences(array);
  std::size_t out = 0;
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (!first[i]) continue;
    if (out != i) array[out] = std::move(array[i]);
    ++out;
  }
  array.erase(array.begin() + static_cast<std::ptrdiff_t>(out), array.end());
}

// withoutDuplicates()
//
// A new array of the first occurrence of every value.
template <std::equality_comparable T>
[[nodiscard]] std::vector<T> withoutDuplicates(const std::vector<T>& array) {
  const std::vector<bool> first = values_internal::firstOccurrences(array);
  std::vector<T> out;
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (first[i]) out.push_back(array[i]);
  }
  return out;
}

// unique()
//
// A new array of the first occurrence of every value (the same as withoutDuplicates()).
template <std::equality_comparable T>
[[nodiscard]] std::vector<T> unique(const std::vector<T>& array) {
  return withoutDuplicates(array);
}

// ---------------------------------------------------------------------------------
// Set-like operations, each over any number of arrays

// difference()
//
// The array's elements, in order and with their repetitions, that no argument
// contains; a copy of the array when no argument is given.
template <std::equality_comparable T, class... L>
  requires(std::same_as<L, std::vector<T>> && ...)
[[nodiscard]] std::vector<T> difference(const std::vector<T>& array, const L&... others) {
  values_internal::MembershipIndex<T> excluded;
  excluded.reserve((others.size() + ... + 0));
  (excluded.addAll(others), ...);
  std::vector<T> out;
  for (const T& element : array) {
    if (!excluded.contains(element)) out.push_back(element);
  }
  return out;
}

// union_()
//
// The array as it is (its own repetitions kept), followed by the elements of each
// argument in order, each appended only when the result so far does not contain it
// yet; a copy of the array when no argument is given.
template <std::equality_comparable T, class... L>
  requires(std::same_as<L, std::vector<T>> && ...)
[[nodiscard]] std::vector<T> union_(const std::vector<T>& array, const L&... others) {
  std::vector<T> out = array;
  if constexpr (sizeof...(others) > 0) {
    // The index refers to the source elements, which stay put while `out` grows.
    values_internal::MembershipIndex<T> present;
    present.reserve(array.size() + (others.size() + ...));
    present.addAll(array);
    auto append = [&](const std::vector<T>& list) {
      for (const T& element : list) {
        if (!present.contains(element)) {
          present.add(element);
          out.push_back(element);
        }
      }
    };
    (append(others), ...);
  }
  return out;
}

// intersection()
//
// The elements of the LAST argument, in its order and with its repetitions, that
// survive every step: the first argument keeps its elements that the array contains;
// each later argument keeps its elements that the previous step's result contains. The
// array itself only filters. Empty when no argument is given.
template <std::equality_comparable T, class... L>
  requires(std::same_as<L, std::vector<T>> && ...)
[[nodiscard]] std::vector<T> intersection(const std::vector<T>& array, const L&... others) {
  std::vector<T> result;
  bool firstStep = true;
  [[maybe_unused]] auto step = [&](const std::vector<T>& list) {
    // The candidates are the array for the first argument, then the previous result.
    const std::vector<T>& candidates = firstStep ? array : result;
    values_internal::MembershipIndex<T> index;
    index.reserve(candidates.size());
    index.addAll(candidates);
    std::vector<T> next;
    for (const T& element : list) {
      if (index.contains(element)) next.push_back(element);
    }
    result = std::move(next);
    firstStep = false;
  };
  (step(others), ...);
  return result;
}

}  // namespace kp
