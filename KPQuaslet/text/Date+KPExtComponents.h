// File: KPQuaslet/text/Date+KPExtComponents.h
//
// Date conveniences: single components and their setters, the quarter, tests against
// now and the current day, week, month and year, rounding to minute steps, calendar
// addition, ordering tests and random dates.
//
//   ios::Date d = ios::Date::now();
//   kp::setDay(d, kp::day(d) + 1);         // the same rules as a direct set
//   kp::nearestQuarterHour(d);             // 10:07 -> 10:00, 10:08 -> 10:15
//   kp::randomDate(kp::DateRange{a, b});   // uniformly in [a, b)
//
// Every function reads the user's current calendar (ios::Calendar::current(): its time
// zone, locale and first weekday) afresh on each call; components are that calendar's,
// in its time zone. Nothing here keeps state. A date the calendar cannot represent (not
// finite, or beyond about 285,000 years from 2001: ios::Calendar::canRepresent()) stops
// the process in every function that consults the calendar.
#pragma once

#include <cstdint>
#include <random>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/TimeZone.h"

namespace kp {

// --- Reading ------------------------------------------------------------------------

// The current calendar, as every function here reads it.
[[nodiscard]] ios::Calendar calendar(ios::Date date);
// The current calendar's time zone.
[[nodiscard]] ios::TimeZone timeZone(ios::Date date);
// Seconds since 1970-01-01 00:00:00 UTC.
[[nodiscard]] double unixTimestamp(ios::Date date);

// One component of the date in the current calendar.
[[nodiscard]] std::int64_t era(ios::Date date);
[[nodiscard]] std::int64_t year(ios::Date date);
[[nodiscard]] std::int64_t month(ios::Date date);
[[nodiscard]] std::int64_t day(ios::Date date);
[[nodiscard]] std::int64_t hour(ios::Date date);
[[nodiscard]] std::int64_t minute(ios::Date date);
[[nodiscard]] std::int64_t second(ios::Date date);
[[nodiscard]] std::int64_t nanosecond(ios::Date date);
// The nanosecond component divided by 1 000 000, truncated.
[[nodiscard]] std::int64_t millisecond(ios::Date date);
// 1 (Sunday) to 7 (Saturday) in the Gregorian calendar.
[[nodiscard]] std::int64_t weekday(ios::Date date);
[[nodiscard]] std::int64_t weekOfMonth(ios::Date date);
[[nodiscard]] std::int64_t weekOfYear(ios::Date date);
// ceil(month / (number of months / 4)): 1 for January to March ... 4 for October to December.
[[nodiscard]] std::int64_t quarter(ios::Date date);

// --- Setting ------------------------------------------------------------------------
// A value outside the component's range for this date leaves the date as it is.

// Moves the date to the given year by calendar addition (29 February becomes 28
// February in a common year); a year of 0 or less is ignored.
void setYear(ios::Date& date, std::int64_t year);
// Moves the date to the given month (1...12) by calendar addition; the day is pinned to
// the month's last day (31 January -> month 2 -> 28 or 29 February).
void setMonth(ios::Date& date, std::int64_t month);
// Moves the date to the given day of its month (1...days in the month).
void setDay(ios::Date& date, std::int64_t day);
// Sets the wall-clock hour (0...23), keeping minutes and seconds. On a day with a
// daylight-saving change the new hour is read on the clock: an hour the change skips
// moves forward by the gap, a repeated one resolves to its first occurrence.
void setHour(ios::Date& date, std::int64_t hour);
// Moves the date to the given minute (0...59) of its hour.
void setMinute(ios::Date& date, std::int64_t minute);
// Moves the date to the given second (0...59) of its minute.
void setSecond(ios::Date& date, std::int64_t second);
// Moves the date to the given nanosecond (0...999 999 999) of its second.
void setNanosecond(ios::Date& date, std::int64_t nanosecond);
// Replaces the fraction of the date's second by `millisecond` / 1000 (0...999); the
// whole second stays as it is.
void setMillisecond(ios::Date& date, std::int64_t millisecond);

// --- Tests against now and the current periods ----------------------------------------

// Later / earlier than the current instant.
[[nodiscard]] bool isInFuture(ios::Date date);
[[nodiscard]] bool isInPast(ios::Date date);
// In the current day, the day before, the day after.
[[nodiscard]] bool isInToday(ios::Date date);
[[nodiscard]] bool isInYesterday(ios::Date date);
[[nodiscard]] bool isInTomorrow(ios::Date date);
// On a weekend day of the current locale; isInWeekday and isWorkday are its negation.
[[nodiscard]] bool isInWeekend(ios::Date date);
[[nodiscard]] bool isInWeekday(ios::Date date);
[[nodiscard]] bool isWorkday(ios::Date date);
// In the same week (with the calendar's first weekday), month, year as now.
[[nodiscard]] bool isInCurrentWeek(ios::Date date);
[[nodiscard]] bool isInCurrentMonth(ios::Date date);
[[nodiscard]] bool isInCurrentYear(ios::Date date);

// --- Rounding -----------------------------------------------------------------------
// Minute roundings look at the minute alone (10:07:40 -> 10:05) and drop seconds; a
// rounded minute of 60 carries into the next hour and day. They work on the time line,
// so a date in the repeated hour of a daylight-saving change keeps its occurrence.

// Down when minute mod 5 < 3, else up.
[[nodiscard]] ios::Date nearestFiveMinutes(ios::Date date);
// Down when minute mod 10 < 6 (so :15 gives :10 and :16 gives :20), else up.
[[nodiscard]] ios::Date nearestTenMinutes(ios::Date date);
// Down when minute mod 15 < 8, else up.
[[nodiscard]] ios::Date nearestQuarterHour(ios::Date date);
// Down when minute mod 30 < 15, else up (:15 gives :30).
[[nodiscard]] ios::Date nearestHalfHour(ios::Date date);
// The start of the date's hour, or of the next hour when the minute is 30 or more.
// Hours are the calendar's wall-clock hours: where a change of half an hour repeats
// 01:30 to 02:00, 01:35 of the second occurrence rounds up to 02:00, not to the instant
// one hour of elapsed time after 01:00.
[[nodiscard]] ios::Date nearestHour(ios::Date date);

// Exactly 86 400 seconds earlier / later (across a daylight-saving change the wall
// clock shifts by the change).
[[nodiscard]] ios::Date yesterday(ios::Date date);
[[nodiscard]] ios::Date tomorrow(ios::Date date);

// --- Ordering and arithmetic ----------------------------------------------------------

// The date is later than / earlier than / the same instant as `dateToCompare`.
[[nodiscard]] bool isGreaterThanDate(ios::Date date, ios::Date dateToCompare);
[[nodiscard]] bool isLessThanDate(ios::Date date, ios::Date dateToCompare);
[[nodiscard]] bool equalToDate(ios::Date date, ios::Date dateToCompare);
// Whether the date lies between the two bounds, given in either order; a date equal to
// a bound counts only with `includeBounds`.
[[nodiscard]] bool isBetween(ios::Date date, ios::Date date1, ios::Date date2, bool includeBounds);
// Whether the calendar difference from the date to `other`, counted in `component`
// alone, is at most `value` in magnitude (23:00 and 01:00 the next day are 0 days apart).
[[nodiscard]] bool isWithin(ios::Date date, std::uint64_t value, ios::Calendar::Component component,
                            ios::Date other);
// The date plus `value` units of `component` by calendar addition; larger components
// carry. Stops the process when the amount is out of the calendar's range (a quarter
// counts three months, and the months must fit the calendar's 32-bit fields, so
// INT64_MAX / 2 quarters stops rather than overflowing) or the result is not
// representable.
[[nodiscard]] ios::Date adding(ios::Date date, ios::Calendar::Component component, std::int64_t value);
// The same, replacing the date.
void add(ios::Date& date, ios::Calendar::Component component, std::int64_t value);

// --- Random dates ---------------------------------------------------------------------

// A half-open range of dates, lowerBound..<upperBound.
struct DateRange {
  ios::Date lowerBound;
  ios::Date upperBound;
};

// A closed range of dates, lowerBound...upperBound.
struct ClosedDateRange {
  ios::Date lowerBound;
  ios::Date upperBound;
};

// The earlier bound plus a random whole number of seconds k, 0 <= k < the whole seconds
// between the bounds (given in either order), from the system's cryptographic generator;
// `from` when the bounds are equal, the earlier bound when they are less than a second
// apart. Stops the process when the bounds are not finite or too far apart.
[[nodiscard]] ios::Date randomDate(ios::Date from, ios::Date upTo);
// A date uniformly distributed in [lowerBound, upperBound); the range must not be empty.
[[nodiscard]] ios::Date randomDate(DateRange range);
// A date uniformly distributed in [lowerBound, upperBound]; lowerBound <= upperBound.
[[nodiscard]] ios::Date randomDate(ClosedDateRange range);

namespace date_internal {
// The date a fraction `bits` / 2^53 of the way through the range (bits < 2^53), kept
// below the upper bound.
[[nodiscard]] ios::Date dateInRange(DateRange range, std::uint64_t bits);
}  // namespace date_internal

// A date uniformly distributed in [lowerBound, upperBound), drawn from `generator`.
template <std::uniform_random_bit_generator G>
[[nodiscard]] ios::Date randomDate(DateRange range, G& generator) {
  KP_PRECONDITION(range.lowerBound < range.upperBound, "randomDate: the range is empty");
  std::uniform_int_distribution<std::uint64_t> word;
  return date_internal::dateInRange(range, word(generator) >> 11);
}

}  // namespace kp
