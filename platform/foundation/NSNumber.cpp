#include "platform/foundation/NSNumber.h"

#include "platform/foundation/Describe.h"

namespace ios {

std::string NSNumber::stringValue() const {
  if (const auto* i = std::get_if<std::int64_t>(&value_)) return std::to_string(*i);
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? "1" : "0";
  const double d = std::get<double>(value_);
  if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
    return std::to_string(static_cast<std::int64_t>(d));
  }
  return describeDouble(d);
}

}  // namespace ios
