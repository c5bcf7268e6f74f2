// File: platform/foundation/DateComponents.h
//
// A set of calendar components, each present or absent.
//
//   ios::DateComponents c;
//   c.year = 2020; c.month = 3; c.day = 4;
//   ios::Calendar::current().dateFrom(c);   // 2020-03-04 00:00 in the current zone
//
// Fidelity: the platform's integer components, nanoseconds included. The calendar and
// time zone members and the leap-month flag are absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/Calendar.h"

namespace ios {

struct DateComponents {
  std::optional<std::int64_t> era;
  std::optional<std::int64_t> year;
  std::optional<std::int64_t> month;
  std::optional<std::int64_t> day;
  std::optional<std::int64_t> hour;
  std::optional<std::int64_t> minute;
  std::optional<std::int64_t> second;
  std::optional<std::int64_t> nanosecond;
  std::optional<std::int64_t> weekday;
  std::optional<std::int64_t> weekdayOrdinal;
  std::optional<std::int64_t> quarter;
  std::optional<std::int64_t> weekOfMonth;
  std::optional<std::int64_t> weekOfYear;
  std::optional<std::int64_t> yearForWeekOfYear;

  // The value of `component`, or nothing when it is absent.
  [[nodiscard]] std::optional<std::int64_t> value(Calendar::Component component) const;
  // Sets (or, with nothing, clears) `component`.
  void setValue(std::optional<std::int64_t> value, Calendar::Component component);

  // "year: 2020 month: 3", the present components in the platform's order.
  [[nodiscard]] std::string description() const;

  bool operator==(const DateComponents&) const = default;
};

}  // namespace ios
