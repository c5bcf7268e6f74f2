#include "platform/foundation/Calendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "tests/support/DateTesting.h"

namespace {

using date_testing::local;
using date_testing::show;
using ios::Calendar;
using Component = ios::Calendar::Component;

class CalendarTest : public date_testing::PinnedDateTest {};

TEST_F(CalendarTest, ReadsComponentsInTheCurrentZoneAfreshOnEachCall) {
  // 2020-06-15 08:20:30.123 UTC, a Monday.
  const ios::Date date = ios::Date::fromTimeIntervalSince1970(1592209230.123);
  const auto parts = Calendar::current().dateComponents(
      {Component::era, Component::year, Component::month, Component::day, Component::hour, Component::minute,
       Component::second, Component::nanosecond, Component::weekday, Component::quarter},
      date);
  EXPECT_EQ(parts.description(),
            "era: 1 year: 2020 month: 6 day: 15 hour: 10 minute: 20 second: 30 nanosecond: 123000000 weekday: 2 "
            "quarter: 2");
  ios::testing::ScopedTimeZone tokyo("Asia/Tokyo");
  EXPECT_EQ(Calendar::current().component(Component::hour, date), 17);
  EXPECT_EQ(Calendar::current().timeZone().identifier(), "Asia/Tokyo");
}

TEST_F(CalendarTest, FirstWeekdayAndWeekRulesComeFromTheLocaleUnlessSet) {
  EXPECT_EQ(Calendar::current().firstWeekday(), 1);
  EXPECT_EQ(Calendar::current().identifier(), "gregorian");
  {
    ios::testing::ScopedLocale german("de_DE");
    EXPECT_EQ(Calendar::current().firstWeekday(), 2);
    EXPECT_EQ(Calendar::current().minimumDaysInFirstWeek(), 4);
  }
  {
    ios::testing::ScopedLocale thai("th_TH");
    EXPECT_EQ(Calendar::current().identifier(), "buddhist");
    EXPECT_EQ(Calendar::current().component(Component::year, ios::Date::fromTimeIntervalSince1970(1583298367)), 2563);
  }
  const Calendar iso(Calendar::Identifier::iso8601);
  EXPECT_EQ(iso.identifier(), "iso8601");
  EXPECT_EQ(iso.firstWeekday(), 2);
  EXPECT_EQ(iso.minimumDaysInFirstWeek(), 4);
  const Calendar japanese(Calendar::Identifier::japanese);
  EXPECT_EQ(japanese.component(Component::year, ios::Date::fromTimeIntervalSince1970(1583298367)), 2);  // Reiwa 2
  Calendar calendar = Calendar::current();
  calendar.setFirstWeekday(2);
  EXPECT_EQ(calendar.firstWeekday(), 2);
  EXPECT_EQ(calendar.monthSymbols().size(), 12u);
  EXPECT_EQ(calendar.monthSymbols().front(), "January");
}

TEST_F(CalendarTest, AdditionsPinMonthEndsKeepWallTimeForDaysAndAddElapsedHours) {
  const Calendar calendar = Calendar::current();
  struct Row {
    const char* name;
    ios::Date from;
    Component component;
    std::int64_t value;
    const char* expected;
  };
  const Row rows[] = {
      {"month end in a leap year", local(2020, 1, 31, 9), Component::month, 1, "2020-02-29 09:00:00 +0100"},
      {"month end in a common year", local(2021, 1, 31, 9), Component::month, 1, "2021-02-28 09:00:00 +0100"},
      {"leap day plus a year", local(2020, 2, 29, 9), Component::year, 1, "2021-02-28 09:00:00 +0100"},
      {"day across spring forward", local(2020, 3, 28, 12), Component::day, 1, "2020-03-29 12:00:00 +0200"},
      {"week across fall back", local(2020, 10, 20, 12), Component::weekOfYear, 1, "2020-10-27 12:00:00 +0100"},
      {"hours are elapsed time", local(2020, 3, 29, 1, 30), Component::hour, 1, "2020-03-29 03:30:00 +0200"},
      {"minutes carry into the day", local(2020, 12, 31, 23, 58), Component::minute, 3,
       "2021-01-01 00:01:00 +0100"},
      {"quarter", local(2020, 11, 30), Component::quarter, 1, "2021-02-28 00:00:00 +0100"},
      {"negative day", local(2020, 3, 1), Component::day, -1, "2020-02-29 00:00:00 +0100"},
  };
  for (const Row& row : rows) {
    auto result = calendar.dateByAdding(row.component, row.value, row.from);
    ASSERT_TRUE(result) << row.name;
    EXPECT_EQ(show(*result, true), row.expected) << row.name;
  }
  ios::DateComponents offset;
  offset.month = 1;
  offset.day = -1;
  EXPECT_EQ(show(*calendar.dateByAdding(offset, local(2021, 2, 1)), true), "2021-02-28 00:00:00 +0100");
  EXPECT_EQ(show(*calendar.dateByAdding(Component::day, 5, local(2020, 1, 30), /*wrappingComponents=*/true)),
            "2020-01-04 00:00:00");
  EXPECT_FALSE(calendar.dateByAdding(Component::day, std::int64_t{1} << 40, local(2020, 1, 1)));
  // Fractions of a second survive calendar arithmetic.
  EXPECT_DOUBLE_EQ(calendar.dateByAdding(Component::day, 1, local(2020, 1, 1, 0, 0, 0, 0.25))->timeIntervalSince(
                       local(2020, 1, 2)),
                   0.25);
}

TEST_F(CalendarTest, SkippedWallTimesMoveForwardAndRepeatedOnesTakeTheFirstOccurrence) {
  EXPECT_EQ(show(local(2020, 3, 29, 2, 30), true), "2020-03-29 03:30:00 +0200");
  EXPECT_EQ(show(local(2020, 10, 25, 2, 30), true), "2020-10-25 02:30:00 +0200");
  ios::testing::ScopedTimeZone saoPaulo("America/Sao_Paulo");
  // Daylight-saving time began at midnight on 4 November 2018: the day starts at 01:00.
  EXPECT_EQ(show(local(2018, 11, 4), true), "2018-11-04 01:00:00 -0200");
  const Calendar calendar = Calendar::current();
  auto day = calendar.dateInterval(Component::day, local(2018, 11, 4, 15));
  ASSERT_TRUE(day);
  EXPECT_EQ(show(day->start, true), "2018-11-04 01:00:00 -0200");
  EXPECT_EQ(day->duration, 23 * 3600);
  EXPECT_EQ(show(calendar.startOfDay(local(2018, 11, 4, 0, 30)), true), "2018-11-04 01:00:00 -0200");
  // The day before ends at 01:00 of the next one, still 24 hours after its start.
  EXPECT_EQ(calendar.dateInterval(Component::day, local(2018, 11, 3, 15))->duration, 24 * 3600);
}

TEST_F(CalendarTest, PeriodsContainTheDateAndSpanTheirUnit) {
  const Calendar calendar = Calendar::current();
  const ios::Date date = local(2020, 10, 25, 14, 20, 30, 0.5);  // a 25-hour Sunday
  struct Row {
    Component component;
    const char* start;
    double duration;
  };
  const Row rows[] = {
      {Component::second, "2020-10-25 14:20:30", 1},
      {Component::minute, "2020-10-25 14:20:00", 60},
      {Component::hour, "2020-10-25 14:00:00", 3600},
      {Component::day, "2020-10-25 00:00:00", 25 * 3600},
      {Component::weekOfYear, "2020-10-25 00:00:00", 7 * 86400 + 3600},  // en_US weeks start on Sunday
      {Component::month, "2020-10-01 00:00:00", 31 * 86400 + 3600},
      {Component::quarter, "2020-10-01 00:00:00", 92 * 86400 + 3600},
      {Component::year, "2020-01-01 00:00:00", 366 * 86400},
  };
  for (const Row& row : rows) {
    auto period = calendar.dateInterval(row.component, date);
    ASSERT_TRUE(period);
    EXPECT_EQ(show(period->start), row.start);
    EXPECT_EQ(period->duration, row.duration) << row.start;
    EXPECT_TRUE(period->contains(date));
  }
  EXPECT_FALSE(calendar.dateInterval(Component::era, date));
  EXPECT_FALSE(calendar.dateInterval(Component::nanosecond, date));
}

TEST_F(CalendarTest, AnHourInTheRepeatedHourKeepsItsOwnOccurrence) {
  const Calendar calendar = Calendar::current();
  // 02:40 +0100, the second time the clocks show 02:40 that night.
  const ios::Date secondPass = ios::Date::fromTimeIntervalSince1970(1603587600 + 40 * 60);
  ASSERT_EQ(show(secondPass, true), "2020-10-25 02:40:00 +0100");
  EXPECT_EQ(show(calendar.dateInterval(Component::hour, secondPass)->start, true), "2020-10-25 02:00:00 +0100");
  EXPECT_EQ(show(calendar.dateInterval(Component::minute, secondPass)->start, true), "2020-10-25 02:40:00 +0100");
}

TEST_F(CalendarTest, WeeksStartOnTheFirstWeekday) {
  const ios::Date sunday = local(2020, 6, 21, 10);
  const ios::Date wednesday = local(2020, 6, 17, 10);
  Calendar calendar = Calendar::current();
  EXPECT_EQ(show(calendar.dateInterval(Component::weekOfYear, sunday)->start), "2020-06-21 00:00:00");
  calendar.setFirstWeekday(2);
  EXPECT_EQ(show(calendar.dateInterval(Component::weekOfYear, sunday)->start), "2020-06-15 00:00:00");
  EXPECT_EQ(show(calendar.dateInterval(Component::weekOfYear, wednesday)->start), "2020-06-15 00:00:00");
  // A week over the turn of the year.
  EXPECT_EQ(show(calendar.dateInterval(Component::weekOfYear, local(2021, 1, 1))->start), "2020-12-28 00:00:00");
  // Week fields name the first day of the week.
  ios::DateComponents week;
  week.yearForWeekOfYear = 2020;
  week.weekOfYear = 25;
  ios::testing::ScopedLocale german("de_DE");
  EXPECT_EQ(show(*Calendar::current().dateFrom(week)), "2020-06-15 00:00:00");
  EXPECT_EQ(Calendar::current().component(Component::weekOfYear, sunday), 25);
}

TEST_F(CalendarTest, RangesOfComponentsWithinTheirPeriod) {
  const Calendar calendar = Calendar::current();
  using R = Calendar::Range;
  EXPECT_EQ(calendar.range(Component::day, Component::month, local(2021, 4, 15)), (R{1, 31}));
  EXPECT_EQ(calendar.range(Component::day, Component::month, local(2020, 2, 15)), (R{1, 30}));
  EXPECT_EQ(calendar.range(Component::day, Component::month, local(2021, 2, 15)), (R{1, 29}));
  EXPECT_EQ(calendar.range(Component::day, Component::year, local(2020, 2, 15)), (R{1, 367}));
  EXPECT_EQ(calendar.range(Component::month, Component::year, local(2020, 2, 15)), (R{1, 13}));
  EXPECT_EQ(calendar.range(Component::hour, Component::day, local(2020, 3, 29)), (R{0, 24}));
  EXPECT_EQ(calendar.range(Component::minute, Component::hour, local(2020, 3, 29)), (R{0, 60}));
  EXPECT_EQ(calendar.range(Component::second, Component::minute, local(2020, 3, 29)), (R{0, 60}));
  EXPECT_EQ(calendar.range(Component::nanosecond, Component::second, local(2020, 3, 29)), (R{0, 1'000'000'000}));
  EXPECT_EQ(calendar.range(Component::weekday, Component::weekOfYear, local(2020, 3, 29)), (R{1, 8}));
  EXPECT_FALSE(calendar.range(Component::year, Component::month, local(2020, 3, 29)));
}

TEST_F(CalendarTest, DifferencesAreSplitLargestFirst) {
  ios::testing::ScopedTimeZone utc("UTC");
  const Calendar calendar = Calendar::current();
  const std::set<Component> all = {Component::year,   Component::month,  Component::weekOfYear, Component::day,
                                   Component::hour,   Component::minute, Component::second};
  const ios::Date start = local(2020, 1, 1);
  const ios::Date end = local(2021, 3, 10, 3, 4, 5);
  EXPECT_EQ(calendar.dateComponents(all, start, end).description(),
            "year: 1 month: 2 day: 2 hour: 3 minute: 4 second: 5 weekOfYear: 1");
  EXPECT_EQ(calendar.dateComponents(all, end, start).description(),
            "year: -1 month: -2 day: -2 hour: -3 minute: -4 second: -5 weekOfYear: -1");
  // A single unit counts only whole units of it.
  EXPECT_EQ(calendar.dateComponents({Component::day}, local(2020, 1, 1, 23), local(2020, 1, 2, 1)).day, 0);
  EXPECT_EQ(calendar.dateComponents({Component::day}, local(2020, 1, 1, 23), local(2020, 1, 2, 23)).day, 1);
  EXPECT_EQ(calendar.dateComponents({Component::second}, start, local(2120, 1, 1)).second, 3155673600);
  // A second that has not fully elapsed is not counted.
  const auto sub = calendar.dateComponents({Component::second, Component::nanosecond}, start + 0.75, start + 2.25);
  EXPECT_EQ(sub.second, 1);
  EXPECT_EQ(sub.nanosecond, 500'000'000);
  // A month is counted when adding it does not pass the end: 31 January + 1 month is 28 February.
  EXPECT_EQ(calendar.dateComponents({Component::month}, local(2021, 1, 31), local(2021, 2, 28)).month, 1);
  EXPECT_EQ(calendar.dateComponents({Component::month}, local(2021, 1, 31), local(2021, 2, 27)).month, 0);
}

TEST_F(CalendarTest, TodayYesterdayTomorrowFollowTheClockInTheCalendarsZone) {
  // 2020-06-15 23:30 in Berlin.
  ios::testing::ManualClock clock(local(2020, 6, 15, 23, 30).timeIntervalSinceReferenceDate());
  const Calendar calendar = Calendar::current();
  EXPECT_TRUE(calendar.isDateInToday(local(2020, 6, 15)));
  EXPECT_TRUE(calendar.isDateInToday(local(2020, 6, 15, 23, 59, 59)));
  EXPECT_FALSE(calendar.isDateInToday(local(2020, 6, 16)));
  EXPECT_TRUE(calendar.isDateInTomorrow(local(2020, 6, 16)));
  EXPECT_TRUE(calendar.isDateInYesterday(local(2020, 6, 14, 0, 0, 1)));
  EXPECT_FALSE(calendar.isDateInYesterday(local(2020, 6, 13, 23, 59, 59)));
  clock.advance(3600);  // 00:30 on the 16th
  EXPECT_TRUE(calendar.isDateInYesterday(local(2020, 6, 15, 12)));
  // The same instant is another day in another zone.
  ios::testing::ScopedTimeZone newYork("America/New_York");
  EXPECT_TRUE(Calendar::current().isDateInToday(local(2020, 6, 15, 12)));
}

TEST_F(CalendarTest, WeekendsAreTheLocalesAndGranularityComparesPeriods) {
  const ios::Date friday = local(2020, 6, 19, 12);
  const ios::Date saturday = local(2020, 6, 20, 12);
  const ios::Date sunday = local(2020, 6, 21, 12);
  const Calendar calendar = Calendar::current();
  EXPECT_FALSE(calendar.isDateInWeekend(friday));
  EXPECT_TRUE(calendar.isDateInWeekend(saturday));
  EXPECT_TRUE(calendar.isDateInWeekend(sunday));
  {
    ios::testing::ScopedLocale israel("he_IL");
    EXPECT_TRUE(Calendar::current().isDateInWeekend(friday));
    EXPECT_FALSE(Calendar::current().isDateInWeekend(sunday));
  }
  EXPECT_EQ(calendar.compare(friday, sunday, Component::weekOfYear), ios::ComparisonResult::orderedAscending);
  EXPECT_EQ(calendar.compare(sunday, friday, Component::month), ios::ComparisonResult::orderedSame);
  EXPECT_EQ(calendar.compare(sunday, friday, Component::day), ios::ComparisonResult::orderedDescending);
  EXPECT_TRUE(calendar.isDate(friday, saturday, Component::weekOfYear));
  EXPECT_TRUE(calendar.isDateInSameDayAs(friday, local(2020, 6, 19)));
}

TEST_F(CalendarTest, SettingAComponentFindsTheNextDateWithThatValue) {
  const Calendar calendar = Calendar::current();
  const ios::Date date = local(2020, 4, 15, 10, 0, 5, 0.7);
  EXPECT_EQ(date_testing::utc(*calendar.dateBySetting(Component::nanosecond, 200'000'000, date)),
            "2020-04-15 08:00:06.200");
  EXPECT_EQ(show(*calendar.dateBySetting(Component::hour, 9, date)), "2020-04-16 09:00:00");
  EXPECT_EQ(show(*calendar.dateBySetting(Component::day, 31, date)), "2020-05-31 00:00:00");
  EXPECT_EQ(show(*calendar.dateBySetting(Component::year, 2022, date)), "2022-01-01 00:00:00");
  EXPECT_EQ(*calendar.dateBySetting(Component::hour, 10, date), date);
  EXPECT_FALSE(calendar.dateBySetting(Component::day, 32, date));
  EXPECT_FALSE(calendar.dateBySetting(Component::year, 2019, date));
}

TEST_F(CalendarTest, ComponentsNameDatesAndMissingOnesTakeTheirLowestValues) {
  const Calendar calendar = Calendar::current();
  ios::DateComponents c;
  c.year = 2020;
  c.month = 6;
  c.weekday = 4;  // the first Wednesday of the month
  EXPECT_EQ(show(*calendar.dateFrom(c)), "2020-06-03 00:00:00");
  c = {};
  c.year = 2020;
  c.month = 13;  // carries into the next year
  c.day = 1;
  c.hour = 23;
  c.minute = 60;
  c.nanosecond = 250'000'000;
  EXPECT_EQ(date_testing::utc(*calendar.dateFrom(c)), "2021-01-01 23:00:00.250");
  c.year = std::int64_t{1} << 40;
  EXPECT_FALSE(calendar.dateFrom(c));
}

TEST_F(CalendarTest, CalendarsWorkFromSeveralThreadsAtOnce) {
  const char* zones[] = {"UTC", "Asia/Tokyo", "America/New_York", "Europe/Berlin"};
  const std::int64_t hours[] = {8, 17, 4, 10};  // of 2020-06-15 08:20 UTC
  const ios::Date date = ios::Date::fromTimeIntervalSince1970(1592209200);
  EXPECT_EQ(date_testing::failuresOnThreads(4, 300,
                                            [&](int t, int i) {
                                              const int z = (t + i) % 4;
                                              Calendar calendar(Calendar::Identifier::gregorian);
                                              calendar.setTimeZone(*ios::TimeZone::fromIdentifier(zones[z]));
                                              return calendar.component(Component::hour, date) == hours[z] &&
                                                     calendar.dateInterval(Component::day, date)->duration == 86400;
                                            }),
            0);
}

TEST(CalendarDeathTest, FirstWeekdayOutOfRangeStops) {
  ios::Calendar calendar(ios::Calendar::Identifier::gregorian);
  EXPECT_DEATH(calendar.setFirstWeekday(8), "the first weekday must be 1...7");
}

}  // namespace
