// File: platform/foundation/DateFormatter.h
//
// Formats dates as text and parses text back, with a fixed pattern.
//
//   ios::DateFormatter f;
//   f.setDateFormat("yyyy-MM-dd HH:mm:ss:SSS");
//   f.string(ios::Date::now());   // "2024-03-05 14:07:09:042" in the current zone
//   f.date("2024-03-05 14:07:09:042");  // optional Date
//
// Fidelity: patterns are the platform's (Unicode TR35) patterns, backed by ICU. A
// formatter given no locale or time zone uses the current ones, read when it formats.
// Parsing is strict (no field out of range, no month 13 or 30 February, no wall-clock
// time that a daylight-saving change skips) and must consume the whole text and the
// whole pattern: a text that stops part-way through the pattern's closing literal
// ("2024 wee" for "yyyy 'week'", "20199" for "y9" with the year taking the 9), which ICU
// would accept, is no date, nor is the empty text for a pattern that is not empty; a date
// without a time of day parses as that day's first instant, also where a change skips
// local midnight. A formatter is cheap
// to make: the ICU formatters behind it are cached per thread, by pattern, locale and
// time zone. Date and time styles, relative formatting and the other members of the
// platform are absent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"

namespace ios {

class DateFormatter {
 public:
  DateFormatter() = default;

  [[nodiscard]] const std::string& dateFormat() const { return dateFormat_; }
  void setDateFormat(std::string pattern);

  // The locale set on this formatter, or nothing for the current one.
  [[nodiscard]] const std::optional<Locale>& locale() const { return locale_; }
  void setLocale(std::optional<Locale> locale);

  // The time zone set on this formatter, or nothing for the current one.
  [[nodiscard]] const std::optional<TimeZone>& timeZone() const { return timeZone_; }
  void setTimeZone(std::optional<TimeZone> timeZone);

  // `date` as text in the formatter's pattern. Fractions of a second are cut to the
  // millisecond; a date a rounding error below a whole millisecond (what reading a text
  // leaves, which far from 1970 is several microseconds) shows as that millisecond, so
  // that text this class reads writes back unchanged. A date no calendar reaches (one
  // Calendar::canRepresent() refuses: NaN, an infinity, too far out) is the empty text.
  [[nodiscard]] std::string string(Date date) const;
  // The date `text` stands for, or nothing when it does not match the whole pattern.
  [[nodiscard]] std::optional<Date> date(std::string_view text) const;

 private:
  std::string dateFormat_;
  std::optional<Locale> locale_;
  std::optional<TimeZone> timeZone_;
};

// The milliseconds since 1970 at which DateFormatter::string() shows `date`: the
// fraction of a millisecond is cut, but a date a rounding error below a whole
// millisecond counts as that millisecond. (A helper of this stand-in, for callers that
// write the milliseconds of a date themselves.)
[[nodiscard]] double shownMillisecondsSince1970(Date date);

}  // namespace ios
