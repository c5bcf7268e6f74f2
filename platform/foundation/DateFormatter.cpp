#include "platform/foundation/DateFormatter.h"

#include <cmath>

#include "platform/foundation/internal/DateFormatEngine.h"

namespace ios {

DateFormatter::DateFormatter() = default;
DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(const DateFormatter& other)
    : dateFormat_(other.dateFormat_), locale_(other.locale_), timeZone_(other.timeZone_) {}

DateFormatter& DateFormatter::operator=(const DateFormatter& other) {
  if (this != &other) {
    dateFormat_ = other.dateFormat_;
    locale_ = other.locale_;
    timeZone_ = other.timeZone_;
  }
  return *this;
}

void DateFormatter::setDateFormat(std::string pattern) { dateFormat_ = std::move(pattern); }
void DateFormatter::setLocale(std::optional<Locale> locale) { locale_ = std::move(locale); }
void DateFormatter::setTimeZone(std::optional<TimeZone> timeZone) { timeZone_ = std::move(timeZone); }

std::shared_ptr<const icu_internal::DateFormatEngine> DateFormatter::engine() const {
  // The current locale and zone are read on every use; the ICU formatter is rebuilt
  // only when one of its settings changed since it was built.
  const std::string locale = (locale_ ? *locale_ : Locale::current()).identifier();
  const std::string zone = (timeZone_ ? *timeZone_ : TimeZone::current()).identifier();
  std::lock_guard lock(engineMutex_);
  if (!engine_ || !engine_->matches(dateFormat_, locale, zone)) {
    engine_ = std::make_shared<const icu_internal::DateFormatEngine>(dateFormat_, locale, zone);
  }
  return engine_;
}

std::string DateFormatter::string(Date date) const {
  return engine()->format(date.timeIntervalSince1970() * 1000.0);
}

std::optional<Date> DateFormatter::date(std::string_view text) const {
  auto milliseconds = engine()->parse(text);
  if (!milliseconds) return std::nullopt;
  return Date::fromTimeIntervalSince1970(*milliseconds / 1000.0);
}

}  // namespace ios
