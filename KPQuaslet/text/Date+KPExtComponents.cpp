#include "KPQuaslet/text/Date+KPExtComponents.h"

#include <cmath>
#include <limits>

#include "platform/foundation/Random.h"

namespace kp {
namespace {

using Component = ios::Calendar::Component;

std::int64_t componentOf(ios::Date date, Component component) {
  return ios::Calendar::current().component(component, date);
}

// The fraction of the date's second, so that `date - fraction` is the whole second the
// calendar sees (the date rounded to the microsecond, so that x.9999999 is x + 1).
double fractionOfSecond(ios::Date date) {
  const double seconds = date.timeIntervalSinceReferenceDate();
  return seconds - std::floor(std::round(seconds * 1e6) / 1e6);
}

// Adds `value - current` units of `component` when `value` lies in the component's range
// within `enclosing` for this date; leaves the date otherwise.
void setByAddition(ios::Date& date, Component component, Component enclosing, std::int64_t value) {
  const ios::Calendar calendar = ios::Calendar::current();
  auto range = calendar.range(component, enclosing, date);
  if (!range || !range->contains(value)) return;
  const std::int64_t current = calendar.component(component, date);
  if (auto moved = calendar.dateByAdding(component, value - current, date)) date = *moved;
}

// Rounds the minute to a multiple of `step`: down when minute mod step is below
// `roundDownBelow`, else up. Worked on the time line: the seconds and the minutes past
// the step are taken off the instant.
ios::Date roundToMinutes(ios::Date date, std::int64_t step, std::int64_t roundDownBelow) {
  const ios::DateComponents parts =
      ios::Calendar::current().dateComponents({Component::minute, Component::second}, date);
  const std::int64_t past = *parts.minute % step;
  const double wholeSecond = date.timeIntervalSinceReferenceDate() - fractionOfSecond(date);
  const double down = wholeSecond - static_cast<double>(past * 60 + *parts.second);
  const double rounded = past < roundDownBelow ? down : down + static_cast<double>(step * 60);
  return ios::Date::fromTimeIntervalSinceReferenceDate(rounded);
}

}  // namespace

// --- Reading ------------------------------------------------------------------------

ios::Calendar calendar(ios::Date /*date*/) { return ios::Calendar::current(); }
ios::TimeZone timeZone(ios::Date /*date*/) { return ios::Calendar::current().timeZone(); }
double unixTimestamp(ios::Date date) { return date.timeIntervalSince1970(); }

std::int64_t era(ios::Date date) { return componentOf(date, Component::era); }
std::int64_t year(ios::Date date) { return componentOf(date, Component::year); }
std::int64_t month(ios::Date date) { return componentOf(date, Component::month); }
std::int64_t day(ios::Date date) { return componentOf(date, Component::day); }
std::int64_t hour(ios::Date date) { return componentOf(date, Component::hour); }
std::int64_t minute(ios::Date date) { return componentOf(date, Component::minute); }
std::int64_t second(ios::Date date) { return componentOf(date, Component::second); }
std::int64_t nanosecond(ios::Date date) { return componentOf(date, Component::nanosecond); }
std::int64_t millisecond(ios::Date date) { return nanosecond(date) / 1'000'000; }
std::int64_t weekday(ios::Date date) { return componentOf(date, Component::weekday); }
std::int64_t weekOfMonth(ios::Date date) { return componentOf(date, Component::weekOfMonth); }
std::int64_t weekOfYear(ios::Date date) { return componentOf(date, Component::weekOfYear); }

std::int64_t quarter(ios::Date date) {
  const ios::Calendar calendar = ios::Calendar::current();
  const double months = static_cast<double>(calendar.monthSymbols().size());
  KP_PRECONDITION(months >= 1, "quarter: the calendar has no months");
  const double m = static_cast<double>(calendar.component(Component::month, date));
  return static_cast<std::int64_t>(std::ceil(m / (months * 0.25)));
}

// --- Setting ------------------------------------------------------------------------

void setYear(ios::Date& date, std::int64_t year) {
  if (year <= 0) return;
  const ios::Calendar calendar = ios::Calendar::current();
  const std::int64_t current = calendar.component(Component::year, date);
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(year, current, &difference)) return;  // no such year
  if (auto moved = calendar.dateByAdding(Component::year, difference, date)) date = *moved;
}

