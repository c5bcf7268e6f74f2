#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <thread>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Describe.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/CommaDecimalLocale.h"
#include "tests/support/DateTesting.h"

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

TEST_F(DateFormatterTest, TextEndingPartWayThroughThePatternIsNoDate) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::testing::ScopedTimeZone zone("UTC");
  struct Case {
    const char* pattern;
    const char* text;
    bool parses;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"yyyy-MM-dd'T'HH:mm:ss'Z'", "2024-03-05T14:07:09Z", true},
           {"yyyy-MM-dd'T'HH:mm:ss'Z'", "2024-03-05T14:07:09", false},
           {"yyyy 'week'", "2024 week", true},
           {"yyyy 'week'", "2024 wee", false},
           {"yyyy 'week'", "2024 ", false},
           {"'week'", "week", true},
           {"'week'", "w", false},
           {"'week'", "", false},
           {"yyyy''", "2024'", true},
           {"yyyy''", "2024", false},
           {"YYYYyy", "", false},
           {"G", "", false},
           {"y9", "20199", false},
           {"y9", "20199 9", false},
           {"y 9", "2019 9", true},
           {"d MMM yyyy Z", "5 Mar 2024 +0800", true},
           {"", "", true},
       }) {
    ios::DateFormatter formatter;
    formatter.setDateFormat(c.pattern);
    EXPECT_EQ(formatter.date(c.text).has_value(), c.parses) << c.pattern << " / " << c.text;
  }
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

