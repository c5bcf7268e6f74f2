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
  // ICU finds the host's zone through buffers shared by the whole process: one thread
  // at a time.
  static std::mutex detecting;
  std::lock_guard lock(detecting);
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  if (!zone || *zone == icu::TimeZone::getUnknown()) return "GMT";
  icu::UnicodeString id;
  zone->getID(id);
  return icu_internal::toUTF8(id);
}

// The zone's standard offset and daylight-saving offset at `date`, in milliseconds
// (both 0 when ICU cannot tell).
std::pair<std::int64_t, std::int64_t> offsetsAt(const std::string& identifier, Date date) {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu_internal::toUnicode(identifier)));
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone->getOffset(date.timeIntervalSince1970() * 1000.0, false, raw, dst, status);
  if (U_FAILURE(status)) return {0, 0};
  return {raw, dst};
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

std::optional<TimeZone> TimeZone::fromAbbreviation(std::string_view abbreviation) {
  static constexpr std::pair<std::string_view, std::string_view> kAbbreviations[] = {
      {"GMT", "GMT"},
      {"UTC", "UTC"},
      {"BST", "Europe/London"},
      {"CET", "Europe/Paris"},
      {"CEST", "Europe/Paris"},
      {"EET", "Europe/Athens"},
      {"EEST", "Europe/Athens"},
      {"EST", "America/New_York"},
      {"EDT", "America/New_York"},
      {"CST", "America/Chicago"},
      {"CDT", "America/Chicago"},
      {"MST", "America/Denver"},
      {"MDT", "America/Denver"},
      {"PST", "America/Los_Angeles"},
      {"PDT", "America/Los_Angeles"},
      {"AKST", "America/Juneau"},
      {"HST", "Pacific/Honolulu"},
      {"JST", "Asia/Tokyo"},
      {"KST", "Asia/Seoul"},
      {"HKT", "Asia/Hong_Kong"},
      {"SGT", "Asia/Singapore"},
      {"IST", "Asia/Kolkata"},
      {"MSK", "Europe/Moscow"},
      {"BRT", "America/Sao_Paulo"},
      {"ART", "America/Argentina/Buenos_Aires"},
      {"WAT", "Africa/Lagos"},
      {"EAT", "Africa/Addis_Ababa"},
      {"NZST", "Pacific/Auckland"},
      {"NZDT", "Pacific/Auckland"},
  };
  for (const auto& [name, identifier] : kAbbreviations) {
    if (name == abbreviation) return TimeZone(std::string(identifier));
  }
  return std::nullopt;
}

bool TimeZone::isDaylightSavingTime(Date date) const { return offsetsAt(identifier_, date).second != 0; }

std::int64_t TimeZone::secondsFromGMT(Date date) const {
  const auto [raw, dst] = offsetsAt(identifier_, date);
  return (raw + dst) / 1000;
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