void setMonth(ios::Date& date, std::int64_t month) {
  setByAddition(date, Component::month, Component::year, month);
}
void setDay(ios::Date& date, std::int64_t day) { setByAddition(date, Component::day, Component::month, day); }
void setMinute(ios::Date& date, std::int64_t minute) {
  setByAddition(date, Component::minute, Component::hour, minute);
}
void setSecond(ios::Date& date, std::int64_t second) {
  setByAddition(date, Component::second, Component::minute, second);
}
void setNanosecond(ios::Date& date, std::int64_t nanosecond) {
  setByAddition(date, Component::nanosecond, Component::second, nanosecond);
}

void setHour(ios::Date& date, std::int64_t hour) {
  // Adding hours adds elapsed time, which on a daylight-saving day lands an hour off the
  // requested clock time; the hour is set on the wall clock instead.
  const ios::Calendar calendar = ios::Calendar::current();
  auto range = calendar.range(Component::hour, Component::day, date);
  if (!range || !range->contains(hour)) return;
  ios::DateComponents parts = calendar.dateComponents(
      {Component::era, Component::year, Component::month, Component::day, Component::hour, Component::minute,
       Component::second},
      date);
  if (parts.hour == hour) return;
  parts.hour = hour;
  if (auto moved = calendar.dateFrom(parts)) date = *moved + fractionOfSecond(date);
}

void setMillisecond(ios::Date& date, std::int64_t millisecond) {
  // Only the fraction of the second changes: searching for the next date with that
  // nanosecond would move the second forward whenever the new value is smaller.
  if (millisecond < 0 || millisecond > 999) return;
  const double wholeSecond = date.timeIntervalSinceReferenceDate() - fractionOfSecond(date);
  date = ios::Date::fromTimeIntervalSinceReferenceDate(wholeSecond + static_cast<double>(millisecond) / 1000.0);
}

// --- Tests against now and the current periods ----------------------------------------

bool isInFuture(ios::Date date) { return date > ios::Date::now(); }
bool isInPast(ios::Date date) { return date < ios::Date::now(); }
bool isInToday(ios::Date date) { return ios::Calendar::current().isDateInToday(date); }
bool isInYesterday(ios::Date date) { return ios::Calendar::current().isDateInYesterday(date); }
bool isInTomorrow(ios::Date date) { return ios::Calendar::current().isDateInTomorrow(date); }
bool isInWeekend(ios::Date date) { return ios::Calendar::current().isDateInWeekend(date); }
bool isInWeekday(ios::Date date) { return !isInWeekend(date); }
bool isWorkday(ios::Date date) { return isInWeekday(date); }

bool isInCurrentWeek(ios::Date date) {
  return ios::Calendar::current().isDate(date, ios::Date::now(), Component::weekOfYear);
}
bool isInCurrentMonth(ios::Date date) {
  return ios::Calendar::current().isDate(date, ios::Date::now(), Component::month);
}
bool isInCurrentYear(ios::Date date) {
  return ios::Calendar::current().isDate(date, ios::Date::now(), Component::year);
}

// --- Rounding -----------------------------------------------------------------------

ios::Date nearestFiveMinutes(ios::Date date) { return roundToMinutes(date, 5, 3); }
ios::Date nearestTenMinutes(ios::Date date) { return roundToMinutes(date, 10, 6); }
ios::Date nearestQuarterHour(ios::Date date) { return roundToMinutes(date, 15, 8); }
ios::Date nearestHalfHour(ios::Date date) { return roundToMinutes(date, 30, 15); }

ios::Date nearestHour(ios::Date date) {
  const ios::Calendar calendar = ios::Calendar::current();
  auto hour = calendar.dateInterval(Component::hour, date);
  KP_PRECONDITION(hour.has_value(), "nearestHour: the calendar cannot find the date's hour");
  if (calendar.component(Component::minute, date) < 30) return hour->start;
  // The next hour's start: one hour of elapsed time after this hour's start reads a
  // half hour on the clock where the offset changes by half an hour.
  return hour->end();
}

ios::Date yesterday(ios::Date date) { return date - 86400; }
ios::Date tomorrow(ios::Date date) { return date + 86400; }

// --- Ordering and arithmetic ----------------------------------------------------------

