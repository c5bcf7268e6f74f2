#include "platform/foundation/ISO8601DateFormatter.h"

#include "platform/foundation/internal/DateFormatEngine.h"

namespace ios {
namespace {

// ISO 8601 digits and the Gregorian calendar, whatever the user's locale.
constexpr std::string_view kPOSIX = "en_US_POSIX";

}  // namespace

std::string ISO8601DateFormatter::pattern() const {
  auto has = [this](Options o) { return (options_ & o) != 0; };
  std::string date;
  const char* dateSeparator = has(withDashSeparatorInDate) ? "-" : "";
  for (auto [option, field] : {std::pair{withYear, "yyyy"}, std::pair{withMonth, "MM"}, std::pair{withDay, "dd"}}) {
    if (!has(option)) continue;
    if (!date.empty()) date += dateSeparator;
    date += field;
  }
  std::string time;
  if (has(withTime)) {
    const char* colon = has(withColonSeparatorInTime) ? ":" : "";
    time = std::string("HH") + colon + "mm" + colon + "ss";
    if (has(withFractionalSeconds)) time += ".SSS";
  }
  if (has(withTimeZone)) time += has(withColonSeparatorInTimeZone) ? "XXX" : "XX";
  if (!date.empty() && !time.empty()) return date + (has(withSpaceBetweenDateAndTime) ? " " : "'T'") + time;
  return date + time;
}

std::string ISO8601DateFormatter::string(Date date) const {
  return icu_internal::formatDate({pattern(), kPOSIX, timeZone_.identifier()}, icu_internal::wholeMilliseconds(date.timeIntervalSince1970()));
}

std::optional<Date> ISO8601DateFormatter::date(std::string_view text) const {
  auto millis = icu_internal::parseDate({pattern(), kPOSIX, timeZone_.identifier()}, text);
  if (!millis) return std::nullopt;
  return Date::fromTimeIntervalSince1970(*millis / 1000.0);
}

}  // namespace ios
