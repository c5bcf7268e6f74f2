// File: platform/foundation/TimeZone.h
//
// Time zones by identifier, and the process's current time zone.
//
//   auto tz = ios::TimeZone::fromIdentifier("Asia/Shanghai");  // optional
//   tz->secondsFromGMT(ios::Date::now());                       // 28800
//   ios::TimeZone::current();                                   // read afresh each call
//
// Fidelity: backed by ICU's time-zone database. The current zone is the host's (TZ,
// /etc/localtime) unless a test overrides it (ios::testing::ScopedTimeZone); the host's
// zone is detected again whenever TZ changes, while a new /etc/localtime is seen by
// processes started after it (as the platform keeps its system zone). The
// abbreviation table holds the common unambiguous abbreviations only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"

namespace ios {

class TimeZone {
 public:
  // The process's current time zone, read afresh on each call.
  [[nodiscard]] static TimeZone current();
  // The zone with this identifier ("Europe/Paris", "GMT", "UTC"), or nothing.
  [[nodiscard]] static std::optional<TimeZone> fromIdentifier(const std::string& identifier);
  // The zone an abbreviation stands for ("GMT", "UTC", "EST" -> America/New_York,
  // "CET" -> Europe/Paris, ...), or nothing for an abbreviation the table lacks.
  [[nodiscard]] static std::optional<TimeZone> fromAbbreviation(std::string_view abbreviation);
  // A fixed zone this many seconds east of GMT, or nothing beyond +-18 hours.
  [[nodiscard]] static std::optional<TimeZone> fromSecondsFromGMT(std::int64_t seconds);
  // GMT.
  [[nodiscard]] static TimeZone gmt();

  [[nodiscard]] const std::string& identifier() const { return identifier_; }
  // The zone's offset from GMT at `date`, in seconds.
  [[nodiscard]] std::int64_t secondsFromGMT(Date date) const;
  // Whether daylight-saving time is in effect at `date`.
  [[nodiscard]] bool isDaylightSavingTime(Date date) const;
  // The identifier, as the zone is printed.
  [[nodiscard]] const std::string& description() const { return identifier_; }

  bool operator==(const TimeZone&) const = default;

 private:
  explicit TimeZone(std::string identifier) : identifier_(std::move(identifier)) {}
  std::string identifier_;
};

namespace testing {

// ScopedTimeZone
//
// While alive, TimeZone::current() is the zone named `identifier` (which must exist).
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& identifier);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Forgets any overridden current time zone.
void resetCurrentTimeZone();

}  // namespace testing
}  // namespace ios
