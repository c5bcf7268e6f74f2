// File: platform/foundation/NSNumber.h
//
// A boxed number as the platform's stores and formatters hand it out: a Boolean, an
// integer or a double, readable as any of them.
//
//   ios::NSNumber n(3.75);
//   n.integerValue();  // 3 (toward zero)
//   n.doubleValue();   // 3.75
//   n.boolValue();     // true (non-zero)
//
// Fidelity: a value type (the platform's is an immutable object, so sharing it and
// copying it cannot be told apart). Conversions to integers truncate toward zero; a
// double outside the 64-bit range reads as the nearest integer limit and NaN as 0, where
// the platform leaves the result unspecified. Other widths (char, unsigned) are absent.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <variant>

#include "platform/foundation/PropertyList.h"

namespace ios {

class NSNumber {
 public:
  NSNumber() : value_(std::int64_t{0}) {}
  explicit NSNumber(bool value) : value_(value) {}
  explicit NSNumber(std::int64_t value) : value_(value) {}
  explicit NSNumber(int value) : value_(std::int64_t{value}) {}
  explicit NSNumber(double value) : value_(value) {}

  // The number a property-list value holds (a Boolean, an integer or a double), or
  // nothing for any other kind.
  [[nodiscard]] static std::optional<NSNumber> fromPropertyList(const PropertyList& value) {
    if (auto b = value.boolValue()) return NSNumber(*b);
    if (auto i = value.integerValue()) return NSNumber(*i);
    if (auto d = value.doubleValue()) return NSNumber(*d);
    return std::nullopt;
  }

  // The value as a 64-bit integer (the platform's Int), toward zero.
  [[nodiscard]] std::int64_t integerValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return *i;
    const double d = std::get<double>(value_);
    if (std::isnan(d)) return 0;
    // 2^63 is exactly representable; anything at or above it saturates.
    if (d >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
    if (d < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(d);
  }
  [[nodiscard]] std::int64_t intValue() const { return integerValue(); }
  [[nodiscard]] std::int64_t int64Value() const { return integerValue(); }
  [[nodiscard]] double doubleValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1.0 : 0.0;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return static_cast<double>(*i);
    return std::get<double>(value_);
  }
  [[nodiscard]] float floatValue() const { return static_cast<float>(doubleValue()); }
  // False for zero, true otherwise.
  [[nodiscard]] bool boolValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return *i != 0;
    return std::get<double>(value_) != 0.0;
  }
  // True when the number holds an integer (or a Boolean) rather than a double.
  [[nodiscard]] bool holdsInteger() const { return !std::holds_alternative<double>(value_); }

  // The number as a property-list value of its own kind.
  [[nodiscard]] PropertyList propertyList() const {
    return std::visit([](auto v) { return PropertyList(v); }, value_);
  }
  // The number as text: "42", "3.75", "1" for true; whole doubles without a fraction.
  [[nodiscard]] std::string stringValue() const;
  [[nodiscard]] std::string description() const { return stringValue(); }

  // Equal by value, as the platform compares numbers (1 == 1.0 == true).
  friend bool operator==(const NSNumber& a, const NSNumber& b) {
    if (std::holds_alternative<double>(a.value_) || std::holds_alternative<double>(b.value_)) {
      return a.doubleValue() == b.doubleValue();
    }
    return a.integerValue() == b.integerValue();
  }

 private:
  std::variant<bool, std::int64_t, double> value_;
};

}  // namespace ios
