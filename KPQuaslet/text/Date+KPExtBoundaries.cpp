#include "KPQuaslet/text/Date+KPExtBoundaries.h"

#include "platform/foundation/Precondition.h"

namespace kp {
namespace {

using Component = ios::Calendar::Component;

bool hasPeriod(Component component) {
  switch (component) {
    case Component::second:
    case Component::minute:
    case Component::hour:
    case Component::day:
    case Component::weekOfMonth:
    case Component::weekOfYear:
    case Component::month:
    case Component::year: return true;
    default: return false;
  }
}

ios::DateInterval periodOf(const ios::Calendar& calendar, Component component, ios::Date date) {
  auto period = calendar.dateInterval(component, date);
  KP_PRECONDITION(period.has_value(), "the calendar cannot find the period containing the date");
  return *period;
}

ios::Date startOfPeriod(const ios::Calendar& calendar, Component component, ios::Date date) {
  auto start = calendar.startOf(component, date);
  KP_PRECONDITION(start.has_value(), "the calendar cannot find the period containing the date");
  return *start;
}

// The start of the period's last day: one `period` and minus one day added to its
// start in one calendar addition.
ios::Date startOfLastDay(Component period, ios::Date date) {
  const ios::Calendar calendar = ios::Calendar::current();
  ios::DateComponents offset;
  offset.setValue(1, period);
  offset.day = -1;
  auto result = calendar.dateByAdding(offset, startOfPeriod(calendar, period, date));
  KP_PRECONDITION(result.has_value(), "the calendar cannot represent the period's end");
  return *result;
}

// The current calendar with weeks that start on `weekday`.
ios::Calendar weeksStartingOn(std::int64_t weekday) {
  ios::Calendar calendar = ios::Calendar::current();
  calendar.setFirstWeekday(weekday);
  return calendar;
}

}  // namespace

ios::Date startOfYear(ios::Date date) {
  return startOfPeriod(ios::Calendar::current(), Component::year, date);
}

ios::Date endOfYear(ios::Date date) { return startOfLastDay(Component::year, date); }

ios::Date startOfMonth(ios::Date date) {
  return startOfPeriod(ios::Calendar::current(), Component::month, date);
}

ios::Date endOfMonth(ios::Date date) { return startOfLastDay(Component::month, date); }

ios::Date startOfWeekDay(ios::Date date) {
  const ios::Calendar calendar = ios::Calendar::current();
  const ios::Date dayStart = calendar.startOfDay(date);
  ios::DateComponents parts =
      calendar.dateComponents({Component::year, Component::month, Component::weekday}, dayStart);
  auto result = calendar.dateFrom(parts);
  KP_PRECONDITION(result.has_value(), "the calendar cannot represent the weekday's date");
  return *result;
}

ios::Date startOfWeek(ios::Date date, std::optional<std::int64_t> weekday) {
  // The week is looked up with the requested first weekday. Reading the week number with
  // the user's first weekday and rebuilding it with another one can land a day after the
  // date (a Sunday in a Sunday-first week is in the next Monday-first week number).
  return startOfPeriod(weeksStartingOn(weekday.value_or(1)), Component::weekOfYear, date);
}

ios::Date endOfWeek(ios::Date date, std::int64_t weekday) {
  return periodOf(weeksStartingOn(weekday), Component::weekOfYear, date).end() - 1;
}

ios::Date firstDateInThisWeek(ios::Date date) {
  return startOfPeriod(ios::Calendar::current(), Component::weekOfYear, date);
}

ios::Date zeroOfDay(ios::Date date) { return ios::Calendar::current().startOfDay(date); }

ios::Date endOfDay(ios::Date date) {
  // The next day's start minus one second: adding 23:59:59 of elapsed time to midnight
  // misses the end of a day that a daylight-saving change lengthens or shortens.
  return periodOf(ios::Calendar::current(), Component::day, date).end() - 1;
}

std::optional<ios::Date> beginning(ios::Date date, Component component) {
  if (!hasPeriod(component)) return std::nullopt;
  return ios::Calendar::current().startOf(component, date);
}

std::optional<ios::Date> end(ios::Date date, Component component) {
  if (!hasPeriod(component)) return std::nullopt;
  return periodOf(ios::Calendar::current(), component, date).end() - 1;
}

}  // namespace kp
