// File: platform/foundation/internal/DateFormatEngine.h
//
// ICU's SimpleDateFormat behind DateFormatter. Building one costs tens of
// microseconds (patterns, symbols, the calendar and zone); each thread keeps the
// formatters it built, keyed by pattern, locale and time zone, so that a DateFormatter
// made for a single call costs no more than a lookup. ICU formatters are not safe to
// share between threads; a per-thread cache needs no lock.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace ios::icu_internal {

struct DateFormatKey {
  std::string_view pattern;
  std::string_view locale;
  std::string_view timeZone;
};

// The millisecond that `unixSeconds` falls in, as formatters show it. A date less than
// half a microsecond below a whole millisecond counts as that millisecond, so that 0.089
// stored as 0.08899999 still shows as 089; so does one a few units in the last place
// below it, the error that reading a date from text and moving it between the two
// reference dates leaves. Far from 1970 a double's last place is several microseconds
// (year 3102: "29.368" would otherwise read back as a date that shows as "29.367").
[[nodiscard]] inline double wholeMilliseconds(double unixSeconds) {
  const double milliseconds = unixSeconds * 1000.0;
  const double nearest = std::round(milliseconds);
  const double magnitude = std::fabs(milliseconds);
  const double slack = std::max(5e-4, 4 * (std::nextafter(magnitude, HUGE_VAL) - magnitude));
  if (nearest >= milliseconds && nearest - milliseconds <= slack) return nearest;
  return std::floor(milliseconds);
}

// `unixMilliseconds` as text.
[[nodiscard]] std::string formatDate(const DateFormatKey& key, double unixMilliseconds);

// Text as milliseconds since 1970, or nothing when the text does not match the whole
// pattern or names an impossible date or a wall-clock time that the zone skips. A date
// without a time of day whose midnight a daylight-saving change skips is read as the
// first instant of that day.
[[nodiscard]] std::optional<double> parseDate(const DateFormatKey& key, std::string_view text);

}  // namespace ios::icu_internal
