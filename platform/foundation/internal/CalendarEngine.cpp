#include "platform/foundation/internal/CalendarEngine.h"

#include <algorithm>
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

namespace {

// The process-wide prototype for these settings, built on first use.
std::shared_ptr<const icu::Calendar> prototypeFor(const CalendarSettings& settings) {
  auto& c = cache();
  {
    std::lock_guard lock(c.mutex);
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
      if (c.entries[i].first == settings) {
        if (i != 0) std::swap(c.entries[i], c.entries[0]);
        return c.entries[0].second;
      }
    }
  }
  std::shared_ptr<const icu::Calendar> prototype = buildPrototype(settings);
  std::lock_guard lock(c.mutex);
  if (c.entries.size() >= kCapacity) c.entries.pop_back();
  c.entries.insert(c.entries.begin(), {settings, prototype});
  return prototype;
}

}  // namespace

struct CalendarLease::Entry {
  CalendarSettings settings;
  std::unique_ptr<icu::Calendar> calendar;
  bool lent = false;
};

namespace {

// The calling thread's calendars, most recently borrowed first. Entries are never
// moved in memory, so a lease keeps pointing at its own while others come and go.
std::vector<std::unique_ptr<CalendarLease::Entry>>& threadPool() {
  thread_local std::vector<std::unique_ptr<CalendarLease::Entry>> pool;
  return pool;
}

}  // namespace

CalendarLease::~CalendarLease() { entry_->lent = false; }

icu::Calendar& CalendarLease::operator*() const { return *entry_->calendar; }

CalendarLease makeCalendar(const CalendarSettings& settings) {
  auto& pool = threadPool();
  for (std::size_t i = 0; i < pool.size(); ++i) {
    if (!pool[i]->lent && pool[i]->settings == settings) {
      std::rotate(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(i),
                  pool.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      pool.front()->lent = true;
      return CalendarLease(pool.front().get());
    }
  }
  // clone() is a const member and safe to call on a shared prototype.
  auto entry = std::make_unique<CalendarLease::Entry>();
  entry->settings = settings;
  entry->calendar.reset(prototypeFor(settings)->clone());
  KP_PRECONDITION(entry->calendar != nullptr, "Calendar: ICU could not copy a calendar");
  entry->lent = true;
  pool.insert(pool.begin(), std::move(entry));
  // Drop the least recently borrowed calendar that is not lent out.
  if (pool.size() > kCapacity) {
    for (std::size_t i = pool.size(); i-- > 0;) {
      if (!pool[i]->lent) {
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
  }
  return CalendarLease(pool.front().get());
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
