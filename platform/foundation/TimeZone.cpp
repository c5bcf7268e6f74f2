#include "platform/foundation/TimeZone.h"

#include <cmath>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/ICU.h"

namespace ios {
namespace {

std::mutex& zoneMutex() {
  static std::mutex m;
  return m;
}

std::optional<std::string>& overriddenZone() {
  static std::optional<std::string> zone;
  return zone;
}

bool isKnownZone(const std::string& identifier) {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu_internal::toUnicode(identifier)));
  return zone && *zone != icu::TimeZone::getUnknown();
}

std::string hostZone() {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  if (!zone || *zone == icu::TimeZone::getUnknown()) return "GMT";
  icu::UnicodeString id;
  zone->getID(id);
  return icu_internal::toUTF8(id);
}

}  // namespace

TimeZone TimeZone::current() {
  {
    std::lock_guard lock(zoneMutex());
    if (overriddenZone()) return TimeZone(*overriddenZone());
  }
  return TimeZone(hostZone());
}

std::optional<TimeZone> TimeZone::fromIdentifier(const std::string& identifier) {
  if (identifier.empty() || !isKnownZone(identifier)) return std::nullopt;
  return TimeZone(identifier);
}

std::optional<TimeZone> TimeZone::fromSecondsFromGMT(std::int64_t seconds) {
  if (seconds < -18 * 3600 || seconds > 18 * 3600) return std::nullopt;
  if (seconds == 0) return TimeZone("GMT");
  const std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "GMT%c%02lld%02lld", seconds < 0 ? '-' : '+',
                static_cast<long long>(magnitude / 3600), static_cast<long long>((magnitude % 3600) / 60));
  return TimeZone(buffer);
}

TimeZone TimeZone::gmt() { return TimeZone("GMT"); }

std::int64_t TimeZone::secondsFromGMT(Date date) const {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu_internal::toUnicode(identifier_)));
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone->getOffset(date.timeIntervalSince1970() * 1000.0, false, raw, dst, status);
  if (U_FAILURE(status)) return 0;
  return (static_cast<std::int64_t>(raw) + dst) / 1000;
}

namespace testing {

ScopedTimeZone::ScopedTimeZone(const std::string& identifier) {
  KP_PRECONDITION(isKnownZone(identifier), "ScopedTimeZone: unknown time zone identifier");
  std::lock_guard lock(zoneMutex());
  previous_ = std::exchange(overriddenZone(), identifier);
}

ScopedTimeZone::~ScopedTimeZone() {
  std::lock_guard lock(zoneMutex());
  overriddenZone() = std::move(previous_);
}

void resetCurrentTimeZone() {
  std::lock_guard lock(zoneMutex());
  overriddenZone().reset();
}

}  // namespace testing
}  // namespace ios
