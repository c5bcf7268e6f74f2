#include "KPQuaslet/text/Date+KPExtComponents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Random.h"
#include "tests/support/DateTesting.h"

namespace {

using date_testing::local;
using date_testing::show;
using Component = ios::Calendar::Component;

class DateKPExtComponents : public date_testing::PinnedDateTest {};

TEST_F(DateKPExtComponents, ReadsComponentsQuarterAndMilliseconds) {
  const ios::Date date = local(2020, 10, 1, 14, 5, 6, 0.123);
  EXPECT_EQ(kp::year(date), 2020);
  EXPECT_EQ(kp::month(date), 10);
  EXPECT_EQ(kp::day(date), 1);
  EXPECT_EQ(kp::hour(date), 14);
  EXPECT_EQ(kp::minute(date), 5);
  EXPECT_EQ(kp::second(date), 6);
  EXPECT_EQ(kp::millisecond(date), 123);
  EXPECT_EQ(kp::nanosecond(date), 123'000'000);
  EXPECT_EQ(kp::weekday(date), 5);  // Thursday
  EXPECT_EQ(kp::era(date), 1);
  EXPECT_EQ(kp::weekOfYear(date), 40);
  EXPECT_EQ(kp::weekOfMonth(date), 1);
  EXPECT_EQ(kp::timeZone(date).identifier(), "Europe/Berlin");
  EXPECT_EQ(kp::unixTimestamp(ios::Date::fromTimeIntervalSince1970(12.5)), 12.5);
  const std::int64_t quarters[] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(kp::quarter(local(2020, m, 15)), quarters[m - 1]) << m;
}

TEST_F(DateKPExtComponents, QuarterCountsTheMonthsOfTheCalendarInUse) {
  // n = 13 month names: quarters are ceil(m / 3.25), so month 13 is in the fourth.
  struct Row {
    const char* locale;
    int gregorianMonth, gregorianDay;  // in 2021
    std::int64_t month;
    std::int64_t quarter;
  };
  const Row rows[] = {
      {"en_US@calendar=ethiopic", 9, 7, 13, 4},   // Pagume 2, 2013
      {"en_US@calendar=ethiopic", 6, 15, 10, 4},  // Sene 8
      {"en_US@calendar=ethiopic", 5, 15, 9, 3},   // Ginbot 7
      {"en_US@calendar=ethiopic", 12, 15, 4, 2},  // Tahsas 6, 2014
      {"en_US@calendar=ethiopic", 11, 15, 3, 1},  // Hidar 6, 2014
      {"en_US@calendar=coptic", 9, 7, 13, 4},     // Nasie 2, 1737
      {"en_US", 10, 1, 10, 4},
  };
  for (const Row& row : rows) {
    const ios::Date date = local(2021, row.gregorianMonth, row.gregorianDay, 12);
    ios::testing::ScopedLocale calendar(row.locale);
    EXPECT_EQ(ios::Calendar::current().monthSymbols().size(), row.locale[5] == '@' ? 13u : 12u) << row.locale;
    EXPECT_EQ(kp::month(date), row.month) << row.locale << " " << row.gregorianMonth;
    EXPECT_EQ(kp::quarter(date), row.quarter) << row.locale << " " << row.gregorianMonth;
  }
}

TEST_F(DateKPExtComponents, SettersMoveWithinRangeAndIgnoreValuesOutsideIt) {
  struct Row {
    const char* name;
    ios::Date from;
    void (*set)(ios::Date&, std::int64_t);
    std::int64_t value;
    const char* expected;
  };
  const ios::Date april15 = local(2021, 4, 15, 10, 20, 30);
  const Row rows[] = {
      {"day 31 in April is ignored", april15, kp::setDay, 31, "2021-04-15 10:20:30"},
      {"day 30 in April", april15, kp::setDay, 30, "2021-04-30 10:20:30"},
      {"day 0 is ignored", april15, kp::setDay, 0, "2021-04-15 10:20:30"},
      {"year 0 is ignored", april15, kp::setYear, 0, "2021-04-15 10:20:30"},
      {"negative year is ignored", april15, kp::setYear, -5, "2021-04-15 10:20:30"},
      {"leap day to a common year", local(2020, 2, 29, 8), kp::setYear, 2021, "2021-02-28 08:00:00"},
      {"31 January to February, leap", local(2020, 1, 31, 8), kp::setMonth, 2, "2020-02-29 08:00:00"},
      {"31 January to February", local(2021, 1, 31, 8), kp::setMonth, 2, "2021-02-28 08:00:00"},
      {"month 13 is ignored", april15, kp::setMonth, 13, "2021-04-15 10:20:30"},
      {"hour", april15, kp::setHour, 23, "2021-04-15 23:20:30"},
      {"hour 24 is ignored", april15, kp::setHour, 24, "2021-04-15 10:20:30"},
      {"minute", april15, kp::setMinute, 0, "2021-04-15 10:00:30"},
      {"minute 60 is ignored", april15, kp::setMinute, 60, "2021-04-15 10:20:30"},
      {"second", april15, kp::setSecond, 59, "2021-04-15 10:20:59"},
      {"second -1 is ignored", april15, kp::setSecond, -1, "2021-04-15 10:20:30"},
  };
  for (const Row& row : rows) {
    ios::Date date = row.from;
    row.set(date, row.value);
    EXPECT_EQ(show(date), row.expected) << row.name;
  }
  // An in-place change reads, changes and stores through the same setter.
  ios::Date date = april15;
  kp::setDay(date, kp::day(date) + 16);  // 31 April does not exist
  EXPECT_EQ(show(date), "2021-04-15 10:20:30");
  kp::setDay(date, kp::day(date) + 1);
  EXPECT_EQ(show(date), "2021-04-16 10:20:30");
}

TEST_F(DateKPExtComponents, SubSecondSettersKeepTheWholeSecond) {
  ios::Date date = local(2020, 4, 15, 10, 0, 5, 0.7);
  kp::setMillisecond(date, 200);  // smaller than the current 700: the second stays
  EXPECT_EQ(date_testing::utc(date), "2020-04-15 08:00:05.200");
  EXPECT_EQ(kp::millisecond(date), 200);
  kp::setMillisecond(date, 123);
  EXPECT_EQ(kp::millisecond(date), 123);
  kp::setMillisecond(date, 1000);
  kp::setMillisecond(date, -1);
  EXPECT_EQ(kp::millisecond(date), 123);
  kp::setNanosecond(date, 5'000'000);
  EXPECT_EQ(date_testing::utc(date), "2020-04-15 08:00:05.005");
  kp::setNanosecond(date, 1'000'000'000);
  EXPECT_EQ(kp::nanosecond(date), 5'000'000);
}

TEST_F(DateKPExtComponents, SettingTheHourOnDaylightSavingDaysReadsTheWallClock) {
  ios::testing::ScopedTimeZone newYork("America/New_York");
  ios::Date date = local(2020, 3, 8, 1, 15);  // 01:15 EST, before the clocks spring forward
  kp::setHour(date, 3);
  EXPECT_EQ(show(date, true), "2020-03-08 03:15:00 -0400");
  date = local(2020, 3, 8, 1, 15);
  kp::setHour(date, 2);  // 02:15 does not exist that night
  EXPECT_EQ(show(date, true), "2020-03-08 03:15:00 -0400");
  date = local(2020, 11, 1, 0, 30);
  kp::setHour(date, 2);
  EXPECT_EQ(show(date, true), "2020-11-01 02:30:00 -0500");
  date = local(2020, 11, 1, 0, 30);
  kp::setHour(date, 1);  // the first of the two 01:30s
  EXPECT_EQ(show(date, true), "2020-11-01 01:30:00 -0400");
}

TEST_F(DateKPExtComponents, RoundsToMinuteStepsAtTheirThresholds) {
  using Round = ios::Date (*)(ios::Date);
  struct Row {
    Round round;
    int hour, minute, second;
    const char* expected;
  };
  const Row rows[] = {
      {kp::nearestFiveMinutes, 10, 7, 40, "2020-06-15 10:05:00"},
      {kp::nearestFiveMinutes, 10, 8, 0, "2020-06-15 10:10:00"},
      {kp::nearestFiveMinutes, 10, 58, 0, "2020-06-15 11:00:00"},
      {kp::nearestFiveMinutes, 23, 58, 0, "2020-06-16 00:00:00"},
      {kp::nearestTenMinutes, 10, 15, 0, "2020-06-15 10:10:00"},
      {kp::nearestTenMinutes, 10, 16, 0, "2020-06-15 10:20:00"},
      {kp::nearestQuarterHour, 10, 7, 0, "2020-06-15 10:00:00"},
      {kp::nearestQuarterHour, 10, 8, 0, "2020-06-15 10:15:00"},
      {kp::nearestQuarterHour, 10, 53, 0, "2020-06-15 11:00:00"},
      {kp::nearestHalfHour, 10, 14, 59, "2020-06-15 10:00:00"},
      {kp::nearestHalfHour, 10, 15, 0, "2020-06-15 10:30:00"},
      {kp::nearestHalfHour, 10, 45, 0, "2020-06-15 11:00:00"},
      {kp::nearestHour, 10, 29, 59, "2020-06-15 10:00:00"},
      {kp::nearestHour, 10, 30, 0, "2020-06-15 11:00:00"},
      {kp::nearestHour, 23, 30, 0, "2020-06-16 00:00:00"},
  };
  for (const Row& row : rows) {
    const ios::Date date = local(2020, 6, 15, row.hour, row.minute, row.second, 0.5);
    EXPECT_EQ(date_testing::utc(row.round(date)).substr(20), "000") << row.expected;
    EXPECT_EQ(show(row.round(date)), row.expected);
  }
}

TEST_F(DateKPExtComponents, RoundingInTheRepeatedHourKeepsTheOccurrence) {
  ios::testing::ScopedTimeZone newYork("America/New_York");
  // 01:07 EST, the second time the clocks show 01:07 on 1 November 2020.
  const ios::Date second = ios::Date::fromTimeIntervalSince1970(1604210400 + 7 * 60);
  ASSERT_EQ(show(second, true), "2020-11-01 01:07:00 -0500");
  EXPECT_EQ(show(kp::nearestFiveMinutes(second), true), "2020-11-01 01:05:00 -0500");
  EXPECT_EQ(show(kp::nearestHour(second), true), "2020-11-01 01:00:00 -0500");
  const ios::Date first = second - 3600;
  EXPECT_EQ(show(kp::nearestFiveMinutes(first), true), "2020-11-01 01:05:00 -0400");
  EXPECT_EQ(show(kp::nearestHour(first + 30 * 60), true), "2020-11-01 01:00:00 -0500");
}

TEST_F(DateKPExtComponents, TestsAgainstNowAndTheCurrentPeriods) {
  // Now: Wednesday 17 June 2020, 12:00 in Berlin.
  ios::testing::ManualClock clock(local(2020, 6, 17, 12).timeIntervalSinceReferenceDate());
  const ios::Date now = ios::Date::now();
  EXPECT_TRUE(kp::isInFuture(now + 0.001));
  EXPECT_FALSE(kp::isInFuture(now));
  EXPECT_TRUE(kp::isInPast(now - 0.001));
  EXPECT_FALSE(kp::isInPast(now));
  EXPECT_TRUE(kp::isInToday(local(2020, 6, 17)));
  EXPECT_TRUE(kp::isInYesterday(local(2020, 6, 16, 23, 59)));
  EXPECT_TRUE(kp::isInTomorrow(local(2020, 6, 18)));
  EXPECT_FALSE(kp::isInTomorrow(local(2020, 6, 19)));
  EXPECT_TRUE(kp::isInWeekend(local(2020, 6, 20)));
  EXPECT_FALSE(kp::isInWeekday(local(2020, 6, 21)));
  EXPECT_TRUE(kp::isWorkday(local(2020, 6, 19)));

  // Sunday 14 June starts the current week with a Sunday-first locale, not a Monday-first one.
  EXPECT_TRUE(kp::isInCurrentWeek(local(2020, 6, 14, 9)));
  EXPECT_FALSE(kp::isInCurrentWeek(local(2020, 6, 21, 9)));
  {
    ios::testing::ScopedLocale german("de_DE");
    EXPECT_FALSE(kp::isInCurrentWeek(local(2020, 6, 14, 9)));
    EXPECT_TRUE(kp::isInCurrentWeek(local(2020, 6, 21, 9)));
  }
  EXPECT_TRUE(kp::isInCurrentMonth(local(2020, 6, 30, 23, 59)));
  EXPECT_FALSE(kp::isInCurrentMonth(local(2020, 7, 1)));
  EXPECT_TRUE(kp::isInCurrentYear(local(2020, 1, 1)));
  EXPECT_FALSE(kp::isInCurrentYear(local(2019, 12, 31, 23, 59, 59)));
}

TEST_F(DateKPExtComponents, OrderingBetweenAndWithin) {
  const ios::Date a = local(2020, 6, 15, 10);
  const ios::Date b = local(2020, 6, 15, 12);
  const ios::Date mid = local(2020, 6, 15, 11);
  EXPECT_TRUE(kp::isGreaterThanDate(b, a));
  EXPECT_FALSE(kp::isGreaterThanDate(a, a));
  EXPECT_TRUE(kp::isLessThanDate(a, b));
  EXPECT_TRUE(kp::equalToDate(a, a));
  for (bool include : {false, true}) {
    EXPECT_TRUE(kp::isBetween(mid, a, b, include));
    EXPECT_TRUE(kp::isBetween(mid, b, a, include));  // bounds in either order
    EXPECT_FALSE(kp::isBetween(b + 1, a, b, include));
    EXPECT_EQ(kp::isBetween(a, a, b, include), include);
    EXPECT_EQ(kp::isBetween(b, b, a, include), include);
    EXPECT_EQ(kp::isBetween(a, a, a, include), include);
    EXPECT_FALSE(kp::isBetween(mid, a, a, include));
  }
  const ios::Date lateEvening = local(2020, 6, 15, 23);
  EXPECT_TRUE(kp::isWithin(lateEvening, 0, Component::day, local(2020, 6, 16, 1)));
  EXPECT_TRUE(kp::isWithin(local(2020, 6, 16, 1), 0, Component::day, lateEvening));
  EXPECT_FALSE(kp::isWithin(lateEvening, 0, Component::day, local(2020, 6, 16, 23)));
  EXPECT_TRUE(kp::isWithin(lateEvening, 1, Component::day, local(2020, 6, 16, 23)));
  EXPECT_TRUE(kp::isWithin(a, 120, Component::minute, b));
  EXPECT_FALSE(kp::isWithin(a, 119, Component::minute, b));
}

TEST_F(DateKPExtComponents, AddingComponentsAndExactDays) {
  ios::Date date = local(2020, 1, 31, 9);
  EXPECT_EQ(show(kp::adding(date, Component::month, 1)), "2020-02-29 09:00:00");
  EXPECT_EQ(show(kp::adding(date, Component::minute, 24 * 60)), "2020-02-01 09:00:00");
  kp::add(date, Component::year, -1);
  EXPECT_EQ(show(date), "2019-01-31 09:00:00");
  // yesterday and tomorrow are 86 400 seconds: the wall clock moves across a change.
  const ios::Date beforeChange = local(2020, 3, 28, 12);
  EXPECT_EQ(show(kp::tomorrow(beforeChange)), "2020-03-29 13:00:00");
  EXPECT_EQ(show(kp::yesterday(kp::tomorrow(beforeChange))), "2020-03-28 12:00:00");
}

TEST_F(DateKPExtComponents, RandomDatesBetweenTwoDatesAreWholeSecondOffsets) {
  const ios::Date from = local(2020, 6, 15, 10);
  EXPECT_EQ(kp::randomDate(from, from), from);
  std::set<double> offsets;
  for (int i = 0; i < 400; ++i) {
    offsets.insert(kp::randomDate(from, from + 10).timeIntervalSince(from));
    offsets.insert(kp::randomDate(from + 10, from).timeIntervalSince(from));
  }
  EXPECT_THAT(offsets, testing::ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));
  // Bounds less than a second apart: the earlier bound.
  EXPECT_EQ(kp::randomDate(from + 0.5, from), from);
  EXPECT_EQ(kp::randomDate(from, from + 0.5), from);

  // The 8 bytes form a signed integer; the remainder's sign is dropped: -1 gives 1.
  ios::testing::ScopedRandomSource source([] { return 0xFFFFFFFFu; });
  EXPECT_EQ(kp::randomDate(from, from + 10).timeIntervalSince(from), 1);
  EXPECT_EQ(kp::randomDate(from + 10, from).timeIntervalSince(from), 1);
}

TEST_F(DateKPExtComponents, RandomDatesInRangesReachTheirBoundsAsRangesAllow) {
  const ios::Date lower = local(2020, 6, 15);
  const ios::Date upper = lower + 100;
  {
    ios::testing::ScopedRandomSource zeros([] { return 0u; });
    EXPECT_EQ(kp::randomDate(kp::DateRange{lower, upper}), lower);
    EXPECT_EQ(kp::randomDate(kp::ClosedDateRange{lower, upper}), lower);
  }
  {
    ios::testing::ScopedRandomSource ones([] { return 0xFFFFFFFFu; });
    EXPECT_LT(kp::randomDate(kp::DateRange{lower, upper}), upper);
    EXPECT_GT(kp::randomDate(kp::DateRange{lower, upper}), upper - 1e-6);
    EXPECT_EQ(kp::randomDate(kp::ClosedDateRange{lower, upper}), upper);
  }
  EXPECT_EQ(kp::randomDate(kp::ClosedDateRange{lower, lower}), lower);
  // A caller's generator: a fixed seed gives a fixed sequence.
  std::mt19937_64 g1(7);
  std::mt19937_64 g2(7);
  for (int i = 0; i < 20; ++i) {
    const ios::Date d = kp::randomDate(kp::DateRange{lower, upper}, g1);
    EXPECT_EQ(d, kp::randomDate(kp::DateRange{lower, upper}, g2));
    EXPECT_TRUE(lower <= d && d < upper);
  }
}

TEST(DateKPExtComponentsDeathTest, RandomDatesNeedUsableBounds) {
  const ios::Date d = ios::Date::fromTimeIntervalSinceReferenceDate(0);
  EXPECT_DEATH((void)kp::randomDate(kp::DateRange{d, d}), "the range is empty");
  EXPECT_DEATH((void)kp::randomDate(kp::ClosedDateRange{d + 1, d}), "bounds are reversed");
  EXPECT_DEATH((void)kp::randomDate(d, ios::Date::fromTimeIntervalSinceReferenceDate(1e300)),
               "fit 64-bit seconds apart");
}

TEST(DateKPExtComponentsDeathTest, AmountsOutOfTheCalendarsRangeStop) {
  const ios::Date d = ios::Date::fromTimeIntervalSinceReferenceDate(0);
  // Three times this is 1 modulo 2^64: a wrapped product would add one month.
  constexpr std::int64_t wrapsToOneMonth = -6148914691236517205;
  struct Row {
    Component component;
    std::int64_t value;
  };
  const Row rows[] = {
      {Component::quarter, wrapsToOneMonth}, {Component::quarter, INT64_MAX}, {Component::quarter, 715827883},
      {Component::month, INT64_MIN},         {Component::day, std::int64_t{1} << 40},
      {Component::second, INT64_MAX},
  };
  for (const Row& row : rows) {
    EXPECT_DEATH((void)kp::adding(d, row.component, row.value), "out of the calendar's range") << row.value;
    ios::Date moved = d;
    EXPECT_DEATH(kp::add(moved, row.component, row.value), "out of the calendar's range") << row.value;
  }
}

}  // namespace
