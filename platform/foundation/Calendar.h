// File: platform/foundation/Calendar.h
//
// Calendars: the fields of a date in a time zone, calendar arithmetic, period starts
// and the today / weekend tests.
//
//   ios::Calendar calendar = ios::Calendar::current();
//   calendar.component(ios::Calendar::Component::month, date);           // 1...12
//   calendar.dateByAdding(ios::Calendar::Component::month, 1, date);     // optional Date
//   calendar.startOfDay(date);
//
// Fidelity: a thin layer over ICU's calendars. Keeps the platform's components
// (months from 1, weekdays 1 = Sunday ... 7), its additions (years and months pin the
// day to the month's end, days and weeks keep the wall-clock time, hours, minutes and
// seconds add elapsed time), its differences (largest component first, each the
// remainder after the larger ones) and nanoseconds, which ICU lacks: they are the
// fraction of the date's second, rounded to the microsecond a double can hold.
// A wall-clock time that a daylight-saving change skips resolves forward by the length
// of the gap (a skipped midnight becomes the first instant of the day); one that it
// repeats resolves to the first occurrence. Components whose values a date omits take
// their lowest values (year 1970 when no year is given). Dates must be finite and lie
// within 9e12 seconds (about 285,000 years) of the reference date: every member stops
// the process for any other date (canRepresent() tells them apart; the platform answers
// arbitrary values there). The current calendar reads the
// current time zone and locale afresh on each call; its first weekday and week rules
// are the locale's unless set. Absent: the platform's matching policies, enumeration of
// dates, ordinality, Hebrew and the other lunar calendars' leap months.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/ComparisonResult.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"

namespace ios {

struct DateComponents;

namespace icu_internal {
struct CalendarSettings;
}

// DateInterval
//
// A start date and a duration in seconds.
struct DateInterval {
  Date start;
  TimeInterval duration = 0;

  [[nodiscard]] Date end() const { return start + duration; }
  // Whether `date` lies in [start, end].
  [[nodiscard]] bool contains(Date date) const { return start <= date && date <= end(); }
  bool operator==(const DateInterval&) const = default;
};

class Calendar {
 public:
  enum class Identifier { gregorian, iso8601, buddhist, japanese };

  enum class Component {
    era,
    year,
    month,
    day,
    hour,
    minute,
    second,
    weekday,
    weekdayOrdinal,
    quarter,
    weekOfMonth,
    weekOfYear,
    yearForWeekOfYear,
    nanosecond,
  };

  // A half-open range of component values, lowerBound..<upperBound.
  struct Range {
    std::int64_t lowerBound = 0;
    std::int64_t upperBound = 0;
    [[nodiscard]] bool contains(std::int64_t value) const { return lowerBound <= value && value < upperBound; }
    bool operator==(const Range&) const = default;
  };

  // The user's calendar: the current locale's calendar system, the current time zone and
  // locale, read afresh on each call.
  [[nodiscard]] static Calendar current();

  // Whether calendars work with `date`: finite and within 9e12 seconds of the reference
  // date. (An addition of the stand-in, for callers that must not stop the process.)
  [[nodiscard]] static bool canRepresent(Date date);

  // A calendar of this system in the current time zone and locale.
  explicit Calendar(Identifier identifier);

  // The calendar system's name as the platform spells it ("gregorian", "buddhist", ...).
  [[nodiscard]] std::string identifier() const;

  [[nodiscard]] const TimeZone& timeZone() const { return timeZone_; }
  void setTimeZone(TimeZone timeZone) { timeZone_ = std::move(timeZone); }
  [[nodiscard]] const Locale& locale() const { return locale_; }
  void setLocale(Locale locale) { locale_ = std::move(locale); }

  // The weekday weeks start on, 1 (Sunday) to 7; the locale's unless set.
  [[nodiscard]] std::int64_t firstWeekday() const;
  // Sets the first weekday; stops the process unless 1 <= weekday <= 7.
  void setFirstWeekday(std::int64_t weekday);
  // The number of days of a year's first week that must fall in that year, 1 to 7.
  [[nodiscard]] std::int64_t minimumDaysInFirstWeek() const;
  // Sets the minimum; stops the process unless 1 <= days <= 7.
  void setMinimumDaysInFirstWeek(std::int64_t days);

