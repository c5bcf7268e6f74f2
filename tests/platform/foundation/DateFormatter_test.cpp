#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/testing/PlatformFixture.h"

namespace {

class DateFormatterTest : public ios::testing::PlatformFixture {};

// 2024-03-05 14:07:09.042 UTC.
const ios::Date kSample = ios::Date::fromTimeIntervalSince1970(1709647629.042);

TEST_F(DateFormatterTest, FormatsInTheCurrentZoneReadAtEachCall) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::DateFormatter formatter;
  formatter.setDateFormat("yyyy-MM-dd HH:mm:ss:SSS");
  {
    ios::testing::ScopedTimeZone zone("UTC");
    EXPECT_EQ(formatter.string(kSample), "2024-03-05 14:07:09:042");
  }
  {
    ios::testing::ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(formatter.string(kSample), "2024-03-05 22:07:09:042");
  }
  formatter.setTimeZone(ios::TimeZone::fromIdentifier("America/New_York"));
  EXPECT_EQ(formatter.string(kSample), "2024-03-05 09:07:09:042");
}

TEST_F(DateFormatterTest, ParsingIsStrictAndConsumesTheWholeText) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::testing::ScopedTimeZone zone("UTC");
  ios::DateFormatter formatter;
  formatter.setDateFormat("yyyy-MM-dd");
  auto parsed = formatter.date("2024-03-05");
  ASSERT_TRUE(parsed);
  EXPECT_DOUBLE_EQ(parsed->timeIntervalSince1970(), 1709596800.0);
  EXPECT_FALSE(formatter.date("2024-03-05 extra"));
  EXPECT_FALSE(formatter.date("2024-02-30"));
  EXPECT_FALSE(formatter.date(""));
}

TEST_F(DateFormatterTest, CopiesAreIndependent) {
  ios::testing::ScopedTimeZone zone("UTC");
  ios::DateFormatter a;
  a.setDateFormat("yyyy");
  ios::DateFormatter b = a;
  b.setDateFormat("MM");
  EXPECT_EQ(a.string(kSample), "2024");
  EXPECT_EQ(b.string(kSample), "03");
}

TEST_F(DateFormatterTest, CurrentZoneAndLocaleOverridesNestAndReset) {
  {
    ios::testing::ScopedTimeZone outer("Europe/Berlin");
    {
      ios::testing::ScopedTimeZone inner("Asia/Tokyo");
      EXPECT_EQ(ios::TimeZone::current().identifier(), "Asia/Tokyo");
    }
    EXPECT_EQ(ios::TimeZone::current().identifier(), "Europe/Berlin");
    EXPECT_EQ(ios::TimeZone::current().secondsFromGMT(kSample), 3600);
  }
  EXPECT_FALSE(ios::TimeZone::fromIdentifier("Mars/Olympus"));
  EXPECT_EQ(ios::TimeZone::fromSecondsFromGMT(-5 * 3600 - 1800)->identifier(), "GMT-0530");
  EXPECT_FALSE(ios::TimeZone::fromSecondsFromGMT(19 * 3600));
}

TEST(Date, ReferenceDateArithmeticAndDescription) {
  const ios::Date reference;
  EXPECT_EQ(reference.timeIntervalSince1970(), 978307200.0);
  EXPECT_EQ(reference.description(), "2001-01-01 00:00:00 +0000");
  EXPECT_EQ((reference + 86400.5).description(), "2001-01-02 00:00:00 +0000");
  EXPECT_EQ((reference - 1).description(), "2000-12-31 23:59:59 +0000");
  EXPECT_LT(reference, reference + 1);
  EXPECT_EQ((reference + 90).timeIntervalSince(reference), 90);
}

TEST(Clock, ManualClockMovesBothReadingsTogether) {
  ios::testing::ManualClock clock(100.0, 5'000);
  EXPECT_EQ(ios::Date::now().timeIntervalSinceReferenceDate(), 100.0);
  clock.advance(1.5);
  EXPECT_EQ(ios::clock::absoluteTime(), 101.5);
  EXPECT_EQ(ios::clock::uptimeNanoseconds(), 1'500'005'000u);
  clock.advanceNanoseconds(7);
  EXPECT_EQ(ios::clock::uptimeNanoseconds(), 1'500'005'007u);
  EXPECT_TRUE(ios::clock::isManual());
}

TEST(ClockDeathTest, AManualClockNeverRunsBackwards) {
  EXPECT_DEATH(
      {
        ios::testing::ManualClock clock;
        clock.advance(-1);
      },
      "a clock only moves forward");
}

}  // namespace
