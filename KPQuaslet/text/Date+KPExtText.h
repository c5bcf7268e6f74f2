// File: KPQuaslet/text/Date+KPExtText.h
//
// Dates as text and text as dates: patterns, the fixed formats, ISO 8601, the weekday
// of a calendar date, dates written as integers, and Simplified Chinese relative-time
// and countdown wording.
//
//   kp::convertToString(d);                               // "2020-03-04 05:06:07"
//   kp::iso8601String(d);                                 // "2020-03-04T05:06:07.089Z"
//   kp::dateWithISO08601String("2020-03-04T05:06:07Z");
//   kp::timeAgoSince(d, other, true);                     // "3天前"
//
// Each call makes its own ios::DateFormatter; where no locale or time zone is named the
// current ones apply (the locale with its calendar), read afresh on each call, so the
// fixed formats read the user's calendar as convertToString() writes it. ISO 8601 text
// is written and read with "en_US_POSIX": it is always Gregorian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"

namespace kp {

// The date in the caller's pattern, in the current locale and time zone. A pattern the
// formatter does not understand gives whatever the formatter makes of it.
//
// A date no calendar reaches (NaN, an infinity, or more than 9e12 seconds, about
// 285,000 years, from the reference date) has no text: toString(), convertToString() and iso8601String() answer ""
// for it (iso8601String() appends no "Z"), rather than digits of no date.
[[nodiscard]] std::string toString(ios::Date date, std::string_view format);
// The date as "yyyy-MM-dd HH:mm:ss" in the current locale and time zone.
[[nodiscard]] std::string convertToString(ios::Date date);
// The date as "yyyy-MM-dd'T'HH:mm:ss.SSS" in GMT with "Z" appended:
// "2020-03-04T05:06:07.089Z". The fraction is cut to the millisecond, and a date read
// from such a text (by a formatter with milliseconds in its pattern) writes back as the
// same text, in every year up to 9999 (far from 1970 the date read lies a rounding error
// below its millisecond, which would otherwise show as the millisecond before).
[[nodiscard]] std::string iso8601String(ios::Date date);

// The date an ISO 8601 timestamp names: "yyyy-MM-dd'T'HH:mm:ss", then "Z" or an offset
// such as "+0800"; nothing for any other text. Fractional seconds are not read, so the
// output of iso8601String() (which writes milliseconds) is not a timestamp here.
[[nodiscard]] std::optional<ios::Date> dateWithISO08601StringIfValid(std::string_view text);
// The same, answering the current instant when the text is absent or not a timestamp.
[[nodiscard]] ios::Date dateWithISO08601String(std::optional<std::string_view> text);

// The date `text` names in the caller's pattern (current locale and time zone), or
// nothing when the whole text does not match.
[[nodiscard]] std::optional<ios::Date> dateFromStringIfValid(std::string_view text, std::string_view format);
// The same, answering the current instant when the text does not match.
[[nodiscard]] ios::Date dateFromString(std::string_view text, std::string_view format);

// The weekday (1 = Sunday ... 7 = Saturday in the Gregorian calendar) of the given date,
// written "%04d/%02d/%02d" and read as "yyyy/MM/dd" in the current locale's calendar and
// time zone (in a Thai locale the year is Buddhist); 0 when it is not a date (month 13,
// 30 February).
[[nodiscard]] std::int64_t getWeekDay(std::int64_t year, std::int64_t month, std::int64_t day);

// The date whose decimal digits are yyyyMMdd (20200304: 4 March 2020) in the current
// locale's calendar, at the start of that day in the current time zone, or nothing when
// the digits are no such date.
[[nodiscard]] std::optional<ios::Date> makeDate(std::int64_t integerLiteral);

// How long ago the earlier of the two dates was, seen from the later one, in Simplified
// Chinese: "3年前", "去年", "2月前", "上月", "2周前", "上周", "5天前", "昨天", "2小时前",
// "1小时前", "5分钟前", "1分钟前", "3秒前", or "现在" below 3 seconds. With `numericDates`
// the single units read "1年前", "1月前", "1周前", "1天前" instead of the words. "" when
// either date is one the calendar cannot represent (NaN, an infinity, more than about
// 285,000 years from 2001), rather than stopping the process.
[[nodiscard]] std::string timeAgoSince(ios::Date date, ios::Date other, bool numericDates);
// timeAgoSince() between the date and the current instant, with numeric wording.
[[nodiscard]] std::string timeAgoSinceNow(ios::Date date);
// The time between the current instant and `other` (either way round) as a countdown:
// "1天 02:03:04" (days, when there is at least one, then one space), or "00:00:59". The
// days count every whole day, also across months and years. `date` takes no part. ""
// when `other` is a date the calendar cannot represent (as for timeAgoSince()).
[[nodiscard]] std::string timeAfterTo(ios::Date date, ios::Date other);

}  // namespace kp