  // The month names of the calendar system in the calendar's locale ("January", ...):
  // twelve in the Gregorian calendar, thirteen in the Coptic and Ethiopic ones.
  [[nodiscard]] std::vector<std::string> monthSymbols() const;

  // The value of one component of `date`.
  [[nodiscard]] std::int64_t component(Component component, Date date) const;
  // The values of the given components of `date`.
  [[nodiscard]] DateComponents dateComponents(const std::set<Component>& components, Date date) const;
  // The difference from `start` to `end` in the given components, largest first, each
  // the remainder after the larger ones; negative when `end` is earlier.
  [[nodiscard]] DateComponents dateComponents(const std::set<Component>& components, Date start, Date end) const;

  // The date the components name, or nothing when they name none (a year out of range).
  [[nodiscard]] std::optional<Date> dateFrom(const DateComponents& components) const;
  // `date` plus `value` units of `component`; with `wrappingComponents` the component
  // wraps within its enclosing one and higher components stay as they are. Nothing when
  // the amount does not fit the calendar's fields (a quarter is three months, so
  // INT64_MAX quarters is nothing, not some other number of months).
  [[nodiscard]] std::optional<Date> dateByAdding(Component component, std::int64_t value, Date date,
                                                 bool wrappingComponents = false) const;
  // `date` plus every component that `components` holds, largest first.
  [[nodiscard]] std::optional<Date> dateByAdding(const DateComponents& components, Date date,
                                                 bool wrappingComponents = false) const;
  // The first date at or after `date` whose `component` is `value` and whose larger
  // components are as small as possible; nothing when the value is out of range.
  [[nodiscard]] std::optional<Date> dateBySetting(Component component, std::int64_t value, Date date) const;

  // The first instant of the day that contains `date`.
  [[nodiscard]] Date startOfDay(Date date) const;
  // The period of `component` (year, quarter, month, weekOfYear, weekOfMonth, day,
  // weekday, hour, minute, second) that contains `date`; nothing for other components.
  // An hour runs from the first instant the wall clock reads HH:00:00 to the first one
  // it reads the next hour: where the offset changes by half an hour it lasts 30 or 90
  // minutes, and an hour that a daylight-saving change repeats whole counts as two
  // hours, each occurrence its own.
  [[nodiscard]] std::optional<DateInterval> dateInterval(Component component, Date date) const;
  // The start of dateInterval(component, date), without working out where the period
  // ends (an addition of the stand-in: the day-based starts cost one calendar
  // computation instead of three).
  [[nodiscard]] std::optional<Date> startOf(Component component, Date date) const;
  // The values `smaller` takes within the `larger` period containing `date`
  // (day in month: 1..<31 in April), or nothing for a pair without such a range.
  [[nodiscard]] std::optional<Range> range(Component smaller, Component larger, Date date) const;

  // Whether `date` lies in the current day, the day before it, the day after it.
  [[nodiscard]] bool isDateInToday(Date date) const;
  [[nodiscard]] bool isDateInYesterday(Date date) const;
  [[nodiscard]] bool isDateInTomorrow(Date date) const;
  // Whether `date` falls on a weekend day of the calendar's locale.
  [[nodiscard]] bool isDateInWeekend(Date date) const;
  // Whether the two dates fall on the same day.
  [[nodiscard]] bool isDateInSameDayAs(Date date1, Date date2) const;
  // The order of the periods of `granularity` that contain the two dates.
  [[nodiscard]] ComparisonResult compare(Date date1, Date date2, Component granularity) const;
  // Whether the two dates lie in the same period of `granularity`.
  [[nodiscard]] bool isDate(Date date1, Date date2, Component granularity) const;

  bool operator==(const Calendar&) const = default;

 private:
  Calendar(std::string identifier, TimeZone timeZone, Locale locale);
  // The settings the ICU calendar behind this one is built from.
  [[nodiscard]] icu_internal::CalendarSettings settings() const;

  std::string identifier_;  // "" for the locale's own calendar system
  TimeZone timeZone_;
  Locale locale_;
  std::int64_t firstWeekday_ = 0;  // 0: the locale's
  std::int64_t minimumDaysInFirstWeek_ = 0;  // 0: the locale's
};

}  // namespace ios

#include "platform/foundation/DateComponents.h"
