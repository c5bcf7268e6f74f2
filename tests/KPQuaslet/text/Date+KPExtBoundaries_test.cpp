#include "KPQuaslet/text/Date+KPExtBoundaries.h"

#include <gtest/gtest.h>

#include "KPQuaslet/text/Date+KPExtComponents.h"
#include "tests/support/DateTesting.h"

namespace {

using date_testing::local;
using date_testing::show;
using Component = ios::Calendar::Component;

class DateKPExtBoundaries : public date_testing::PinnedDateTest {};

TEST_F(DateKPExtBoundaries, YearAndMonthStartsAndEnds) {
  const ios::Date date = local(2020, 6, 15, 10, 20);
  EXPECT_EQ(show(kp::startOfYear(date)), "2020-01-01 00:00:00");
  EXPECT_EQ(show(kp::endOfYear(date)), "2020-12-31 00:00:00");
  EXPECT_EQ(show(*kp::end(date, Component::year)), "2020-12-31 23:59:59");
  EXPECT_EQ(show(kp::startOfMonth(date)), "2020-06-01 00:00:00");
  EXPECT_EQ(show(kp::endOfMonth(date)), "2020-06-30 00:00:00");
  EXPECT_EQ(show(*kp::end(date, Component::month)), "2020-06-30 23:59:59");

  const ios::Date lastOfJanuary = local(2021, 1, 31, 18);
  EXPECT_EQ(show(*kp::end(lastOfJanuary, Component::month)), "2021-01-31 23:59:59");
  EXPECT_EQ(show(kp::endOfMonth(local(2020, 2, 10))), "2020-02-29 00:00:00");
  EXPECT_EQ(show(kp::endOfMonth(local(2021, 2, 10))), "2021-02-28 00:00:00");
  EXPECT_EQ(show(*kp::end(local(2020, 2, 29, 12), Component::year)), "2020-12-31 23:59:59");
  EXPECT_EQ(show(*kp::end(local(2020, 2, 29, 12), Component::month)), "2020-02-29 23:59:59");
  EXPECT_EQ(show(kp::startOfYear(local(2021, 1, 1))), "2021-01-01 00:00:00");
}

TEST_F(DateKPExtBoundaries, DayStartsAndEnds) {
  const ios::Date date = local(2020, 6, 15, 15, 30, 12, 0.5);
  EXPECT_EQ(show(kp::zeroOfDay(date)), "2020-06-15 00:00:00");
  EXPECT_EQ(kp::zeroOfDay(date), *kp::beginning(date, Component::day));
  EXPECT_EQ(show(kp::endOfDay(date)), "2020-06-15 23:59:59");
  EXPECT_EQ(show(*kp::end(date, Component::day)), "2020-06-15 23:59:59");
}

TEST_F(DateKPExtBoundaries, DayEndsOnDaylightSavingDays) {
  // 23- and 25-hour days in Berlin and New York, and a skipped midnight in Sao Paulo.
  struct Row {
    const char* zone;
    int year, month, day;
    const char* start;
    const char* end;
  };
  const Row rows[] = {
      {"Europe/Berlin", 2020, 3, 29, "2020-03-29 00:00:00 +0100", "2020-03-29 23:59:59 +0200"},
      {"Europe/Berlin", 2020, 10, 25, "2020-10-25 00:00:00 +0200", "2020-10-25 23:59:59 +0100"},
      {"America/New_York", 2020, 3, 8, "2020-03-08 00:00:00 -0500", "2020-03-08 23:59:59 -0400"},
      {"America/New_York", 2020, 11, 1, "2020-11-01 00:00:00 -0400", "2020-11-01 23:59:59 -0500"},
      {"America/Sao_Paulo", 2018, 11, 4, "2018-11-04 01:00:00 -0200", "2018-11-04 23:59:59 -0200"},
      {"America/Sao_Paulo", 2018, 11, 3, "2018-11-03 00:00:00 -0300", "2018-11-03 23:59:59 -0300"},
      {"America/Sao_Paulo", 2019, 2, 16, "2019-02-16 00:00:00 -0200", "2019-02-16 23:59:59 -0300"},
  };
  for (const Row& row : rows) {
    ios::testing::ScopedTimeZone zone(row.zone);
    const ios::Date date = local(row.year, row.month, row.day, 15);
    EXPECT_EQ(show(kp::zeroOfDay(date), true), row.start) << row.zone;
    EXPECT_EQ(show(kp::endOfDay(date), true), row.end) << row.zone;
    EXPECT_EQ(kp::endOfDay(date), *kp::end(date, Component::day)) << row.zone;
  }
}

TEST_F(DateKPExtBoundaries, WeekStartsNeverLieAfterTheDate) {
  struct Row {
    const char* locale;
    int day;  // in June 2020; 17 is a Wednesday, 21 a Sunday
    std::optional<std::int64_t> weekday;
    const char* start;
    const char* end;
  };
  const Row rows[] = {
      {"de_DE", 17, 2, "2020-06-15 00:00:00", "2020-06-21 23:59:59"},
      {"en_US", 17, 2, "2020-06-15 00:00:00", "2020-06-21 23:59:59"},
      // A Sunday in a Sunday-first locale, with weeks starting on Monday: the Monday before.
      {"en_US", 21, 2, "2020-06-15 00:00:00", "2020-06-21 23:59:59"},
      {"de_DE", 21, std::nullopt, "2020-06-21 00:00:00", "2020-06-27 23:59:59"},
      {"de_DE", 20, 1, "2020-06-14 00:00:00", "2020-06-20 23:59:59"},
      {"en_US", 17, 7, "2020-06-13 00:00:00", "2020-06-19 23:59:59"},
  };
  for (const Row& row : rows) {
    ios::testing::ScopedLocale locale(row.locale);
    const ios::Date date = local(2020, 6, row.day, 12);
    const ios::Date start = kp::startOfWeek(date, row.weekday);
    EXPECT_EQ(show(start), row.start) << row.locale << " " << row.day;
    EXPECT_EQ(show(kp::endOfWeek(date, row.weekday.value_or(1))), row.end) << row.locale << " " << row.day;
    EXPECT_LE(start, date);
    EXPECT_LT(date, start + 7 * 86400);
  }
  // Over the turn of the year, and across the change to summer time.
  ios::testing::ScopedLocale german("de_DE");
  EXPECT_EQ(show(kp::startOfWeek(local(2021, 1, 1), 2)), "2020-12-28 00:00:00");
  EXPECT_EQ(show(kp::endOfWeek(local(2020, 12, 31), 2)), "2021-01-03 23:59:59");
  EXPECT_EQ(show(kp::endOfWeek(local(2020, 3, 25), 2), true), "2020-03-29 23:59:59 +0200");
}

TEST_F(DateKPExtBoundaries, CalendarWeeksFollowTheLocalesFirstWeekday) {
  const ios::Date sunday = local(2020, 6, 21, 12);
  EXPECT_EQ(show(kp::firstDateInThisWeek(sunday)), "2020-06-21 00:00:00");
  EXPECT_EQ(show(*kp::beginning(sunday, Component::weekOfYear)), "2020-06-21 00:00:00");
  EXPECT_EQ(show(*kp::end(sunday, Component::weekOfMonth)), "2020-06-27 23:59:59");
  ios::testing::ScopedLocale german("de_DE");
  EXPECT_EQ(show(kp::firstDateInThisWeek(sunday)), "2020-06-15 00:00:00");
  EXPECT_EQ(show(*kp::beginning(sunday, Component::weekOfMonth)), "2020-06-15 00:00:00");
  EXPECT_EQ(show(*kp::end(sunday, Component::weekOfYear)), "2020-06-21 23:59:59");
}

TEST_F(DateKPExtBoundaries, StartOfWeekDayIsTheFirstSuchWeekdayOfTheMonth) {
  EXPECT_EQ(show(kp::startOfWeekDay(local(2020, 6, 17, 12))), "2020-06-03 00:00:00");  // Wednesday
  EXPECT_EQ(show(kp::startOfWeekDay(local(2020, 6, 1, 12))), "2020-06-01 00:00:00");   // Monday
  EXPECT_EQ(show(kp::startOfWeekDay(local(2020, 6, 30, 12))), "2020-06-02 00:00:00");  // Tuesday
}

TEST_F(DateKPExtBoundaries, BeginningAndEndOfSmallUnits) {
  const ios::Date date = local(2020, 6, 15, 10, 0, 5, 0.3);
  EXPECT_EQ(date_testing::utc(*kp::beginning(date, Component::second)), "2020-06-15 08:00:05.000");
  EXPECT_EQ(date_testing::utc(*kp::end(date, Component::second)), "2020-06-15 08:00:05.000");
  EXPECT_EQ(show(*kp::beginning(date, Component::minute)), "2020-06-15 10:00:00");
  EXPECT_EQ(show(*kp::end(date, Component::minute)), "2020-06-15 10:00:59");
  EXPECT_EQ(show(*kp::beginning(date, Component::hour)), "2020-06-15 10:00:00");
  EXPECT_EQ(show(*kp::end(date, Component::hour)), "2020-06-15 10:59:59");
  EXPECT_EQ(show(*kp::beginning(date, Component::month)), "2020-06-01 00:00:00");
  EXPECT_EQ(show(*kp::beginning(date, Component::year)), "2020-01-01 00:00:00");
  for (Component c : {Component::quarter, Component::weekday, Component::era, Component::nanosecond,
                      Component::weekdayOrdinal, Component::yearForWeekOfYear}) {
    EXPECT_FALSE(kp::beginning(date, c));
    EXPECT_FALSE(kp::end(date, c));
  }
}

TEST_F(DateKPExtBoundaries, HourBoundariesInTheRepeatedHour) {
  ios::testing::ScopedTimeZone newYork("America/New_York");
  const ios::Date firstPass = ios::Date::fromTimeIntervalSince1970(1604206800 + 20 * 60);  // 01:20 EDT
  ASSERT_EQ(show(firstPass, true), "2020-11-01 01:20:00 -0400");
  EXPECT_EQ(show(*kp::beginning(firstPass, Component::hour), true), "2020-11-01 01:00:00 -0400");
  EXPECT_EQ(show(*kp::end(firstPass, Component::hour), true), "2020-11-01 01:59:59 -0400");
  const ios::Date secondPass = firstPass + 3600;  // 01:20 EST
  EXPECT_EQ(show(*kp::beginning(secondPass, Component::hour), true), "2020-11-01 01:00:00 -0500");
  EXPECT_EQ(show(*kp::end(secondPass, Component::minute), true), "2020-11-01 01:20:59 -0500");
}

TEST_F(DateKPExtBoundaries, HoursWhereTheOffsetChangesByHalfAnHour) {
  // Lord Howe Island: on 4 April 2021 the clock goes back from 02:00 +11:00 to 01:30
  // +10:30, so 01:30 to 02:00 happens twice; on 3 October 2021 it skips 02:00 to 02:30.
  ios::testing::ScopedTimeZone lordHowe("Australia/Lord_Howe");
  const double backUtc = 1617462000;  // 2021-04-03 15:00 UTC: 02:00 +11:00 becomes 01:30 +10:30
  const double forwardUtc = 1633188600;  // 2021-10-02 15:30 UTC: 02:00 +10:30 becomes 02:30 +11:00
  struct Row {
    double utcSeconds;
    const char* date;
    const char* beginning;
    const char* end;
    const char* nearest;
  };
  const Row rows[] = {
      {backUtc + 5 * 60, "2021-04-04 01:35:00 +1030", "2021-04-04 01:00:00 +1100", "2021-04-04 01:59:59 +1030",
       "2021-04-04 02:00:00 +1030"},
      {backUtc - 15 * 60, "2021-04-04 01:45:00 +1100", "2021-04-04 01:00:00 +1100", "2021-04-04 01:59:59 +1030",
       "2021-04-04 02:00:00 +1030"},
      {backUtc - 50 * 60, "2021-04-04 01:10:00 +1100", "2021-04-04 01:00:00 +1100", "2021-04-04 01:59:59 +1030",
       "2021-04-04 01:00:00 +1100"},
      {backUtc + 40 * 60, "2021-04-04 02:10:00 +1030", "2021-04-04 02:00:00 +1030", "2021-04-04 02:59:59 +1030",
       "2021-04-04 02:00:00 +1030"},
      {forwardUtc - 15 * 60, "2021-10-03 01:45:00 +1030", "2021-10-03 01:00:00 +1030", "2021-10-03 01:59:59 +1030",
       "2021-10-03 02:30:00 +1100"},
      {forwardUtc + 10 * 60, "2021-10-03 02:40:00 +1100", "2021-10-03 02:30:00 +1100", "2021-10-03 02:59:59 +1100",
       "2021-10-03 03:00:00 +1100"},
  };
  for (const Row& row : rows) {
    const ios::Date date = ios::Date::fromTimeIntervalSince1970(row.utcSeconds);
    ASSERT_EQ(show(date, true), row.date);
    EXPECT_EQ(show(*kp::beginning(date, Component::hour), true), row.beginning) << row.date;
    EXPECT_EQ(show(*kp::end(date, Component::hour), true), row.end) << row.date;
    EXPECT_EQ(show(kp::nearestHour(date), true), row.nearest) << row.date;
    EXPECT_LE(*kp::beginning(date, Component::hour), date) << row.date;
    EXPECT_GE(*kp::end(date, Component::hour) + 1, date) << row.date;
  }
}

}  // namespace
