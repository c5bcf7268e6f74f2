#include "platform/foundation/NSNumber.h"

#include <cmath>

#include "platform/foundation/Describe.h"

namespace ios {

std::int64_t NSNumber::intValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&value_)) return *i;
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
  const double d = std::get<double>(value_);
  if (std::isnan(d)) return 0;
  // 2^63 is exactly representable; anything at or above it saturates.
  if (d >= 9223372036854775808.0) return INT64_MAX;
  if (d < -9223372036854775808.0) return INT64_MIN;
  return static_cast<std::int64_t>(d);
}

double NSNumber::doubleValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&value_)) return static_cast<double>(*i);
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? 1.0 : 0.0;
  return std::get<double>(value_);
}

bool NSNumber::boolValue() const {
  if (const auto* b = std::get_if<bool>(&value_)) return *b;
  if (const auto* i = std::get_if<std::int64_t>(&value_)) return *i != 0;
  return std::get<double>(value_) != 0;
}

std::string NSNumber::stringValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&value_)) return std::to_string(*i);
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? "1" : "0";
  const double d = std::get<double>(value_);
  // Whole numbers print without a fraction, as the platform's number text does.
  if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
    return std::to_string(static_cast<std::int64_t>(d));
  }
  return describeDouble(d);
}

}  // namespace ios
