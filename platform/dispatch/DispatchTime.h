// File: platform/dispatch/DispatchTime.h
//
// Deadlines and intervals for dispatch queues and timer sources.
//
//   auto deadline = ios::DispatchTime::now() + 1.5;                    // seconds
//   auto later = deadline + ios::DispatchTimeInterval::milliseconds(250);
//
// Fidelity: a deadline is uptime in nanoseconds (the clock seam's uptime reading).
// Interval arithmetic saturates, and `never` / distantFuture stand for "forever".
// Seconds given as a double go through ios::secondsToNanoseconds(), which truncates
// toward zero and stops the process on NaN, infinities and values that do not fit in
// 64 bits, as the platform's arithmetic traps do.
#pragma once

#include <compare>
#include <cstdint>
#include <limits>

namespace ios {

// secondsToNanoseconds()
//
// `seconds` x 1e9 truncated toward zero, as a signed 64-bit count. Stops the process
// when the value is not finite or does not fit.
[[nodiscard]] std::int64_t secondsToNanoseconds(double seconds);

class DispatchTimeInterval {
 public:
  [[nodiscard]] static constexpr DispatchTimeInterval seconds(std::int64_t n) { return scaled(n, 1'000'000'000); }
  [[nodiscard]] static constexpr DispatchTimeInterval milliseconds(std::int64_t n) { return scaled(n, 1'000'000); }
  [[nodiscard]] static constexpr DispatchTimeInterval microseconds(std::int64_t n) { return scaled(n, 1'000); }
  [[nodiscard]] static constexpr DispatchTimeInterval nanoseconds(std::int64_t n) { return DispatchTimeInterval(n); }
  [[nodiscard]] static constexpr DispatchTimeInterval never() { return DispatchTimeInterval(kNever); }

  [[nodiscard]] constexpr bool isNever() const { return nanoseconds_ == kNever; }
  // The interval in nanoseconds (saturated; INT64_MAX for never).
  [[nodiscard]] constexpr std::int64_t nanosecondsValue() const { return nanoseconds_; }

  constexpr bool operator==(const DispatchTimeInterval&) const = default;

 private:
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  constexpr explicit DispatchTimeInterval(std::int64_t ns) : nanoseconds_(ns) {}
  static constexpr DispatchTimeInterval scaled(std::int64_t n, std::int64_t unit) {
    if (n > kNever / unit) return DispatchTimeInterval(kNever);
    if (n < std::numeric_limits<std::int64_t>::min() / unit) return DispatchTimeInterval(std::numeric_limits<std::int64_t>::min());
    return DispatchTimeInterval(n * unit);
  }
  std::int64_t nanoseconds_;
};

class DispatchTime {
 public:
  // The current uptime.
  [[nodiscard]] static DispatchTime now();
  // A deadline that never comes.
  [[nodiscard]] static constexpr DispatchTime distantFuture() { return DispatchTime(kForever); }
  [[nodiscard]] static constexpr DispatchTime fromUptimeNanoseconds(std::uint64_t ns) { return DispatchTime(ns); }

  [[nodiscard]] constexpr std::uint64_t uptimeNanoseconds() const { return ns_; }
  [[nodiscard]] constexpr bool isDistantFuture() const { return ns_ == kForever; }

  // The deadline moved by a signed number of nanoseconds, saturating at zero and at
  // distantFuture().
  [[nodiscard]] constexpr DispatchTime advanced(std::int64_t nanoseconds) const {
    if (isDistantFuture()) return *this;
    if (nanoseconds >= 0) {
      const auto add = static_cast<std::uint64_t>(nanoseconds);
      return DispatchTime(add >= kForever - ns_ ? kForever : ns_ + add);
    }
    const auto sub = static_cast<std::uint64_t>(-(nanoseconds + 1)) + 1;
    return DispatchTime(sub >= ns_ ? 0 : ns_ - sub);
  }

  constexpr auto operator<=>(const DispatchTime&) const = default;

 private:
  static constexpr std::uint64_t kForever = std::numeric_limits<std::uint64_t>::max();
  constexpr explicit DispatchTime(std::uint64_t ns) : ns_(ns) {}
  std::uint64_t ns_ = 0;
};

// A deadline `seconds` after `time` (through secondsToNanoseconds()).
[[nodiscard]] DispatchTime operator+(DispatchTime time, double seconds);
[[nodiscard]] DispatchTime operator-(DispatchTime time, double seconds);
// A deadline `interval` after `time`; never gives distantFuture().
[[nodiscard]] constexpr DispatchTime operator+(DispatchTime time, DispatchTimeInterval interval) {
  if (interval.isNever()) return DispatchTime::distantFuture();
  return time.advanced(interval.nanosecondsValue());
}

}  // namespace ios
