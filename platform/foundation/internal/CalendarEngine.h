// File: platform/foundation/internal/CalendarEngine.h
//
// ICU calendars for the Calendar stand-in. Building one loads locale and zone data
// (several microseconds) and cloning one costs about a microsecond, several times the
// work of a typical operation. So a prototype per setting is built once for the
// process, and each thread keeps the clones it made, keyed by the settings: an
// operation borrows one for its duration and gives it back. ICU calendars are not safe
// to share between threads; a per-thread pool needs no lock. The settings (calendar,
// locale, zone, week rules) are read afresh on each call: a change of the user's
// settings is a different key, so the next call works on a calendar built for it.
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

// A calendar borrowed from the calling thread's pool for as long as the lease lives;
// no other lease holds it meanwhile. Its time and fields are whatever the last borrower
// left: set the time (or clear the fields) before reading it. Its configuration (zone,
// week rules, leniency) must not be changed.
class CalendarLease {
 public:
  struct Entry;
  explicit CalendarLease(Entry* entry) : entry_(entry) {}
  CalendarLease(const CalendarLease&) = delete;
  CalendarLease& operator=(const CalendarLease&) = delete;
  ~CalendarLease();

  [[nodiscard]] icu::Calendar& operator*() const;
  [[nodiscard]] icu::Calendar* operator->() const { return &**this; }

 private:
  Entry* entry_;
};

// A calendar for these settings: lenient, skipped wall times resolved forward by the
// gap, repeated ones to their first occurrence.
[[nodiscard]] CalendarLease makeCalendar(const CalendarSettings& settings);

// The month names of the settings' calendar system in their locale (thirteen for the
// Coptic and Ethiopic calendars), loaded once per locale and system.
[[nodiscard]] std::vector<std::string> monthSymbols(const CalendarSettings& settings);

}  // namespace ios::icu_internal
