#include "platform/foundation/internal/DateFormatEngine.h"

#include <mutex>

namespace ios::icu_internal {

DateFormatEngine::DateFormatEngine(const std::string& pattern, const std::string& locale,
                                   const std::string& timeZone)
    : pattern_(pattern), locale_(locale), timeZone_(timeZone) {
  UErrorCode status = U_ZERO_ERROR;
  format_ = std::make_unique<icu::SimpleDateFormat>(toUnicode(pattern), icu::Locale(locale.c_str()), status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    // A pattern ICU rejects formats as the empty pattern does: nothing.
    format_ = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), icu::Locale(locale.c_str()), status);
  }
  format_->adoptTimeZone(icu::TimeZone::createTimeZone(toUnicode(timeZone)));
  format_->setLenient(false);
}

std::string DateFormatEngine::format(double unixMilliseconds) const {
  std::lock_guard lock(formatterMutex());
  icu::UnicodeString out;
  format_->format(unixMilliseconds, out);
  return toUTF8(out);
}

std::optional<double> DateFormatEngine::parse(std::string_view text) const {
  const icu::UnicodeString input = toUnicode(text);
  std::lock_guard lock(formatterMutex());
  icu::ParsePosition position(0);
  const UDate result = format_->parse(input, position);
  if (position.getErrorIndex() >= 0 || position.getIndex() != input.length()) return std::nullopt;
  return result;
}

}  // namespace ios::icu_internal
