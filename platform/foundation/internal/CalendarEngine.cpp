#include "platform/foundation/internal/CalendarEngine.h"

#include <mutex>
#include <utility>
#include <vector>

#include "platform/foundation/Precondition.h"

namespace ios::icu_internal {
namespace {

// Few distinct settings are alive at once (the current one and a changed first
// weekday); a small list searched from the most recent one is enough.
constexpr std::size_t kCapacity = 16;

struct Cache {
  std::mutex mutex;
  std::vector<std::pair<CalendarSettings, std::shared_ptr<const icu::Calendar>>> entries;
};

Cache& cache() {
  static Cache c;
  return c;
}

std::shared_ptr<const icu::Calendar> buildPrototype(const CalendarSettings& settings) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
      icu::TimeZone::createTimeZone(toUnicode(settings.timeZone)), calendarLocale(settings), status));
  KP_PRECONDITION(U_SUCCESS(status) && calendar, "Calendar: ICU could not build a calendar");
  calendar->setLenient(true);
  calendar->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
  calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
  if (settings.firstWeekday != 0) {
    calendar->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(settings.firstWeekday));
  }
  if (settings.minimumDaysInFirstWeek != 0) {
    calendar->setMinimalDaysInFirstWeek(static_cast<uint8_t>(settings.minimumDaysInFirstWeek));
  }
  return std::shared_ptr<const icu::Calendar>(calendar.release());
}

}  // namespace

icu::Locale calendarLocale(const CalendarSettings& settings) {
  if (settings.identifier.empty()) return icu::Locale(settings.locale.c_str());
  std::string name = settings.locale;
  name += name.find('@') == std::string::npos ? "@calendar=" : ";calendar=";
  name += settings.identifier;
  return icu::Locale(name.c_str());
}

std::unique_ptr<icu::Calendar> makeCalendar(const CalendarSettings& settings) {
  auto& c = cache();
  std::shared_ptr<const icu::Calendar> prototype;
  {
    std::lock_guard lock(c.mutex);
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
      if (c.entries[i].first == settings) {
        prototype = c.entries[i].second;
        if (i != 0) std::swap(c.entries[i], c.entries[0]);
        break;
      }
    }
  }
  if (!prototype) {
    prototype = buildPrototype(settings);
    std::lock_guard lock(c.mutex);
    if (c.entries.size() >= kCapacity) c.entries.pop_back();
    c.entries.insert(c.entries.begin(), {settings, prototype});
  }
  // clone() is a const member and safe to call on a shared prototype.
  return std::unique_ptr<icu::Calendar>(prototype->clone());
}

std::vector<std::string> monthSymbols(const CalendarSettings& settings) {
  // Loading the symbols reads locale data (tens of microseconds); names never change.
  static std::mutex mutex;
  static std::vector<std::pair<std::string, std::vector<std::string>>> loaded;
  // The names are the calendar system's own (thirteen months for the Coptic and
  // Ethiopic calendars); ICU's symbols are Gregorian unless the type is named.
  const icu::Locale locale = calendarLocale(settings);
  const std::string type = makeCalendar(settings)->getType();
  const std::string key = std::string(locale.getName()) + '|' + type;
  {
    std::lock_guard lock(mutex);
    for (const auto& [name, months] : loaded) {
      if (name == key) return months;
    }
  }
  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(locale, type.c_str(), status);
  std::vector<std::string> names;
  if (U_FAILURE(status)) return names;
  int32_t count = 0;
  const icu::UnicodeString* months = symbols.getMonths(count);
  for (int32_t i = 0; i < count; ++i) names.push_back(toUTF8(months[i]));
  std::lock_guard lock(mutex);
  if (loaded.size() >= kCapacity) loaded.erase(loaded.begin());
  loaded.emplace_back(key, names);
  return names;
}

}  // namespace ios::icu_internal
