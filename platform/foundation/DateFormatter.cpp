#include "platform/foundation/DateFormatter.h"

#include "platform/foundation/Calendar.h"

#include "platform/foundation/internal/DateFormatEngine.h"

namespace ios {

void DateFormatter::setDateFormat(std::string pattern) { dateFormat_ = std::move(pattern); }
void DateFormatter::setLocale(std::optional<Locale> locale) { locale_ = std::move(locale); }
void DateFormatter::setTimeZone(std::optional<TimeZone> timeZone) { timeZone_ = std::move(timeZone); }

// The current locale and zone are read on every use, so a change shows at once.
std::string DateFormatter::string(Date date) const {
  if (!Calendar::canRepresent(date)) return {};
  const Locale locale = locale_ ? *locale_ : Locale::current();
  const TimeZone zone = timeZone_ ? *timeZone_ : TimeZone::current();
  return icu_internal::formatDate({dateFormat_, locale.identifier(), zone.identifier()},
                                  shownMillisecondsSince1970(date));
}

double shownMillisecondsSince1970(Date date) { return icu_internal::wholeMilliseconds(date.timeIntervalSince1970()); }

std::optional<Date> DateFormatter::date(std::string_view text) const {
  const Locale locale = locale_ ? *locale_ : Locale::current();
  const TimeZone zone = timeZone_ ? *timeZone_ : TimeZone::current();
  auto milliseconds = icu_internal::parseDate({dateFormat_, locale.identifier(), zone.identifier()}, text);
  if (!milliseconds) return std::nullopt;
  return Date::fromTimeIntervalSince1970(*milliseconds / 1000.0);
}

}  // namespace ios
