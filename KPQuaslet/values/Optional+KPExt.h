// File: KPQuaslet/values/Optional+KPExt.h
//
// Truth values, emptiness tests, side-effect hooks and loose comparisons of optional
// values: std::optional<T>, nullable std::shared_ptr<T> (an object that may be nil)
// and std::any (any value, empty for nil).
//
//   std::optional<int> count;
//   kp::boolValue(count);                                     // false
//   kp::describeOr(count, [] { return "none"; });             // "none"
//   kp::ifSome(count, [](int n) { ... }).has_value();         // the hooks answer the optional
//   kp::looselyEqual(std::any(5), std::optional<int>(5));     // true
//
// ??? and ==? are spelled describeOr() and looselyEqual(). Types are matched exactly:
// a std::any holding an int is not a bool, a long or a double.
#pragma once

#include <any>
#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/foundation/Describe.h"

namespace kp {

// A value that may be nil: std::optional<T> or std::shared_ptr<T>.
template <class T>
concept OptionalValue = ios::describe_internal::IsOptional<std::remove_cvref_t<T>>::value ||
                        ios::describe_internal::IsSharedPtr<std::remove_cvref_t<T>>::value;

// Text-like values with an emptiness test: std::string, and any type with a member
// isEmpty() answering bool.
template <class T>
concept TextContaining = std::same_as<T, std::string> || requires(const T& t) {
  { t.isEmpty() } -> std::convertible_to<bool>;
};

// boolValue()
//
// False when nil; the value itself when it is a bool; true for any other value (an
// optional holding the integer 0 is true).
// (A template, so that text and other values never convert to std::any to get here.)
template <std::same_as<std::any> A>
[[nodiscard]] bool boolValue(const A& value) {
  if (!value.has_value()) return false;
  if (const bool* b = std::any_cast<bool>(&value)) return *b;
  return true;
}
template <class T>
[[nodiscard]] bool boolValue(const std::optional<T>& value) {
  if (!value) return false;
  if constexpr (std::is_same_v<T, bool>) {
    return *value;
  } else if constexpr (std::is_same_v<T, std::any>) {
    return boolValue(*value);
  } else {
    return true;
  }
}
template <class T>
[[nodiscard]] bool boolValue(const std::shared_ptr<T>& object) {
  return object != nullptr;
}

// boolValue()
//
// For text: true when it is not empty ("false" is true).
[[nodiscard]] inline bool boolValue(std::string_view text) { return !text.empty(); }

// isNilOrEmpty()
//
// True when nil or the empty string.
[[nodiscard]] inline bool isNilOrEmpty(const std::optional<std::string>& text) { return !text || text->empty(); }

// isEmpty()
//
// True when nil; otherwise whether the text-like value is empty.
template <TextContaining T>
[[nodiscard]] bool isEmpty(const std::optional<T>& value) {
  if (!value) return true;
  if constexpr (std::same_as<T, std::string>) {
    return value->empty();
  } else {
    return static_cast<bool>(value->isEmpty());
  }
}

// ifSome()
//
// Calls `body` with the value when there is one; answers the optional itself, so
// hooks chain (the answer may be ignored). An exception from `body` passes through.
template <OptionalValue O, class F>
const O& ifSome(const O& value, F&& body) {
  if (value) body(*value);
  return value;
}

// ifNone()
//
// Calls `body` when nil; answers the optional itself (the answer may be ignored).
template <OptionalValue O, class F>
const O& ifNone(const O& value, F&& body) {
  if (!value) body();
  return value;
}

// equal()
//
// True only when `other` holds a std::string equal to `text`.
[[nodiscard]] bool equal(std::string_view text, const std::any& other);

// describeOr()
//
// The value's text (ios::describe of the value, not of the optional) when there is
// one; otherwise what `makeDefault` answers. `makeDefault` is called only when nil.
template <OptionalValue O, std::invocable F>
[[nodiscard]] std::string describeOr(const O& value, F&& makeDefault) {
  if (value) return ios::describe(*value);
  return std::string(makeDefault());
}

// looselyEqual()
//
// When `lhs` holds a T and `rhs` a value: whether they are equal. Otherwise true
// exactly when both are nil, so a non-nil `lhs` of another type than T is unequal.
template <std::equality_comparable T>
[[nodiscard]] bool looselyEqual(const std::any& lhs, const std::optional<T>& rhs) {
  if (const T* held = std::any_cast<T>(&lhs); held != nullptr && rhs) return *held == *rhs;
  return !lhs.has_value() && !rhs;
}

}  // namespace kp
