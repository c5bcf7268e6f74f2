// File: KPQuaslet/Helper/RawRepresentable.h
//
// Enums with raw values: the raw value of a case, and the case for a raw value.
//
//   kp::rawValue(kp::KP::logLevel::fatal);               // 5
//   kp::fromRawValue<kp::KP::logLevel>(7);               // std::nullopt
//
// An enum joins by declaring, next to it, `std::optional<E> fromRawValue(
// std::type_identity<E>, Raw raw)`. Enums whose raw values are integers get rawValue()
// from their underlying value; others declare `Raw rawValue(E)` themselves.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>

namespace kp {

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

}  // namespace kp
