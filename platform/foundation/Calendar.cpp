#include "platform/foundation/Calendar.h"

#include <array>
#include <cmath>
#include <limits>
#include <memory>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/CalendarEngine.h"
#include "platform/foundation/internal/ICU.h"

namespace ios {
namespace {

using icu_internal::CalendarSettings;
using Component = Calendar::Component;

constexpr double kReferenceToUnix = Date::kTimeIntervalBetween1970AndReferenceDate;

// A date as the whole second ICU works with (milliseconds since 1970) and the fraction
// of that second, which ICU cannot hold.
struct SplitDate {
  UDate millis = 0;
  double fraction = 0;
};

// The second is found after rounding to the microsecond, so that a date a rounding
// error below a whole second (x.9999999) counts as that whole second.
SplitDate split(Date date) {
  KP_PRECONDITION(Calendar::canRepresent(date), "Calendar: the date is out of range");
  const double seconds = date.timeIntervalSinceReferenceDate();
  const std::int64_t micros = std::llround(seconds * 1e6);
  std::int64_t whole = micros / 1'000'000;
  if (micros % 1'000'000 < 0) --whole;
  const double wholeSeconds = static_cast<double>(whole);
  return {(wholeSeconds + kReferenceToUnix) * 1000.0, seconds - wholeSeconds};
}

Date toDate(UDate millis, double fraction = 0) {
  return Date::fromTimeIntervalSinceReferenceDate(millis / 1000.0 - kReferenceToUnix + fraction);
}

// The nanosecond component of a fraction of a second, rounded to the microsecond (a
// date's double holds no finer detail in this era) and kept below one second.
std::int64_t nanosecondsOf(double fraction) {
  std::int64_t micros = std::llround(fraction * 1e6);
  if (micros > 999'999) micros = 999'999;
  if (micros < 0) micros = 0;
  return micros * 1000;
}

bool fitsInt32(std::int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

std::int64_t get(const icu::Calendar& calendar, UCalendarDateFields field) {
  UErrorCode status = U_ZERO_ERROR;
  const int32_t value = calendar.get(field, status);
  return U_SUCCESS(status) ? value : 0;
}

std::optional<UDate> timeOf(icu::Calendar& calendar) {
  UErrorCode status = U_ZERO_ERROR;
  const UDate millis = calendar.getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return millis;
}

void setTime(icu::Calendar& calendar, UDate millis) {
  UErrorCode status = U_ZERO_ERROR;
  calendar.setTime(millis, status);
}

// The ICU field that reads or adds `component`, for the components that have one.
std::optional<UCalendarDateFields> fieldOf(Component component) {
  switch (component) {
    case Component::era: return UCAL_ERA;
    case Component::year: return UCAL_YEAR;
    case Component::month: return UCAL_MONTH;
    case Component::day: return UCAL_DATE;
    case Component::hour: return UCAL_HOUR_OF_DAY;
    case Component::minute: return UCAL_MINUTE;
    case Component::second: return UCAL_SECOND;
    case Component::weekday: return UCAL_DAY_OF_WEEK;
    case Component::weekdayOrdinal: return UCAL_DAY_OF_WEEK_IN_MONTH;
    case Component::weekOfMonth: return UCAL_WEEK_OF_MONTH;
    case Component::weekOfYear: return UCAL_WEEK_OF_YEAR;
    case Component::yearForWeekOfYear: return UCAL_YEAR_WOY;
    case Component::quarter:
    case Component::nanosecond: return std::nullopt;
  }
  return std::nullopt;
}

std::int64_t read(const icu::Calendar& calendar, Component component, double fraction) {
  switch (component) {
    case Component::month: return get(calendar, UCAL_MONTH) + 1;
    case Component::quarter: return get(calendar, UCAL_MONTH) / 3 + 1;
    case Component::nanosecond: return nanosecondsOf(fraction);
    default: return get(calendar, *fieldOf(component));
  }
}

// Moves the calendar to 00:00 of the day `dayOffset` days after the one it shows. The
// day is stepped at noon, which no daylight-saving change skips.
std::optional<UDate> dayStart(icu::Calendar& calendar, int32_t dayOffset) {
  calendar.set(UCAL_HOUR_OF_DAY, 12);
  calendar.set(UCAL_MINUTE, 0);
  calendar.set(UCAL_SECOND, 0);
  calendar.set(UCAL_MILLISECOND, 0);
  if (dayOffset != 0) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.add(UCAL_DATE, dayOffset, status);
    if (U_FAILURE(status)) return std::nullopt;
  }
  calendar.set(UCAL_HOUR_OF_DAY, 0);
  return timeOf(calendar);
}

// Moves the calendar to 00:00 of the first day of the day-based period `component`
// (day, weekday, weekOfYear, weekOfMonth, month, quarter, year) of the day it shows,
// and answers that instant; nothing for other components. The first day is named by its
// fields (a lenient calendar carries a day of the month below 1 into the month before),
// so no day-by-day stepping is needed.
std::optional<UDate> periodStart(icu::Calendar& calendar, Component component) {
  switch (component) {
    case Component::day:
    case Component::weekday: break;
    case Component::weekOfYear:
    case Component::weekOfMonth: {
      UErrorCode status = U_ZERO_ERROR;
      const int32_t first = calendar.getFirstDayOfWeek(status);
      const auto daysBack = static_cast<int32_t>((get(calendar, UCAL_DAY_OF_WEEK) - first + 7) % 7);
      calendar.set(UCAL_DATE, static_cast<int32_t>(get(calendar, UCAL_DATE)) - daysBack);
      break;
    }
    case Component::month: calendar.set(UCAL_DATE, 1); break;
    case Component::quarter: {
      const auto month = static_cast<int32_t>(get(calendar, UCAL_MONTH));
      calendar.set(UCAL_DATE, 1);
      calendar.set(UCAL_MONTH, month / 3 * 3);
      break;
    }
    case Component::year: calendar.set(UCAL_DAY_OF_YEAR, 1); break;
    default: return std::nullopt;
  }
  return dayStart(calendar, 0);
}

// The components in the order additions and differences take them, largest first.
constexpr std::array<Component, 13> kArithmeticOrder = {
    Component::era,         Component::year,           Component::yearForWeekOfYear, Component::quarter,
    Component::month,       Component::weekOfYear,     Component::weekOfMonth,       Component::weekdayOrdinal,
    Component::day,         Component::weekday,        Component::hour,              Component::minute,
    Component::second};

bool isElapsedTime(Component c) {
  return c == Component::hour || c == Component::minute || c == Component::second;
}

// How `component` is added: the ICU field and how many of it make one unit.
std::optional<std::pair<UCalendarDateFields, int32_t>> additionOf(Component component) {
  switch (component) {
    case Component::era: return std::pair{UCAL_ERA, 1};
    case Component::year: return std::pair{UCAL_YEAR, 1};
    case Component::yearForWeekOfYear: return std::pair{UCAL_YEAR_WOY, 1};
    case Component::quarter: return std::pair{UCAL_MONTH, 3};
    case Component::month: return std::pair{UCAL_MONTH, 1};
    case Component::weekOfYear: return std::pair{UCAL_WEEK_OF_YEAR, 1};
    case Component::weekOfMonth: return std::pair{UCAL_WEEK_OF_MONTH, 1};
    case Component::weekdayOrdinal: return std::pair{UCAL_WEEK_OF_MONTH, 1};
    case Component::day: return std::pair{UCAL_DATE, 1};
    case Component::weekday: return std::pair{UCAL_DAY_OF_WEEK, 1};
    case Component::hour: return std::pair{UCAL_HOUR_OF_DAY, 1};
    case Component::minute: return std::pair{UCAL_MINUTE, 1};
    case Component::second: return std::pair{UCAL_SECOND, 1};
    case Component::nanosecond: return std::nullopt;
  }
  return std::nullopt;
}

bool addTo(icu::Calendar& calendar, Component component, std::int64_t value, bool wrapping) {
  auto addition = additionOf(component);
  if (!addition) return false;
  std::int64_t amount = 0;
  if (__builtin_mul_overflow(value, std::int64_t{addition->second}, &amount) || !fitsInt32(amount)) return false;
  UErrorCode status = U_ZERO_ERROR;
  if (wrapping) {
    calendar.roll(addition->first, static_cast<int32_t>(amount), status);
  } else {
    calendar.add(addition->first, static_cast<int32_t>(amount), status);
  }
  return U_SUCCESS(status);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Construction and settings

Calendar::Calendar(std::string identifier, TimeZone timeZone, Locale locale)
    : identifier_(std::move(identifier)), timeZone_(std::move(timeZone)), locale_(std::move(locale)) {}

Calendar Calendar::current() { return Calendar("", TimeZone::current(), Locale::current()); }

bool Calendar::canRepresent(Date date) {
  // ICU works in milliseconds, and microseconds of this size still fit a double exactly.
  const double seconds = date.timeIntervalSinceReferenceDate();
  return std::isfinite(seconds) && std::fabs(seconds) < 9e12;
}

Calendar::Calendar(Identifier identifier) : Calendar("", TimeZone::current(), Locale::current()) {
  switch (identifier) {
    case Identifier::gregorian: identifier_ = "gregorian"; break;
    case Identifier::iso8601: identifier_ = "iso8601"; break;
    case Identifier::buddhist: identifier_ = "buddhist"; break;
    case Identifier::japanese: identifier_ = "japanese"; break;
  }
}

CalendarSettings Calendar::settings() const {
  return CalendarSettings{identifier_, locale_.identifier(), timeZone_.identifier(), firstWeekday_,
                          minimumDaysInFirstWeek_};
}

std::string Calendar::identifier() const {
  if (!identifier_.empty()) return identifier_;
  return icu_internal::makeCalendar(settings())->getType();
}

std::int64_t Calendar::firstWeekday() const {
  if (firstWeekday_ != 0) return firstWeekday_;
  UErrorCode status = U_ZERO_ERROR;
  return icu_internal::makeCalendar(settings())->getFirstDayOfWeek(status);
}

void Calendar::setFirstWeekday(std::int64_t weekday) {
  KP_PRECONDITION(weekday >= 1 && weekday <= 7, "Calendar: the first weekday must be 1...7");
  firstWeekday_ = weekday;
}

std::int64_t Calendar::minimumDaysInFirstWeek() const {
  if (minimumDaysInFirstWeek_ != 0) return minimumDaysInFirstWeek_;
  return icu_internal::makeCalendar(settings())->getMinimalDaysInFirstWeek();
}

void Calendar::setMinimumDaysInFirstWeek(std::int64_t days) {
  KP_PRECONDITION(days >= 1 && days <= 7, "Calendar: the minimum days in the first week must be 1...7");
  minimumDaysInFirstWeek_ = days;
}

std::vector<std::string> Calendar::monthSymbols() const {
  return icu_internal::monthSymbols(settings());
}

// ---------------------------------------------------------------------------------
// Components

std::int64_t Calendar::component(Component component, Date date) const {
  const SplitDate parts = split(date);
  if (component == Component::nanosecond) return nanosecondsOf(parts.fraction);
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, parts.millis);
  return read(*calendar, component, parts.fraction);
}

DateComponents Calendar::dateComponents(const std::set<Component>& components, Date date) const {
  const SplitDate parts = split(date);
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, parts.millis);
  DateComponents result;
  for (Component c : components) result.setValue(read(*calendar, c, parts.fraction), c);
  return result;
}

DateComponents Calendar::dateComponents(const std::set<Component>& components, Date start, Date end) const {
  SplitDate from = split(start);
  SplitDate to = split(end);
  // The sub-second part is settled first, borrowing a second where needed, so that the
  // whole-second fields never count a second that has not fully elapsed.
  double fraction = to.fraction - from.fraction;
  if (end >= start && fraction < 0) {
    to.millis -= 1000;
    fraction += 1;
  } else if (end < start && fraction > 0) {
    to.millis += 1000;
    fraction -= 1;
  }

  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, from.millis);
  DateComponents result;
  for (Component c : kArithmeticOrder) {
    if (!components.count(c)) continue;
    if (isElapsedTime(c)) continue;  // below
    std::int64_t difference = 0;
    if (auto addition = additionOf(c)) {
      UErrorCode status = U_ZERO_ERROR;
      difference = calendar->fieldDifference(to.millis, addition->first, status) / addition->second;
      if (addition->second != 1) {
        // A quarter of three months: step back the months that made no whole quarter.
        calendar->setTime(from.millis, status);
        calendar->add(addition->first, static_cast<int32_t>(difference * addition->second), status);
      }
      if (U_FAILURE(status)) difference = 0;
    }
    result.setValue(difference, c);
  }
  // Hours, minutes and seconds are elapsed time: what remains after the calendar fields.
  auto reached = timeOf(*calendar);
  std::int64_t remaining = static_cast<std::int64_t>((to.millis - reached.value_or(to.millis)) / 1000.0);
  if (components.count(Component::hour)) {
    result.hour = remaining / 3600;
    remaining %= 3600;
  }
  if (components.count(Component::minute)) {
    result.minute = remaining / 60;
    remaining %= 60;
  }
  if (components.count(Component::second)) result.second = remaining;
  if (components.count(Component::nanosecond)) {
    const std::int64_t micros = std::llround(fraction * 1e6);
    result.nanosecond = micros * 1000;
  }
  return result;
}

// ---------------------------------------------------------------------------------
// Dates from components, additions

std::optional<Date> Calendar::dateFrom(const DateComponents& components) const {
  auto calendar = icu_internal::makeCalendar(settings());
  calendar->clear();
  // Week-based fields first, so that a day of the month, when given, wins over them.
  struct Setting {
    std::optional<std::int64_t> value;
    UCalendarDateFields field;
    std::int64_t offset;
  };
  const Setting fields[] = {
      {components.weekday, UCAL_DAY_OF_WEEK, 0},
      {components.weekdayOrdinal, UCAL_DAY_OF_WEEK_IN_MONTH, 0},
      {components.weekOfMonth, UCAL_WEEK_OF_MONTH, 0},
      {components.yearForWeekOfYear, UCAL_YEAR_WOY, 0},
      {components.weekOfYear, UCAL_WEEK_OF_YEAR, 0},
      {components.era, UCAL_ERA, 0},
      {components.year, UCAL_YEAR, 0},
      {components.month, UCAL_MONTH, -1},
      {components.day, UCAL_DATE, 0},
      {components.hour, UCAL_HOUR_OF_DAY, 0},
      {components.minute, UCAL_MINUTE, 0},
      {components.second, UCAL_SECOND, 0},
  };
  for (const Setting& s : fields) {
    if (!s.value) continue;
    if (!fitsInt32(*s.value)) return std::nullopt;
    const std::int64_t value = *s.value + s.offset;
    if (!fitsInt32(value)) return std::nullopt;
    calendar->set(s.field, static_cast<int32_t>(value));
  }
  auto millis = timeOf(*calendar);
  if (!millis) return std::nullopt;
  const double nanoseconds = components.nanosecond ? static_cast<double>(*components.nanosecond) : 0.0;
  return toDate(*millis, nanoseconds / 1e9);
}

std::optional<Date> Calendar::dateByAdding(Component component, std::int64_t value, Date date,
                                           bool wrappingComponents) const {
  DateComponents single;
  single.setValue(value, component);
  return dateByAdding(single, date, wrappingComponents);
}

std::optional<Date> Calendar::dateByAdding(const DateComponents& components, Date date,
                                           bool wrappingComponents) const {
  const SplitDate parts = split(date);
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, parts.millis);
  for (Component c : kArithmeticOrder) {
    if (auto value = components.value(c); value && *value != 0) {
      if (!addTo(*calendar, c, *value, wrappingComponents)) return std::nullopt;
    }
  }
  auto millis = timeOf(*calendar);
  if (!millis) return std::nullopt;
  double fraction = parts.fraction;
  if (components.nanosecond && *components.nanosecond != 0) {
    if (wrappingComponents) {
      const std::int64_t current = nanosecondsOf(parts.fraction);
      // Reduced first, so that no sum can overflow.
      const std::int64_t wrapped =
          ((current + *components.nanosecond % 1'000'000'000) % 1'000'000'000 + 1'000'000'000) % 1'000'000'000;
      fraction = parts.fraction + static_cast<double>(wrapped - current) / 1e9;
    } else {
      fraction += static_cast<double>(*components.nanosecond) / 1e9;
    }
  }
  return toDate(*millis, fraction);
}

std::optional<Date> Calendar::dateBySetting(Component component, std::int64_t value, Date date) const {
  if (this->component(component, date) == value) return date;
  if (component == Component::nanosecond) {
    if (value < 0 || value >= 1'000'000'000) return std::nullopt;
    const SplitDate parts = split(date);
    Date candidate = toDate(parts.millis, static_cast<double>(value) / 1e9);
    return candidate > date ? candidate : candidate + 1.0;
  }
  if (component == Component::year) {
    if (value < this->component(component, date)) return std::nullopt;
    DateComponents start;
    start.era = this->component(Component::era, date);
    start.year = value;
    return dateFrom(start);
  }
  // Step from period to period until the component takes the value. The bound covers the
  // longest search: a 31st day, which can be two months away.
  constexpr int kMaxSteps = 400;
  Date cursor = date;
  for (int step = 0; step < kMaxSteps; ++step) {
    auto period = dateInterval(component == Component::weekday ? Component::day : component, cursor);
    if (!period) return std::nullopt;
    cursor = period->end();
    if (this->component(component, cursor) == value) return cursor;
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------
// Periods

Date Calendar::startOfDay(Date date) const { return *startOf(Component::day, date); }

std::optional<DateInterval> Calendar::dateInterval(Component component, Date date) const {
  const SplitDate parts = split(date);
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, parts.millis);
  const std::int64_t second = get(*calendar, UCAL_SECOND);
  const std::int64_t minute = get(*calendar, UCAL_MINUTE);

  switch (component) {
    case Component::second: return DateInterval{toDate(parts.millis), 1};
    case Component::minute: return DateInterval{toDate(parts.millis - second * 1000.0), 60};
    case Component::hour: {
      // The hour is the wall-clock hour, from the first instant the clock reads HH:00:00
      // to the first one it reads the next hour. Both are found on the time line first,
      // so that a date in an hour that a daylight-saving change repeats keeps its own
      // occurrence; where the offset changes by part of an hour (Lord Howe's half hour),
      // the time line lands on no whole hour and the wall clock is asked instead.
      const std::int64_t hour = get(*calendar, UCAL_HOUR_OF_DAY);
      const double intoHour = static_cast<double>(minute * 60 + second) * 1000.0;
      auto readsWholeHour = [&](UDate instant, std::optional<std::int64_t> wanted) {
        setTime(*calendar, instant);
        return get(*calendar, UCAL_MINUTE) == 0 && get(*calendar, UCAL_SECOND) == 0 &&
               (!wanted || get(*calendar, UCAL_HOUR_OF_DAY) == *wanted);
      };
      auto onTheClock = [&](std::int64_t wantedHour) -> std::optional<UDate> {
        setTime(*calendar, parts.millis);
        calendar->set(UCAL_HOUR_OF_DAY, static_cast<int32_t>(wantedHour));  // 24 is the next day's 0
        calendar->set(UCAL_MINUTE, 0);
        calendar->set(UCAL_SECOND, 0);
        calendar->set(UCAL_MILLISECOND, 0);
        return timeOf(*calendar);
      };
      std::optional<UDate> start = parts.millis - intoHour;
      if (!readsWholeHour(*start, hour)) start = onTheClock(hour);
      std::optional<UDate> next = parts.millis - intoHour + 3600'000.0;
      if (!readsWholeHour(*next, std::nullopt)) next = onTheClock(hour + 1);
      if (!start || !next) return std::nullopt;
      return DateInterval{toDate(*start), (*next - *start) / 1000.0};
    }
    default: break;
  }

  const std::optional<UDate> start = periodStart(*calendar, component);
  if (!start) return std::nullopt;
  // The calendar now shows the period's first day; step to the next period's first day.
  std::optional<UDate> end;
  switch (component) {
    case Component::day:
    case Component::weekday: end = dayStart(*calendar, 1); break;
    case Component::weekOfYear:
    case Component::weekOfMonth: end = dayStart(*calendar, 7); break;
    default: {
      UErrorCode status = U_ZERO_ERROR;
      calendar->set(UCAL_HOUR_OF_DAY, 12);
      if (component == Component::quarter) {
        calendar->add(UCAL_MONTH, 3, status);
      } else {
        calendar->add(component == Component::month ? UCAL_MONTH : UCAL_YEAR, 1, status);
      }
      if (U_FAILURE(status)) return std::nullopt;
      end = dayStart(*calendar, 0);
    }
  }
  if (!end) return std::nullopt;
  return DateInterval{toDate(*start), (*end - *start) / 1000.0};
}

std::optional<Date> Calendar::startOf(Component component, Date date) const {
  switch (component) {
    case Component::second:
    case Component::minute:
    case Component::hour: {
      auto period = dateInterval(component, date);
      if (!period) return std::nullopt;
      return period->start;
    }
    default: break;
  }
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, split(date).millis);
  auto start = periodStart(*calendar, component);
  if (!start) return std::nullopt;
  return toDate(*start);
}

std::optional<Calendar::Range> Calendar::range(Component smaller, Component larger, Date date) const {
  auto calendar = icu_internal::makeCalendar(settings());
  setTime(*calendar, split(date).millis);
  auto actual = [&](UCalendarDateFields field, std::int64_t offset) -> std::optional<Range> {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t low = calendar->getActualMinimum(field, status);
    const int32_t high = calendar->getActualMaximum(field, status);
    if (U_FAILURE(status)) return std::nullopt;
    return Range{low + offset, high + offset + 1};
  };
  const bool inWeek = larger == Component::weekOfYear || larger == Component::weekOfMonth;
  if (smaller == Component::month && larger == Component::year) return actual(UCAL_MONTH, 1);
  if (smaller == Component::day && larger == Component::month) return actual(UCAL_DATE, 0);
  if (smaller == Component::day && larger == Component::year) return actual(UCAL_DAY_OF_YEAR, 0);
  if (smaller == Component::weekOfMonth && larger == Component::month) return actual(UCAL_WEEK_OF_MONTH, 0);
  if (smaller == Component::weekOfYear && larger == Component::year) return actual(UCAL_WEEK_OF_YEAR, 0);
  if (smaller == Component::weekday && inWeek) return Range{1, 8};
  if (smaller == Component::hour && larger == Component::day) return Range{0, 24};
  if (smaller == Component::minute && larger == Component::hour) return Range{0, 60};
  if (smaller == Component::second && larger == Component::minute) return Range{0, 60};
  if (smaller == Component::nanosecond && larger == Component::second) return Range{0, 1'000'000'000};
  return std::nullopt;
}

// ---------------------------------------------------------------------------------
// Tests against the current day and other dates

namespace {

// Whether `date` lies in the day `offset` days after the current one.
bool isInDayFromToday(Date date, int32_t offset, const CalendarSettings& settings) {
  auto engine = icu_internal::makeCalendar(settings);
  setTime(*engine, split(Date::now()).millis);
  auto start = dayStart(*engine, offset);
  auto end = dayStart(*engine, 1);
  if (!start || !end) return false;
  return toDate(*start) <= date && date < toDate(*end);
}

}  // namespace

bool Calendar::isDateInToday(Date date) const {
  return isInDayFromToday(date, 0, settings());
}

bool Calendar::isDateInYesterday(Date date) const {
  return isInDayFromToday(date, -1, settings());
}

bool Calendar::isDateInTomorrow(Date date) const {
  return isInDayFromToday(date, 1, settings());
}

bool Calendar::isDateInWeekend(Date date) const {
  auto calendar = icu_internal::makeCalendar(settings());
  UErrorCode status = U_ZERO_ERROR;
  const bool weekend = calendar->isWeekend(split(date).millis, status);
  return U_SUCCESS(status) && weekend;
}

bool Calendar::isDateInSameDayAs(Date date1, Date date2) const { return isDate(date1, date2, Component::day); }

ComparisonResult Calendar::compare(Date date1, Date date2, Component granularity) const {
  if (granularity == Component::nanosecond) return date1.compare(date2);
  if (auto first = startOf(granularity, date1)) return first->compare(*startOf(granularity, date2));
  // Components without a period of their own compare by their values, then by the date.
  const std::int64_t a = component(granularity, date1);
  const std::int64_t b = component(granularity, date2);
  if (a != b) return a < b ? ComparisonResult::orderedAscending : ComparisonResult::orderedDescending;
  return ComparisonResult::orderedSame;
}

bool Calendar::isDate(Date date1, Date date2, Component granularity) const {
  return compare(date1, date2, granularity) == ComparisonResult::orderedSame;
}

// ---------------------------------------------------------------------------------
// DateComponents

std::optional<std::int64_t> DateComponents::value(Calendar::Component component) const {
  switch (component) {
    case Component::era: return era;
    case Component::year: return year;
    case Component::month: return month;
    case Component::day: return day;
    case Component::hour: return hour;
    case Component::minute: return minute;
    case Component::second: return second;
    case Component::nanosecond: return nanosecond;
    case Component::weekday: return weekday;
    case Component::weekdayOrdinal: return weekdayOrdinal;
    case Component::quarter: return quarter;
    case Component::weekOfMonth: return weekOfMonth;
    case Component::weekOfYear: return weekOfYear;
    case Component::yearForWeekOfYear: return yearForWeekOfYear;
  }
  return std::nullopt;
}

void DateComponents::setValue(std::optional<std::int64_t> value, Calendar::Component component) {
  switch (component) {
    case Component::era: era = value; break;
    case Component::year: year = value; break;
    case Component::month: month = value; break;
    case Component::day: day = value; break;
    case Component::hour: hour = value; break;
    case Component::minute: minute = value; break;
    case Component::second: second = value; break;
    case Component::nanosecond: nanosecond = value; break;
    case Component::weekday: weekday = value; break;
    case Component::weekdayOrdinal: weekdayOrdinal = value; break;
    case Component::quarter: quarter = value; break;
    case Component::weekOfMonth: weekOfMonth = value; break;
    case Component::weekOfYear: weekOfYear = value; break;
    case Component::yearForWeekOfYear: yearForWeekOfYear = value; break;
  }
}

std::string DateComponents::description() const {
  static constexpr std::pair<const char*, Component> kOrder[] = {
      {"era", Component::era},
      {"year", Component::year},
      {"month", Component::month},
      {"day", Component::day},
      {"hour", Component::hour},
      {"minute", Component::minute},
      {"second", Component::second},
      {"nanosecond", Component::nanosecond},
      {"weekday", Component::weekday},
      {"weekdayOrdinal", Component::weekdayOrdinal},
      {"quarter", Component::quarter},
      {"weekOfMonth", Component::weekOfMonth},
      {"weekOfYear", Component::weekOfYear},
      {"yearForWeekOfYear", Component::yearForWeekOfYear},
  };
  std::string out;
  for (const auto& [name, c] : kOrder) {
    if (auto v = value(c)) {
      if (!out.empty()) out += ' ';
      out += name;
      out += ": ";
      out += std::to_string(*v);
    }
  }
  return out;
}

}  // namespace ios
