// File: platform/foundation/NSNumber.h
//
// A boxed number as the platform's stores hand it out: a boolean, an integer or a
// double, readable as any of the three.
//
//   ios::NSNumber n(3.7);
//   n.integerValue();  // 3 (toward zero)
//   n.boolValue();     // true (non-zero)
//
// Fidelity: keeps the three kinds and the platform's conversions between them. A double
// outside the 64-bit range (or NaN) reads as the nearest integer limit (0 for NaN)
// instead of an unspecified value. Other widths (char, float, unsigned) are absent.
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

  // The number a property-list value holds (a boolean, an integer or a double), or
  // nothing for any other kind.
  [[nodiscard]] static std::optional<NSNumber> fromPropertyList(const PropertyList& value) {
    if (auto b = value.boolValue()) return NSNumber(*b);
    if (auto i = value.integerValue()) return NSNumber(*i);
    if (auto d = value.doubleValue()) return NSNumber(*d);
    return std::nullopt;
  }

  [[nodiscard]] std::int64_t integerValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return *i;
    const double d = std::get<double>(value_);
    if (std::isnan(d)) return 0;
    if (d >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
    if (d < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(d);
  }
  [[nodiscard]] double doubleValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1.0 : 0.0;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return static_cast<double>(*i);
    return std::get<double>(value_);
  }
  [[nodiscard]] bool boolValue() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value_)) return *i != 0;
    return std::get<double>(value_) != 0.0;
  }
  // The number as a property-list value of its own kind.
  [[nodiscard]] PropertyList propertyList() const {
    return std::visit([](auto v) { return PropertyList(v); }, value_);
  }
  // "1", "3.5" or "1" for true, as the platform describes numbers.
  [[nodiscard]] std::string description() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? "1" : "0";
    return propertyList().description();
  }

  // Same kind and value (as the platform compares numbers by value, 1 == 1.0 == true).
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
