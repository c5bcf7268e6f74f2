// File: platform/dispatch/DispatchTime.h
//
// Deadlines and intervals for dispatch queues and timer sources.
//
//   auto deadline = ios::DispatchTime::now() + 1.5;                    // seconds
//   auto later = deadline + ios::DispatchTimeInterval::milliseconds(250);
//   auto soon = ios::DispatchTime::now() + std::chrono::milliseconds(250);  // chrono durations too
//   timer->schedule(soon, std::chrono::seconds(1));
//
// Fidelity: a deadline is uptime in nanoseconds (the clock seam's uptime reading).
// Interval arithmetic saturates, and `never` / distantFuture stand for "forever".
// Seconds given as a double go through ios::secondsToNanoseconds(), which truncates
// toward zero and stops the process on NaN, infinities and values that do not fit in
// 64 bits, as the platform's arithmetic traps do. A std::chrono duration converts to
// an interval wherever one is expected: whole units are counted in nanoseconds
// (truncated toward zero below a nanosecond, saturated like the named units),
// floating-point ones go through ios::secondsToNanoseconds(). A deadline is a reading
// of the same clock as std::chrono::steady_clock (while a test's manual clock is
// installed, of that clock).
#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <limits>
#include <ratio>
#include <type_traits>

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

  // The interval a std::chrono duration spans (see the banner for rounding and range).
  template <typename Rep, typename Period>
  constexpr DispatchTimeInterval(std::chrono::duration<Rep, Period> duration)  // converts implicitly
      : nanoseconds_(countNanoseconds(duration)) {}

  [[nodiscard]] constexpr bool isNever() const { return nanoseconds_ == kNever; }
  // The interval in nanoseconds (saturated; INT64_MAX for never).
  [[nodiscard]] constexpr std::int64_t nanosecondsValue() const { return nanoseconds_; }
  // The interval as a std::chrono duration (std::chrono::nanoseconds::max() for never).
  [[nodiscard]] constexpr std::chrono::nanoseconds duration() const { return std::chrono::nanoseconds(nanoseconds_); }

  constexpr bool operator==(const DispatchTimeInterval&) const = default;

 private:
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  constexpr explicit DispatchTimeInterval(std::int64_t ns) : nanoseconds_(ns) {}
  static constexpr DispatchTimeInterval scaled(std::int64_t n, std::int64_t unit) {
    if (n > kNever / unit) return DispatchTimeInterval(kNever);
    if (n < std::numeric_limits<std::int64_t>::min() / unit) return DispatchTimeInterval(std::numeric_limits<std::int64_t>::min());
    return DispatchTimeInterval(n * unit);
  }
  template <typename Rep, typename Period>
  static constexpr std::int64_t countNanoseconds(std::chrono::duration<Rep, Period> duration) {
    if constexpr (std::is_floating_point_v<Rep>) {
      return secondsToNanoseconds(std::chrono::duration<double>(duration).count());
    } else {
      // Nanoseconds per unit, as a reduced fraction.
      using PerUnit = std::ratio_divide<Period, std::nano>;
      static_assert(PerUnit::num <= kNever, "a unit longer than the interval's whole range");
      const auto count = static_cast<std::int64_t>(duration.count());
      if constexpr (PerUnit::den == 1) {
        return scaled(count, PerUnit::num).nanoseconds_;
      } else {
        // Finer than a nanosecond: whole nanoseconds, truncated toward zero.
        return count / PerUnit::den * PerUnit::num + count % PerUnit::den * PerUnit::num / PerUnit::den;
      }
    }
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

  // The deadline at a std::chrono::steady_clock time (a time before the clock's start is
  // its start).
  [[nodiscard]] static constexpr DispatchTime fromTimePoint(std::chrono::steady_clock::time_point time) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return DispatchTime(ns < 0 ? 0 : static_cast<std::uint64_t>(ns));
  }

  [[nodiscard]] constexpr std::uint64_t uptimeNanoseconds() const { return ns_; }
  [[nodiscard]] constexpr bool isDistantFuture() const { return ns_ == kForever; }
  // The deadline as a std::chrono::steady_clock time (time_point::max() for
  // distantFuture() and for deadlines beyond that clock's range).
  [[nodiscard]] constexpr std::chrono::steady_clock::time_point timePoint() const {
    using Steady = std::chrono::steady_clock;
    constexpr auto kLimit = std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::duration::max()).count();
    if (ns_ >= static_cast<std::uint64_t>(kLimit)) return Steady::time_point::max();
    return Steady::time_point(
        std::chrono::duration_cast<Steady::duration>(std::chrono::nanoseconds(static_cast<std::int64_t>(ns_))));
  }

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
