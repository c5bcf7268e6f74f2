#include "platform/foundation/Precondition.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ios {

[[noreturn]] void fatalError(std::string_view message) {
  std::string text = "Fatal error: ";
  text.append(message);
  text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::abort();
}

[[noreturn]] void preconditionFailure(std::string_view message, const char* file, int line) {
  std::string text = "Precondition failed: ";
  text.append(message);
  text += " (";
  text += file;
  text += ':';
  text += std::to_string(line);
  text += ")\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  std::abort();
}

std::int64_t truncatingToInt64(double value) {
  if (!std::isfinite(value)) fatalError("Double value cannot be converted to Int because it is either infinite or NaN");
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (value >= 9223372036854775808.0) {
    fatalError("Double value cannot be converted to Int because the result would be greater than Int.max");
  }
  if (value <= -9223372036854777856.0) {
    fatalError("Double value cannot be converted to Int because the result would be less than Int.min");
  }
  return static_cast<std::int64_t>(value);
}

}  // namespace ios