TEST(Date, DescriptionOfDatesNoCalendarReachesIsTheirSeconds) {
  const struct {
    double seconds;
    const char* text;
  } rows[] = {
      {1e300, "1e+300"},
      {-1e300, "-1e+300"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {1e19, "1e+19"},
      {-1.25e17, "-1.25e+17"},
  };
  const auto checkRows = [&] {
    for (const auto& row : rows) {
      EXPECT_EQ(ios::Date::fromTimeIntervalSinceReferenceDate(row.seconds).description(), row.text) << row.seconds;
    }
  };
  checkRows();
  {
    // '.' stays the decimal point whatever the C numeric locale.
    kp_test::CommaDecimalLocale comma;
    if (comma.available()) checkRows();
  }
  // Far, but still on the calendar.
  EXPECT_EQ(ios::Date::fromTimeIntervalSince1970(253402300799.0).description(), "9999-12-31 23:59:59 +0000");
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

namespace {

TEST_F(DateFormatterTest, LocalMidnightParsesOnADayWhoseMidnightIsSkipped) {
  ios::testing::ScopedLocale locale("en_US_POSIX");
  ios::testing::ScopedTimeZone zone("America/Sao_Paulo");
  ios::DateFormatter formatter;
  formatter.setDateFormat("yyyy/MM/dd");
  auto parsed = formatter.date("2018/11/04");  // clocks went from 00:00 to 01:00
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->description(), "2018-11-04 03:00:00 +0000");  // 01:00 -0200
  formatter.setDateFormat("'at' HH 'on' yyyy/MM/dd");  // quoted letters are no time fields
  EXPECT_EQ(formatter.date("at 01 on 2018/11/04")->description(), "2018-11-04 03:00:00 +0000");
  EXPECT_FALSE(formatter.date("at 00 on 2018/11/04"));  // that hour did not exist
  formatter.setDateFormat("'week of' yyyy/MM/dd");
  EXPECT_EQ(formatter.date("week of 2018/11/04")->description(), "2018-11-04 03:00:00 +0000");
  // Strictness is kept: impossible dates still fail, in any zone.
  EXPECT_FALSE(formatter.date("week of 2018/11/31"));
  EXPECT_FALSE(formatter.date("week of 2018/11/04x"));
  formatter.setDateFormat("yyyy/MM/dd HH:mm");
  EXPECT_FALSE(formatter.date("2018/11/04 00:30"));
  EXPECT_EQ(formatter.date("2018/11/04 01:30")->description(), "2018-11-04 03:30:00 +0000");
}

TEST_F(DateFormatterTest, CachedFormattersAreKeyedByPatternLocaleAndZone) {
  // The same pattern in several zones and locales, interleaved: each answer must be
  // its own, never a neighbour's cached formatter.
  struct Row {
    const char* pattern;
    const char* locale;
    const char* zone;
    const char* expected;
  };
  const Row rows[] = {
      {"yyyy-MM-dd HH:mm", "en_US_POSIX", "UTC", "2024-03-05 14:07"},
      {"yyyy-MM-dd HH:mm", "en_US_POSIX", "Asia/Tokyo", "2024-03-05 23:07"},
      {"yyyy-MM-dd HH:mm", "th_TH", "Asia/Tokyo", "2567-03-05 23:07"},
      {"MMMM", "fr_FR", "UTC", "mars"},
      {"MMMM", "de_DE", "UTC", "März"},
      {"yyyy-MM-dd HH:mm", "en_US_POSIX", "America/New_York", "2024-03-05 09:07"},
  };
  for (int round = 0; round < 3; ++round) {
    for (const Row& row : rows) {
      ios::DateFormatter formatter;
      formatter.setDateFormat(row.pattern);
      formatter.setLocale(ios::Locale(row.locale));
      formatter.setTimeZone(ios::TimeZone::fromIdentifier(row.zone));
      EXPECT_EQ(formatter.string(kSample), row.expected) << row.zone << " " << row.locale;
    }
  }
  // More settings than the cache holds still answer correctly.
  for (int hours = -11; hours <= 12; ++hours) {
    ios::DateFormatter formatter;
    formatter.setDateFormat("HH");
    formatter.setTimeZone(ios::TimeZone::fromSecondsFromGMT(hours * 3600));
    char expected[8];
    std::snprintf(expected, sizeof expected, "%02d", ((14 + hours) % 24 + 24) % 24);
    EXPECT_EQ(formatter.string(kSample), expected) << hours;
  }
}

TEST_F(DateFormatterTest, FormattersWorkFromSeveralThreadsAtOnce) {
  const char* zones[] = {"UTC", "Asia/Tokyo", "America/New_York", "Europe/Berlin"};
  const char* expected[] = {"2024-03-05 14:07:09", "2024-03-05 23:07:09", "2024-03-05 09:07:09",
                            "2024-03-05 15:07:09"};
  EXPECT_EQ(date_testing::failuresOnThreads(4, 300,
                                            [&](int t, int i) {
                                              const int z = (t + i) % 4;
                                              ios::DateFormatter formatter;
                                              formatter.setDateFormat("yyyy-MM-dd HH:mm:ss");
                                              formatter.setLocale(ios::Locale("en_US_POSIX"));
                                              formatter.setTimeZone(ios::TimeZone::fromIdentifier(zones[z]));
                                              auto back = formatter.date(expected[z]);
                                              return formatter.string(kSample) == expected[z] && back &&
                                                     back->timeIntervalSince1970() == 1709647629.0;
                                            }),
            0);
}

TEST_F(DateFormatterTest, MillisecondsAreNotLostToRounding) {
  ios::DateFormatter formatter;
  formatter.setDateFormat("ss.SSS");
  formatter.setTimeZone(ios::TimeZone::gmt());
  EXPECT_EQ(formatter.string(ios::Date::fromTimeIntervalSince1970(1583298367.089)), "07.089");
  EXPECT_EQ(formatter.string(ios::Date::fromTimeIntervalSince1970(1583298367.9999)), "07.999");
  EXPECT_EQ(formatter.string(ios::Date::fromTimeIntervalSince1970(-0.5)), "59.500");
}

TEST_F(DateFormatterTest, TextReadBackWritesUnchangedFarFromNineteenSeventy) {
  ios::DateFormatter formatter;
  formatter.setDateFormat("yyyy-MM-dd HH:mm:ss.SSS");
  formatter.setTimeZone(ios::TimeZone::gmt());
  formatter.setLocale(ios::Locale("en_US_POSIX"));
  for (const char* text : {"3102-05-05 08:26:29.368", "9999-12-31 23:59:59.999", "0500-01-01 00:00:00.001"}) {
    auto read = formatter.date(text);
    ASSERT_TRUE(read) << text;
    EXPECT_EQ(formatter.string(*read), text);
  }
}

}  // namespace

namespace {

TEST(TimeZone, AbbreviationsAndDaylightSavingTime) {
  EXPECT_EQ(ios::TimeZone::fromAbbreviation("GMT")->identifier(), "GMT");
  EXPECT_EQ(ios::TimeZone::fromAbbreviation("EST")->identifier(), "America/New_York");
  EXPECT_FALSE(ios::TimeZone::fromAbbreviation("XYZ"));
  EXPECT_FALSE(ios::TimeZone::fromAbbreviation(""));
  const auto berlin = *ios::TimeZone::fromIdentifier("Europe/Berlin");
  EXPECT_FALSE(berlin.isDaylightSavingTime(kSample));
  EXPECT_TRUE(berlin.isDaylightSavingTime(kSample + 120 * 86400));
  EXPECT_EQ(berlin.secondsFromGMT(kSample + 120 * 86400), 7200);
  EXPECT_EQ(ios::describe(berlin), "Europe/Berlin");
  EXPECT_EQ(ios::describe(ios::Locale("de_DE")), "de_DE");
}

}  // namespace

namespace {

// Formatting in the current zone from several threads at once (crash logs saved on two
// threads do) reads the host's zone on each of them.
TEST(TimeZone, TheHostZoneIsReadConsistentlyFromManyThreads) {
  const std::string expected = ios::TimeZone::current().identifier();
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        if (ios::TimeZone::current().identifier() != expected) ++mismatches;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
