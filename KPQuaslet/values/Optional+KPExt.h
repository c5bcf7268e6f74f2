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
//   kp::looselyEqual(std::optional<int>(5), std::optional<int>(5));  // true
//
// ??? and ==? are spelled describeOr() and looselyEqual(). Where the platform takes
// `Any?` (looselyEqual()'s left side, equal()'s argument), any value may be handed in:
// an optional stands for itself, so an empty one is nil and a present one is its value;
// a std::any holding an optional is read the same way. Types are matched exactly: an
// int is not a bool, a long or a double. Text is text whichever of std::string,
// std::string_view or const char* holds it.
#pragma once

#include <any>
#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "KPQuaslet/values/internal/ValueCast.h"
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
// optional holding the integer 0 is true). A std::any holding an optional is nil or
// that optional's value.
// (A template, so that text and other values never convert to std::any to get here.)
template <std::same_as<std::any> A>
[[nodiscard]] bool boolValue(const A& value) {
  if (values_internal::isNil(value)) return false;
  if (const std::optional<bool> b = values_internal::castTo<bool>(value)) return *b;
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
// Calls `body` with the value when there is one; answers (a copy of) the optional, so
// hooks chain (the answer may be ignored). An exception from `body` passes through.
template <OptionalValue O, class F>
O ifSome(const O& value, F&& body) {
  if (value) body(*value);
  return value;
}

// ifNone()
//
// Calls `body` when nil; answers (a copy of) the optional (the answer may be ignored).
template <OptionalValue O, class F>
O ifNone(const O& value, F&& body) {
  if (!value) body();
  return value;
}

// equal()
//
// True only when `other` is text equal to `text`: a std::string, std::string_view or
// const char*, a present optional of one, or a std::any holding one.
template <class A>
[[nodiscard]] bool equal(std::string_view text, const A& other) {
  const std::optional<std::string> held = values_internal::castTo<std::string>(other);
  return held && *held == text;
}

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
// `lhs` may be a T, a std::optional (empty is nil), a std::any (empty is nil) or any
// other value (never equal unless it is a T).
template <class L, std::equality_comparable T>
[[nodiscard]] bool looselyEqual(const L& lhs, const std::optional<T>& rhs) {
  if (const std::optional<T> held = values_internal::castTo<T>(lhs); held && rhs) return *held == *rhs;
  return !rhs && values_internal::isNil(lhs);
}

}  // namespace kp
