#include "platform/foundation/Describe.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ios {
namespace {

// Lays out the shortest digits of `value` as the platform does: decimal with ".0" for
// whole numbers, exponent form for magnitudes below 1e-4 or above `decimalLimit`.
template <class F>
std::string shortestText(F value, F decimalLimit) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return std::signbit(value) ? "-0.0" : "0.0";

  char buffer[64];
  const F magnitude = std::fabs(value);
  const bool exponent = magnitude < static_cast<F>(1e-4) || magnitude > decimalLimit;
  auto format = exponent ? std::chars_format::scientific : std::chars_format::fixed;
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
  std::string out(buffer, result.ptr);
  if (!exponent && out.find('.') == std::string::npos) out += ".0";
  return out;
}

}  // namespace

std::string describeDouble(double value) {
  return shortestText<double>(value, 9007199254740992.0);  // 2^53
}

std::string describeFloat(float value) {
  return shortestText<float>(value, 16777216.0f);  // 2^24
}

std::string quotedString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\0': out += "\\0"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char escape[16];
          std::snprintf(escape, sizeof escape, "\\u{%X}", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace ios
