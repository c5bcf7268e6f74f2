// File: KPQuaslet/text/Date+KPExtBoundaries.h
//
// The first and last instants of the day, week, month and year that contain a date,
// and of a chosen calendar component.
//
//   kp::startOfMonth(d);                                  // the 1st at 00:00:00
//   kp::end(d, ios::Calendar::Component::month);          // the last day at 23:59:59
//   kp::startOfWeek(d, 2);                                // the Monday of d's week
//
// Every function reads the user's current calendar (ios::Calendar::current(): its time
// zone, locale, first weekday and week rules) afresh on each call. On a day whose
// midnight a daylight-saving change skips, the day starts at its first instant. Hours
// are wall-clock hours (see ios::Calendar::dateInterval()): where a change of half an
// hour repeats 01:30 to 02:00, the hour of 01:35 in either pass starts at 01:00 and
// ends at 01:59:59 of the second pass. A date the calendar cannot represent
// (ios::Calendar::canRepresent()) stops the process.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"

namespace kp {

// 1 January of the date's year at 00:00:00.
[[nodiscard]] ios::Date startOfYear(ios::Date date);
// 31 December of the date's year at 00:00:00: the start of the year's last day.
[[nodiscard]] ios::Date endOfYear(ios::Date date);
// The first day of the date's month at 00:00:00.
[[nodiscard]] ios::Date startOfMonth(ios::Date date);
// The last day of the date's month at 00:00:00: the start of the month's last day.
[[nodiscard]] ios::Date endOfMonth(ios::Date date);
// The calendar's date for the year, month and weekday of the date's day: the first
// day of that month falling on that weekday, at 00:00:00.
[[nodiscard]] ios::Date startOfWeekDay(ios::Date date);
// 00:00:00 of the first day of the week containing the date, for weeks that start on
// `weekday` (1 = Sunday ... 7 = Saturday; Sunday when absent). The result is never
// after the date, and the date lies less than seven days after it. Stops the process
// unless 1 <= weekday <= 7.
[[nodiscard]] ios::Date startOfWeek(ios::Date date, std::optional<std::int64_t> weekday = std::nullopt);
// The last second of that week: 23:59:59 of its last day.
[[nodiscard]] ios::Date endOfWeek(ios::Date date, std::int64_t weekday);
// 00:00:00 of the first day of the date's week, with the calendar's own first weekday.
[[nodiscard]] ios::Date firstDateInThisWeek(ios::Date date);
// 00:00:00 of the date's day.
[[nodiscard]] ios::Date zeroOfDay(ios::Date date);
// The last second of the date's day, 23:59:59, also on days that a daylight-saving
// change makes 23 or 25 hours long.
[[nodiscard]] ios::Date endOfDay(ios::Date date);

// The start of the second, minute, hour, day, week (weekOfMonth or weekOfYear), month or
// year containing the date; nothing for any other component.
[[nodiscard]] std::optional<ios::Date> beginning(ios::Date date, ios::Calendar::Component component);
// The last whole second of that period (the start of the next one minus one second);
// nothing for a component beginning() does not take.
[[nodiscard]] std::optional<ios::Date> end(ios::Date date, ios::Calendar::Component component);

}  // namespace kp
