// File: platform/foundation/NSNumber.h
//
// A boxed number: an integer, a floating-point value or a Boolean, read back in any
// of the scalar types.
//
//   ios::NSNumber n(3.75);
//   n.intValue();      // 3 (toward zero)
//   n.doubleValue();   // 3.75
//
// Fidelity: a value type (the platform's is an immutable object, so sharing it and
// copying it cannot be told apart). Conversions to integers truncate toward zero;
// values outside the integer range saturate and NaN reads as 0, where the platform
// leaves the result undefined. Comparison and the other scalar accessors are absent.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace ios {

class NSNumber {
 public:
  explicit NSNumber(std::int64_t value) : value_(value) {}
  explicit NSNumber(int value) : value_(static_cast<std::int64_t>(value)) {}
  explicit NSNumber(double value) : value_(value) {}
  explicit NSNumber(bool value) : value_(value) {}

  // The value as a 64-bit integer (the platform's Int).
  [[nodiscard]] std::int64_t intValue() const;
  [[nodiscard]] std::int64_t int64Value() const { return intValue(); }
  [[nodiscard]] double doubleValue() const;
  [[nodiscard]] float floatValue() const { return static_cast<float>(doubleValue()); }
  // False for zero, true otherwise.
  [[nodiscard]] bool boolValue() const;

  // True when the number holds an integer (or a Boolean) rather than a floating-point
  // value.
  [[nodiscard]] bool holdsInteger() const { return !std::holds_alternative<double>(value_); }

  // The number as text: "42", "3.75", "1" for true.
  [[nodiscard]] std::string stringValue() const;

 private:
  std::variant<std::int64_t, double, bool> value_;
};

// The number's text, as string interpolation writes it.
[[nodiscard]] inline std::string ios_describe(const NSNumber& n) { return n.stringValue(); }

}  // namespace ios
