// File: platform/foundation/Clock.h
//
// The one clock seam of the stand-in. Real time by default; a test installs a manual
// clock and moves it by hand, so time-dependent code runs exactly and instantly.
//
//   ios::testing::ManualClock clock(/*absoluteTime=*/0);
//   clock.advance(1.5);
//   ios::clock::absoluteTime();  // 1.5
//
// Two readings: absolute time (seconds since 2001-01-01 00:00:00 UTC, the wall clock
// dates use) and uptime (monotonic nanoseconds, the clock dispatch deadlines use).
// A manual clock moves both together.
#pragma once

#include <cstdint>

namespace ios::clock {

// Seconds since 2001-01-01 00:00:00 UTC.
[[nodiscard]] double absoluteTime();
// Monotonic nanoseconds since an arbitrary start.
[[nodiscard]] std::uint64_t uptimeNanoseconds();
// Whether a manual clock is installed.
[[nodiscard]] bool isManual();

}  // namespace ios::clock

namespace ios::testing {

// ManualClock
//
// While alive, the process clock stands still except when advance() moves it.
// Only one may be alive at a time.
class ManualClock {
 public:
  explicit ManualClock(double absoluteTime = 0.0, std::uint64_t uptimeNanoseconds = 1'000'000'000);
  ~ManualClock();
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  // Moves both readings forward by `seconds` (which must not be negative).
  void advance(double seconds);
  // Moves both readings forward by `nanoseconds`.
  void advanceNanoseconds(std::uint64_t nanoseconds);
  // Sets the absolute time without moving uptime (the wall clock may jump).
  void setAbsoluteTime(double seconds);
};

}  // namespace ios::testing