bool isGreaterThanDate(ios::Date date, ios::Date dateToCompare) {
  return date.compare(dateToCompare) == ios::ComparisonResult::orderedDescending;
}
bool isLessThanDate(ios::Date date, ios::Date dateToCompare) {
  return date.compare(dateToCompare) == ios::ComparisonResult::orderedAscending;
}
bool equalToDate(ios::Date date, ios::Date dateToCompare) {
  return date.compare(dateToCompare) == ios::ComparisonResult::orderedSame;
}

bool isBetween(ios::Date date, ios::Date date1, ios::Date date2, bool includeBounds) {
  const int product = static_cast<int>(date1.compare(date)) * static_cast<int>(date.compare(date2));
  return includeBounds ? product >= 0 : product > 0;
}

bool isWithin(ios::Date date, std::uint64_t value, Component component, ios::Date other) {
  const ios::DateComponents difference = ios::Calendar::current().dateComponents({component}, date, other);
  const std::int64_t d = difference.value(component).value_or(0);
  const std::uint64_t magnitude = d < 0 ? 0 - static_cast<std::uint64_t>(d) : static_cast<std::uint64_t>(d);
  return magnitude <= value;
}

ios::Date adding(ios::Date date, Component component, std::int64_t value) {
  auto result = ios::Calendar::current().dateByAdding(component, value, date);
  KP_PRECONDITION(result.has_value(), "adding: the amount or the resulting date is out of the calendar's range");
  return *result;
}

void add(ios::Date& date, Component component, std::int64_t value) { date = adding(date, component, value); }

// --- Random dates ---------------------------------------------------------------------

ios::Date randomDate(ios::Date from, ios::Date upTo) {
  if (from == upTo) return from;
  const double seconds = std::trunc(upTo.timeIntervalSince(from));
  // 2^63: the whole seconds must fit a signed 64-bit integer.
  KP_PRECONDITION(std::isfinite(seconds) && std::fabs(seconds) < 9223372036854775808.0,
                  "randomDate: the bounds must be finite and fit 64-bit seconds apart");
  const ios::Date earlier = from < upTo ? from : upTo;
  const std::int64_t span = static_cast<std::int64_t>(std::fabs(seconds));
  // Bounds less than a second apart leave a single whole-second offset: 0.
  if (span == 0) return earlier;
  std::int64_t r = 0;
  ios::arc4random_buf(&r, sizeof r);
  const std::int64_t remainder = r % span;
  const std::int64_t k = remainder < 0 ? -remainder : remainder;
  return earlier + static_cast<double>(k);
}

namespace date_internal {

ios::Date dateInRange(DateRange range, std::uint64_t bits) {
  const double lower = range.lowerBound.timeIntervalSinceReferenceDate();
  const double upper = range.upperBound.timeIntervalSinceReferenceDate();
  const double unit = static_cast<double>(bits) / 9007199254740992.0;  // 2^53
  double value = lower + unit * (upper - lower);
  // Rounding can reach the excluded upper bound; the largest double below it stands in.
  if (value >= upper) value = std::nextafter(upper, lower);
  if (value < lower) value = lower;
  return ios::Date::fromTimeIntervalSinceReferenceDate(value);
}

}  // namespace date_internal

namespace {

std::uint64_t systemRandomWord() {
  const std::uint64_t high = ios::arc4random();
  return (high << 32) | ios::arc4random();
}

}  // namespace

ios::Date randomDate(DateRange range) {
  KP_PRECONDITION(range.lowerBound < range.upperBound, "randomDate: the range is empty");
  return date_internal::dateInRange(range, systemRandomWord() >> 11);
}

ios::Date randomDate(ClosedDateRange range) {
  KP_PRECONDITION(range.lowerBound <= range.upperBound, "randomDate: the range's bounds are reversed");
  const double lower = range.lowerBound.timeIntervalSinceReferenceDate();
  const double upper = range.upperBound.timeIntervalSinceReferenceDate();
  // 53 random bits over 2^53 - 1 reach both ends of [0, 1].
  const double unit = static_cast<double>(systemRandomWord() >> 11) / 9007199254740991.0;
  double value = lower + unit * (upper - lower);
  if (value > upper) value = upper;
  return ios::Date::fromTimeIntervalSinceReferenceDate(value);
}

}  // namespace kp
