#include "KPQuaslet/values/Optional+KPExt.h"

namespace kp {

bool equal(std::string_view text, const std::any& other) {
  const auto* s = std::any_cast<std::string>(&other);
  return s != nullptr && *s == text;
}

}  // namespace kp
