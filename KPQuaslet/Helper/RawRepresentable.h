// File: KPQuaslet/Helper/RawRepresentable.h
//
// Enums with raw values: the raw value of a case, and the case for a raw value; and
// enums that list their cases.
//
//   kp::rawValue(kp::KP::logLevel::fatal);               // 5
//   kp::fromRawValue<kp::KP::logLevel>(7);               // std::nullopt
//   kp::itemsCount<kp::KP::logLevel>();                  // the cases counted from raw value 0
//   kp::allCases<kp::KP::logLevel>();                    // info, debug, ..., none
//
// An enum joins by declaring, next to it, `std::optional<E> fromRawValue(
// std::type_identity<E>, Raw raw)`. Enums whose raw values are integers get rawValue()
// from their underlying value; others declare `Raw rawValue(E)` themselves. An enum
// lists its cases by declaring, next to it, `std::span<const E> allCases(
// std::type_identity<E>)`, answering every case in declaration order.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace kp {

// CaseIterable
//
// An enum (or enum-like type) that lists its cases with allCases(std::type_identity<E>).
template <class E>
concept CaseIterable = requires {
  { allCases(std::type_identity<E>{}) } -> std::convertible_to<std::span<const E>>;
};

// allCases()
//
// Every case of `E`, in declaration order. A type that does not list its cases does not
// compile here.
template <CaseIterable E>
[[nodiscard]] std::span<const E> allCases() {
  return allCases(std::type_identity<E>{});
}

// notACase()
//
// Stops the process with a message naming `enumName` and `underlying`: a value made by
// a cast that is none of the enum's cases has no name to print.
[[noreturn]] void notACase(std::string_view enumName, std::int64_t underlying);

// rawValue()
//
// The raw value of an enum case whose raw values are its underlying integers.
template <class E>
  requires std::is_enum_v<E>
[[nodiscard]] constexpr std::underlying_type_t<E> rawValue(E e) {
  return static_cast<std::underlying_type_t<E>>(e);
}

// fromRawValue()
//
// The case of `E` whose raw value is `raw`, or nothing.
template <class E, class Raw>
[[nodiscard]] std::optional<E> fromRawValue(Raw&& raw) {
  return fromRawValue(std::type_identity<E>{}, std::forward<Raw>(raw));
}

// itemsCount()
//
// The number of consecutive cases of `E` whose raw values are 0, 1, 2, ...: the first
// raw value, counting from 0, for which fromRawValue() answers nothing. Raw values that
// leave a gap (0, 2) count only the cases before it; cases starting at 1 count 0.
template <class E>
[[nodiscard]] std::int64_t itemsCount() {
  std::int64_t count = 0;
  while (fromRawValue<E>(count)) ++count;
  return count;
}

// items()
//
// The cases itemsCount() counts, in raw-value order.
template <class E>
[[nodiscard]] std::vector<E> items() {
  std::vector<E> cases;
  for (std::int64_t raw = 0;; ++raw) {
    std::optional<E> item = fromRawValue<E>(raw);
    if (!item) return cases;
    cases.push_back(*item);
  }
}

}  // namespace kp
