#include "platform/foundation/internal/NumberText.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace ios::foundation_internal {
namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Whether a number too large or too small for a double is too small: its exponent is
// negative ('e' for decimal, 'p' for hexadecimal digits). Digits alone overflow.
bool underflows(std::string_view number, bool hexadecimal) {
  const auto mark = number.find_first_of(hexadecimal ? "pP" : "eE");
  return mark != std::string_view::npos && mark + 1 < number.size() && number[mark + 1] == '-';
}

}  // namespace

std::optional<NumberRead> readNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  // from_chars takes a minus sign of its own; after the one read above there is none.
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) return std::nullopt;
  std::size_t digitsAt = at;
  auto format = std::chars_format::general;
  if (text.size() - at > 2 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
      text[at + 2] != '+' && text[at + 2] != '-') {
    digitsAt = at + 2;
    format = std::chars_format::hex;
  }
  const char* first = text.data() + digitsAt;
  const char* last = text.data() + text.size();
  NumberRead read;
  std::from_chars_result result = std::from_chars(first, last, read.value, format);
  if (result.ec == std::errc::invalid_argument && format == std::chars_format::hex) {
    // "0x" with no hexadecimal digit after it: the number is the "0" (as strtod reads it).
    format = std::chars_format::general;
    first = text.data() + at;
    result = std::from_chars(first, last, read.value, format);
  }
  if (result.ec == std::errc::invalid_argument) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    read.outOfRange = true;
    read.value = underflows(std::string_view(first, static_cast<std::size_t>(result.ptr - first)),
                            format == std::chars_format::hex)
                     ? 0.0
                     : std::numeric_limits<double>::infinity();
  }
  if (negative) read.value = -read.value;
  read.end = static_cast<std::size_t>(result.ptr - text.data());
  return read;
}

std::string shortNumberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

}  // namespace ios::foundation_internal
