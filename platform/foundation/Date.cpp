#include "platform/foundation/Date.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/foundation/Clock.h"

namespace ios {

Date Date::now() { return Date(clock::absoluteTime()); }

TimeInterval Date::timeIntervalSinceNow() const { return seconds_ - clock::absoluteTime(); }

std::string Date::description() const {
  const double unix = std::floor(timeIntervalSince1970());
  std::time_t t = static_cast<std::time_t>(unix);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d +0000", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return buffer;
}

}  // namespace ios
