// File: KPQuaslet/values/internal/Support.h
//
// Small pieces shared by the collection extensions: trait tests, the way predicates
// are called, checked integer arithmetic and random positions.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <ranges>
#include <type_traits>
#include <utility>

#include "platform/foundation/Precondition.h"
#include "platform/foundation/Random.h"

namespace kp::values_internal {

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};
template <class T>
inline constexpr bool isOptional = IsOptional<std::remove_cvref_t<T>>::value;

template <class T>
concept PairLike = requires(const T& p) {
  p.first;
  p.second;
};

// A closure that can be called with one element, or, for the (key, value) pairs of a
// dictionary, with the key and the value.
template <class F, class E>
concept ElementCallable =
    std::invocable<F&, E> || (PairLike<std::remove_cvref_t<E>> &&
                              std::invocable<F&, decltype((std::declval<E>().first)), decltype((std::declval<E>().second))>);

template <class F, class E>
decltype(auto) callWith(F& f, E&& element) {
  if constexpr (std::invocable<F&, E>) {
    return std::invoke(f, std::forward<E>(element));
  } else {
    return std::invoke(f, element.first, element.second);
  }
}

// A predicate over the elements of R (see ElementCallable).
template <class P, class R>
concept ElementPredicate = ElementCallable<P, std::ranges::range_reference_t<R>>;

template <class P, class E>
bool test(P& predicate, E&& element) {
  return static_cast<bool>(callWith(predicate, std::forward<E>(element)));
}

// Numbers whose + traps on overflow in the platform's language.
template <class T>
concept CheckedInteger = std::integral<T> && !std::same_as<T, bool>;

// a + b, stopping the process when the total does not fit in T.
template <class T>
T checkedAdd(T a, T b) {
  if constexpr (CheckedInteger<T>) {
    T total{};
    KP_PRECONDITION(!__builtin_add_overflow(a, b, &total), "arithmetic overflow");
    return total;
  } else {
    return a + b;
  }
}

// A position drawn uniformly from 0..<count with the platform's arc4random_uniform.
// The count must fit in 32 bits (the bound that function takes).
inline std::int64_t randomPosition(std::size_t count) {
  KP_PRECONDITION(count <= UINT32_MAX, "a random pick needs at most 4294967295 elements");
  return static_cast<std::int64_t>(ios::arc4random_uniform(static_cast<std::uint32_t>(count)));
}

// The size of a sized range as a signed count.
template <std::ranges::sized_range R>
std::int64_t signedCount(const R& range) {
  return static_cast<std::int64_t>(std::ranges::size(range));
}

}  // namespace kp::values_internal
