// File: platform/foundation/internal/CalendarEngine.h
//
// ICU calendars for the Calendar stand-in. Building one loads locale and zone data
// (several microseconds); a prototype per setting is kept and each operation works on
// its own clone (a fraction of a microsecond), so calendars are safe to use from any
// thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/internal/ICU.h"

namespace ios::icu_internal {

struct CalendarSettings {
  std::string identifier;  // ICU calendar type, or "" for the locale's own
  std::string locale;
  std::string timeZone;
  std::int64_t firstWeekday = 0;  // 0: the locale's
  std::int64_t minimumDaysInFirstWeek = 0;  // 0: the locale's

  bool operator==(const CalendarSettings&) const = default;
};

// The ICU locale for these settings (the locale with its calendar keyword).
[[nodiscard]] icu::Locale calendarLocale(const CalendarSettings& settings);

// A calendar of its own for these settings: lenient, skipped wall times resolved
// forward by the gap, repeated ones to their first occurrence.
[[nodiscard]] std::unique_ptr<icu::Calendar> makeCalendar(const CalendarSettings& settings);

// The month names of the settings' calendar system in their locale (thirteen for the
// Coptic and Ethiopic calendars), loaded once per locale and system.
[[nodiscard]] std::vector<std::string> monthSymbols(const CalendarSettings& settings);

}  // namespace ios::icu_internal
