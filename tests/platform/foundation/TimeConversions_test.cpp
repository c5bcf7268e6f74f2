// Conversions between dates, dispatch intervals and deadlines and std::chrono.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/dispatch/DispatchTime.h"
#include "platform/foundation/Date.h"

namespace {

using namespace std::chrono_literals;
using ios::Date;
using ios::DispatchTime;
using ios::DispatchTimeInterval;

TEST(DateChrono, SystemClockTimesMapToTheReferenceDateAndBack) {
  struct Case {
    const char* name;
    std::chrono::sys_time<std::chrono::microseconds> time;
    double sinceReferenceDate;
  };
  const std::chrono::sys_seconds reference{978307200s};
  const Case cases[] = {
      {"the Unix epoch", std::chrono::sys_time<std::chrono::microseconds>{}, -978307200.0},
      {"the reference date", reference, 0.0},
      {"a quarter second after it", reference + 250ms, 0.25},
      {"a microsecond before it", reference - 1us, -0.000001},
      {"2020-01-01", std::chrono::sys_days{std::chrono::year{2020} / 1 / 1}, 599529600.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(Date::fromTimePoint(c.time).timeIntervalSinceReferenceDate(), c.sinceReferenceDate);
    EXPECT_EQ(Date::fromTimeIntervalSinceReferenceDate(c.sinceReferenceDate).timePoint(), c.time);
  }
  // Nanosecond times keep their fraction; seconds since 1970 never lose it to a double.
  const auto precise = std::chrono::sys_time<std::chrono::nanoseconds>{1'700'000'000'123'456'789ns};
  EXPECT_NEAR(Date::fromTimePoint(precise).timeIntervalSince1970(), 1'700'000'000.123456789, 1e-6);
  EXPECT_EQ(Date::fromTimePoint(precise).timePoint(), std::chrono::round<std::chrono::microseconds>(precise));
  // The platform's far dates are within reach.
  for (const Date far : {Date::distantPast(), Date::distantFuture()}) {
    EXPECT_EQ(Date::fromTimePoint(far.timePoint()), far);
  }
}

TEST(DateChrono, DurationsMoveADate) {
  const Date start = Date::fromTimeIntervalSinceReferenceDate(100);
  EXPECT_EQ((start + 90s).timeIntervalSinceReferenceDate(), 190.0);
  EXPECT_EQ((start - 1min).timeIntervalSinceReferenceDate(), 40.0);
  EXPECT_EQ((start + 1500ms).timeIntervalSinceReferenceDate(), 101.5);
  EXPECT_EQ((start + std::chrono::duration<double>(0.25)).timeIntervalSinceReferenceDate(), 100.25);
}

TEST(DateChronoDeathTest, DatesBeyondTheCountStopTheProcess) {
  EXPECT_DEATH((void)Date::fromTimeIntervalSinceReferenceDate(std::nan("")).timePoint(), "too far away");
  EXPECT_DEATH((void)Date::fromTimeIntervalSinceReferenceDate(1e17).timePoint(), "too far away");
}

TEST(DispatchTimeIntervalChrono, DurationsCountInWholeNanoseconds) {
  struct Case {
    const char* name;
    DispatchTimeInterval interval;
    std::int64_t nanoseconds;
  };
  const Case cases[] = {
      {"seconds", 3s, 3'000'000'000},
      {"milliseconds", 250ms, 250'000'000},
      {"negative microseconds", -7us, -7'000},
      {"hours", 2h, 7'200'000'000'000},
      {"picoseconds truncate toward zero", std::chrono::duration<std::int64_t, std::pico>(1'999), 1},
      {"negative picoseconds too", std::chrono::duration<std::int64_t, std::pico>(-1'999), -1},
      {"floating seconds", std::chrono::duration<double>(0.5), 500'000'000},
      {"floating minutes", std::chrono::duration<double, std::ratio<60>>(1.5), 90'000'000'000},
      {"hours past the range saturate", std::chrono::hours(std::numeric_limits<std::int64_t>::max() / 3600),
       std::numeric_limits<std::int64_t>::max()},
      {"and below it", std::chrono::hours(std::numeric_limits<std::int64_t>::min() / 3600),
       std::numeric_limits<std::int64_t>::min()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.interval.nanosecondsValue(), c.nanoseconds);
    EXPECT_EQ(c.interval.duration(), std::chrono::nanoseconds(c.nanoseconds));
  }
  EXPECT_EQ(DispatchTimeInterval(1s), DispatchTimeInterval::seconds(1));
  EXPECT_EQ(DispatchTimeInterval::never().duration(), std::chrono::nanoseconds::max());
}

TEST(DispatchTimeIntervalChronoDeathTest, FloatingDurationsThatCannotBeCountedStop) {
  EXPECT_DEATH((void)DispatchTimeInterval(std::chrono::duration<double>(std::nan(""))), "must be finite");
  EXPECT_DEATH((void)DispatchTimeInterval(std::chrono::duration<double>(1e12)), "too large");
}

TEST(DispatchTimeChrono, DeadlinesAreSteadyClockTimes) {
  const auto start = DispatchTime::fromUptimeNanoseconds(5'000'000'000);
  EXPECT_EQ((start + 250ms).uptimeNanoseconds(), 5'250'000'000u);
  EXPECT_EQ((start + std::chrono::duration<double>(-1.0)).uptimeNanoseconds(), 4'000'000'000u);
  EXPECT_EQ(start.timePoint().time_since_epoch(), 5s);
  EXPECT_EQ(DispatchTime::fromTimePoint(start.timePoint()), start);
  EXPECT_EQ(DispatchTime::fromTimePoint(std::chrono::steady_clock::time_point(-1s)).uptimeNanoseconds(), 0u);
  EXPECT_EQ(DispatchTime::distantFuture().timePoint(), std::chrono::steady_clock::time_point::max());
  // Outside a test's manual clock, now() is steady_clock's reading.
  const auto before = std::chrono::steady_clock::now();
  const auto now = DispatchTime::now().timePoint();
  EXPECT_LE(before, now);
  EXPECT_LE(now, std::chrono::steady_clock::now());
}

}  // namespace
