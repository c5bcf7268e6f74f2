#include "KPQuaslet/text/Calendar+KPExt.h"

#include <gtest/gtest.h>

#include "tests/support/DateTesting.h"

namespace {

using date_testing::local;

class CalendarKPExt : public date_testing::PinnedDateTest {};

TEST_F(CalendarKPExt, DaysInFebruaryOfLeapAndCommonYearsAndOtherMonths) {
  const ios::Calendar gregorian(ios::Calendar::Identifier::gregorian);
  struct Row {
    std::int64_t year, month, day, expected;
  };
  const Row rows[] = {
      {2024, 2, 10, 29}, {2023, 2, 1, 28},  {2000, 2, 29, 29}, {1900, 2, 15, 28},
      {2021, 1, 31, 31}, {2021, 4, 30, 30}, {2021, 12, 1, 31},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(kp::numberOfDaysInMonth(gregorian, local(r.year, r.month, r.day, 12)), r.expected)
        << r.year << "-" << r.month;
  }
}

TEST_F(CalendarKPExt, UsesTheGivenCalendarsTimeZoneNotTheCurrentOne) {
  // 2021-02-28 23:30 UTC is already 1 March in Berlin, the current zone.
  const ios::Date lateFebruaryUTC = ios::Date::fromTimeIntervalSince1970(1614555000);
  ios::Calendar utc(ios::Calendar::Identifier::gregorian);
  utc.setTimeZone(ios::TimeZone::gmt());
  EXPECT_EQ(kp::numberOfDaysInMonth(utc, lateFebruaryUTC), 28);
  EXPECT_EQ(kp::numberOfDaysInMonth(ios::Calendar::current(), lateFebruaryUTC), 31);
}

}  // namespace
