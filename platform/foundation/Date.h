// File: platform/foundation/Date.h
//
// A point in time: seconds since 2001-01-01 00:00:00 UTC, as a double.
//
//   ios::Date now = ios::Date::now();
//   ios::Date later = now.addingTimeInterval(90);
//   later.timeIntervalSince(now);  // 90
//   auto soon = now + std::chrono::minutes(5);               // chrono durations too
//   std::chrono::system_clock::time_point t = now.timePoint();
//   ios::Date::fromTimePoint(std::chrono::system_clock::now());
//
// Fidelity: keeps the platform's reference date, its arithmetic and comparisons. The
// current time comes from the clock seam (platform/foundation/Clock.h). A date converts
// to and from std::chrono::system_clock times (Unix time, as C++20 defines that clock)
// to the microsecond.
#pragma once

#include <chrono>
#include <compare>
#include <string>

#include "platform/foundation/ComparisonResult.h"

namespace ios {

using TimeInterval = double;

class Date {
 public:
  // The reference date itself (2001-01-01 00:00:00 UTC).
  constexpr Date() = default;

  // The current instant.
  [[nodiscard]] static Date now();
  [[nodiscard]] static constexpr Date fromTimeIntervalSinceReferenceDate(TimeInterval seconds) {
    return Date(seconds);
  }
  [[nodiscard]] static constexpr Date fromTimeIntervalSince1970(TimeInterval seconds) {
    return Date(seconds - kTimeIntervalBetween1970AndReferenceDate);
  }
  // The date of a std::chrono::system_clock time, of any precision.
  template <typename Duration>
  [[nodiscard]] static constexpr Date fromTimePoint(std::chrono::sys_time<Duration> time) {
    // Measured from the reference date in the time's own unit, so that the seconds
    // since 1970 never pass through a double.
    using Common = std::common_type_t<Duration, std::chrono::seconds>;
    const auto sinceReference = std::chrono::time_point_cast<Common>(time) - referenceTimePoint();
    return Date(std::chrono::duration<double>(sinceReference).count());
  }
  // A date far in the past / future, as the platform defines them.
  [[nodiscard]] static constexpr Date distantPast() { return Date(-63114076800.0); }
  [[nodiscard]] static constexpr Date distantFuture() { return Date(63113904000.0); }

  [[nodiscard]] constexpr TimeInterval timeIntervalSinceReferenceDate() const { return seconds_; }
  [[nodiscard]] constexpr TimeInterval timeIntervalSince1970() const {
    return seconds_ + kTimeIntervalBetween1970AndReferenceDate;
  }
  // Seconds from `other` to this date (negative when this date is earlier).
  [[nodiscard]] constexpr TimeInterval timeIntervalSince(Date other) const {
    return seconds_ - other.seconds_;
  }
  // Seconds from now to this date.
  [[nodiscard]] TimeInterval timeIntervalSinceNow() const;
  [[nodiscard]] constexpr Date addingTimeInterval(TimeInterval seconds) const {
    return Date(seconds_ + seconds);
  }
  // The date as a std::chrono::system_clock time, rounded to the nearest microsecond
  // (microseconds reach distantPast() and distantFuture(), nanoseconds would not). A
  // date too far away for that count (about 292,000 years) or not a number stops the
  // process.
  [[nodiscard]] std::chrono::sys_time<std::chrono::microseconds> timePoint() const;

  constexpr auto operator<=>(const Date&) const = default;

  // orderedAscending when this date is earlier than `other`, orderedDescending when it
  // is later, orderedSame when they are the same instant.
  [[nodiscard]] constexpr ComparisonResult compare(Date other) const {
    if (seconds_ < other.seconds_) return ComparisonResult::orderedAscending;
    if (seconds_ > other.seconds_) return ComparisonResult::orderedDescending;
    return ComparisonResult::orderedSame;
  }

  // "2001-01-01 00:00:00 +0000": the platform's description, in UTC. A date more than
  // about 300 million years from 1970, or not finite, is written as its seconds since
  // 2001 ("1e+300", "inf", "nan"; '.' as the decimal point whatever the C numeric
  // locale): no calendar reaches it.
  [[nodiscard]] std::string description() const;

  static constexpr TimeInterval kTimeIntervalBetween1970AndReferenceDate = 978307200.0;

 private:
  static constexpr std::chrono::sys_seconds referenceTimePoint() {
    return std::chrono::sys_seconds(std::chrono::seconds(978307200));
  }

  constexpr explicit Date(TimeInterval seconds) : seconds_(seconds) {}
  TimeInterval seconds_ = 0;
};

[[nodiscard]] constexpr Date operator+(Date date, TimeInterval seconds) {
  return date.addingTimeInterval(seconds);
}
[[nodiscard]] constexpr Date operator-(Date date, TimeInterval seconds) {
  return date.addingTimeInterval(-seconds);
}
// The date moved by a std::chrono duration.
template <typename Rep, typename Period>
[[nodiscard]] constexpr Date operator+(Date date, std::chrono::duration<Rep, Period> duration) {
  return date.addingTimeInterval(std::chrono::duration<double>(duration).count());
}
template <typename Rep, typename Period>
[[nodiscard]] constexpr Date operator-(Date date, std::chrono::duration<Rep, Period> duration) {
  return date.addingTimeInterval(-std::chrono::duration<double>(duration).count());
}

}  // namespace ios
