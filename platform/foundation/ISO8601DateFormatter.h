// File: platform/foundation/ISO8601DateFormatter.h
//
// ISO 8601 timestamps, in and out.
//
//   ios::ISO8601DateFormatter f;                    // internet date-time, in GMT
//   f.string(date);                                 // "2020-03-04T05:06:07Z"
//   f.setFormatOptions(f.formatOptions() | ios::ISO8601DateFormatter::withFractionalSeconds);
//   f.date("2020-03-04T13:06:07.089+08:00");        // optional Date
//
// Fidelity: keeps the platform's options for calendar dates and times (year, month,
// day, time, zone, their separators, fractional seconds in milliseconds) and its
// defaults (internet date-time, GMT). The zone is written "Z" at offset zero. Parsing
// is strict and must consume the whole text in the layout the options describe. Week
// dates and ordinal dates are absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"
#include "platform/foundation/TimeZone.h"

namespace ios {

class ISO8601DateFormatter {
 public:
  using Options = std::uint32_t;
  static constexpr Options withYear = 1u << 0;
  static constexpr Options withMonth = 1u << 1;
  static constexpr Options withDay = 1u << 4;
  static constexpr Options withTime = 1u << 5;
  static constexpr Options withTimeZone = 1u << 6;
  static constexpr Options withSpaceBetweenDateAndTime = 1u << 7;
  static constexpr Options withDashSeparatorInDate = 1u << 8;
  static constexpr Options withColonSeparatorInTime = 1u << 9;
  static constexpr Options withColonSeparatorInTimeZone = 1u << 10;
  static constexpr Options withFractionalSeconds = 1u << 11;
  static constexpr Options withFullDate = withYear | withMonth | withDay | withDashSeparatorInDate;
  static constexpr Options withFullTime =
      withTime | withColonSeparatorInTime | withTimeZone | withColonSeparatorInTimeZone;
  static constexpr Options withInternetDateTime = withFullDate | withFullTime;

  ISO8601DateFormatter() = default;

  [[nodiscard]] Options formatOptions() const { return options_; }
  void setFormatOptions(Options options) { options_ = options; }
  [[nodiscard]] const TimeZone& timeZone() const { return timeZone_; }
  void setTimeZone(TimeZone zone) { timeZone_ = std::move(zone); }

  // `date` as ISO 8601 text in the formatter's zone, its fraction cut to the
  // millisecond as DateFormatter::string() cuts it (text read back writes unchanged).
  [[nodiscard]] std::string string(Date date) const;
  // The date `text` names, or nothing when it is not in the options' layout.
  [[nodiscard]] std::optional<Date> date(std::string_view text) const;

 private:
  [[nodiscard]] std::string pattern() const;

  Options options_ = withInternetDateTime;
  TimeZone timeZone_ = TimeZone::gmt();
};

}  // namespace ios
