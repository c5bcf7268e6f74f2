// File: platform/foundation/Date.h
//
// A point in time: seconds since 2001-01-01 00:00:00 UTC, as a double.
//
//   ios::Date now = ios::Date::now();
//   ios::Date later = now.addingTimeInterval(90);
//   later.timeIntervalSince(now);  // 90
//
// Fidelity: keeps the platform's reference date, its arithmetic and comparisons. The
// current time comes from the clock seam (platform/foundation/Clock.h).
#pragma once

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
  // 2001 ("1e+300", "inf", "nan"): no calendar reaches it.
  [[nodiscard]] std::string description() const;

  static constexpr TimeInterval kTimeIntervalBetween1970AndReferenceDate = 978307200.0;

 private:
  constexpr explicit Date(TimeInterval seconds) : seconds_(seconds) {}
  TimeInterval seconds_ = 0;
};

[[nodiscard]] constexpr Date operator+(Date date, TimeInterval seconds) {
  return date.addingTimeInterval(seconds);
}
[[nodiscard]] constexpr Date operator-(Date date, TimeInterval seconds) {
  return date.addingTimeInterval(-seconds);
}

}  // namespace ios
