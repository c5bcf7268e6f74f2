#include "platform/foundation/NSRegularExpression.h"

#include "platform/foundation/NSException.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/Matches.h"
#include "platform/foundation/internal/Regex.h"

namespace ios {
using matches_internal::byteRange;

NSRegularExpression::NSRegularExpression(std::string_view pattern, std::uint32_t options)
    : pattern_(pattern), compiled_(regex_internal::compile(pattern, options)) {
  if (!compiled_) throw InvalidPattern(pattern_);
}

void NSRegularExpression::enumerateMatches(
    std::string_view text, NSRange range,
    const std::function<void(const NSTextCheckingResult&, bool& stop)>& body) const {
  const auto [from, to] = byteRange(text, range);
  // Offsets are converted incrementally, so enumerating stays linear in the text.
  std::size_t lastByte = 0;
  std::size_t lastUnit = 0;
  const auto unitAt = [&](std::size_t byte) {
    lastUnit += utf16Offset(text.substr(lastByte), byte - lastByte);
    lastByte = byte;
    return lastUnit;
  };
  regex_internal::forEachMatch(*compiled_, text, from, to, [&](std::size_t begin, std::size_t end) {
    const std::size_t location = unitAt(begin);
    const std::size_t upper = unitAt(end);
    bool stop = false;
    body(NSTextCheckingResult{NSRange{location, upper - location}, std::nullopt}, stop);
    return !stop;
  });
}

std::vector<NSTextCheckingResult> NSRegularExpression::matches(std::string_view text, NSRange range) const {
  return matches_internal::all([&](const auto& body) { enumerateMatches(text, range, body); });
}

std::optional<NSTextCheckingResult> NSRegularExpression::firstMatch(std::string_view text, NSRange range) const {
  return matches_internal::first([&](const auto& body) { enumerateMatches(text, range, body); });
}

std::size_t NSRegularExpression::numberOfMatches(std::string_view text, NSRange range) const {
  std::size_t count = 0;
  enumerateMatches(text, range, [&](const NSTextCheckingResult&, bool&) { ++count; });
  return count;
}

NSPredicate::NSPredicate(std::string_view format, std::string_view argument) : pattern_(argument) {
  if (format != "SELF MATCHES %@") ios::fatalError("NSPredicate: only \"SELF MATCHES %@\" is supported");
}

bool NSPredicate::evaluate(std::string_view text) const {
  const auto compiled = regex_internal::compile(pattern_, 0);
  if (!compiled) {
    NSException(NSInvalidArgumentException, "Can't do regex matching, reason: Can't open pattern " + pattern_)
        .raise();
  }
  return regex_internal::matchesWhole(*compiled, text);
}

}  // namespace ios
