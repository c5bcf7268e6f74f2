#include "platform/foundation/Scanner.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/internal/Unicode.h"

namespace ios {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The end of the run of ASCII digits at `p`.
std::size_t digitsEnd(std::string_view text, std::size_t p) {
  while (p < text.size() && isDigit(text[p])) ++p;
  return p;
}

}  // namespace

std::size_t Scanner::afterSkipped() const {
  static const CharacterSet skipped = CharacterSet::whitespacesAndNewlines();
  std::size_t p = position_;
  while (p < text_.size()) {
    std::size_t next = p;
    if (!skipped.contains(unicode_internal::decodeScalar(text_, next))) break;
    p = next;
  }
  return p;
}

bool Scanner::isAtEnd() const { return afterSkipped() == text_.size(); }

std::optional<std::int64_t> Scanner::scanInt() {
  const std::size_t start = afterSkipped();
  std::size_t p = start;
  if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
  const std::size_t end = digitsEnd(text_, p);
  if (end == p) return std::nullopt;
  std::int64_t value = 0;
  const char* first = text_.data() + start + (text_[start] == '+' ? 1 : 0);
  if (std::from_chars(first, text_.data() + end, value).ec == std::errc::result_out_of_range) {
    // The platform clamps a value that does not fit and still scans it.
    value = text_[start] == '-' ? INT64_MIN : INT64_MAX;
  }
  position_ = end;
  return value;
}

std::optional<double> Scanner::scanDouble() {
  const std::size_t start = afterSkipped();
  std::size_t p = start;
  if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
  const std::size_t integerEnd = digitsEnd(text_, p);
  std::size_t end = integerEnd;
  bool digits = integerEnd > p;
  if (end < text_.size() && text_[end] == '.') {
    const std::size_t fractionEnd = digitsEnd(text_, end + 1);
    digits = digits || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!digits) return std::nullopt;
  if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
    std::size_t q = end + 1;
    if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) ++q;
    const std::size_t exponentEnd = digitsEnd(text_, q);
    if (exponentEnd > q) end = exponentEnd;
  }
  double value = 0;
  const char* first = text_.data() + start + (text_[start] == '+' ? 1 : 0);
  const auto result = std::from_chars(first, text_.data() + end, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: infinity or zero, with the sign.
    const std::size_t e = text_.find_first_of("eE", start);
    value = (e < end && text_[e + 1] == '-') ? 0.0 : HUGE_VAL;
    if (text_[start] == '-') value = -value;
  }
  position_ = end;
  return value;
}

}  // namespace ios
