#include "platform/foundation/Date.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/NumberText.h"

namespace ios {

Date Date::now() { return Date(clock::absoluteTime()); }

TimeInterval Date::timeIntervalSinceNow() const { return seconds_ - clock::absoluteTime(); }

std::chrono::sys_time<std::chrono::microseconds> Date::timePoint() const {
  const double microseconds = std::round(seconds_ * 1e6);
  // Within the 64-bit count, with room for the 31 years between 1970 and the reference date.
  constexpr double kReach = 9.2e18;
  KP_PRECONDITION(std::isfinite(microseconds) && std::abs(microseconds) < kReach,
                  "a date too far away to count in microseconds");
  return referenceTimePoint() + std::chrono::microseconds(static_cast<std::int64_t>(microseconds));
}

std::string Date::description() const {
  const double unix = std::floor(timeIntervalSince1970());
  char buffer[64];
  // Beyond about 300 million years the year no longer fits the C library's calendar
  // (and a double outside time_t cannot even be converted): the seconds are the text.
  constexpr double kCalendarReach = 1e16;
  std::tm parts{};
  std::time_t t = 0;
  if (!(std::fabs(unix) < kCalendarReach) || (t = static_cast<std::time_t>(unix), gmtime_r(&t, &parts) == nullptr)) {
    return foundation_internal::shortNumberText(seconds_);
  }
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d +0000", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return buffer;
}

}  // namespace ios
