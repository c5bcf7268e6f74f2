// File: platform/foundation/internal/NumberText.h
//
// Numbers read from and written as text the same way in every locale: the decimal point
// is always '.', whatever the process's C locale says (strtod and printf follow it).
//
//   auto number = foundation_internal::readNumber(" 2.5kg");  // value 2.5, end 4
//   foundation_internal::shortNumberText(0.5);                 // "0.5"
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ios::foundation_internal {

struct NumberRead {
  double value = 0;
  // Where the number's text ends.
  std::size_t end = 0;
  // The number lies beyond a double's range: `value` is then infinity (too large) or
  // zero (too small), with the number's sign.
  bool outOfRange = false;
};

// The number at the start of `text`, read as strtod reads it in the C locale: leading
// white space, an optional sign, then decimal digits with an optional fraction and
// exponent, "0x" hexadecimal digits with an optional binary exponent, "inf", "infinity"
// or "nan" (case ignored). Nothing when no number starts there.
[[nodiscard]] std::optional<NumberRead> readNumber(std::string_view text);

// The text printf's "%g" writes for `value` in the C locale: six significant digits,
// no trailing zeros, an exponent when the number is very large or small ("1e+20").
[[nodiscard]] std::string shortNumberText(double value);

}  // namespace ios::foundation_internal
