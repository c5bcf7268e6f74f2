#include "KPQuaslet/text/Date+KPExtText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KPQuaslet/text/Date+KPExtComponents.h"
#include "platform/foundation/Clock.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/DateTesting.h"

namespace {

using date_testing::local;
using date_testing::show;

// 2020-03-04 05:06:07.089 UTC.
const ios::Date kSample = ios::Date::fromTimeIntervalSince1970(1583298367.089);

class DateKPExtText : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ScopedLocale locale_{"en_US"};
  ios::testing::ScopedTimeZone zone_{"Asia/Shanghai"};
  ios::testing::ManualClock clock_{kSample.timeIntervalSinceReferenceDate() + 1000};
};

TEST_F(DateKPExtText, FormatsInTheCurrentLocaleAndZone) {
  EXPECT_EQ(kp::convertToString(kSample), "2020-03-04 13:06:07");
  EXPECT_EQ(kp::toString(kSample, "yyyy/MM/dd HH:mm:ss.SSS Z"), "2020/03/04 13:06:07.089 +0800");
  EXPECT_EQ(kp::toString(kSample, "EEEE d MMMM"), "Wednesday 4 March");
  {
    ios::testing::ScopedLocale french("fr_FR");
    EXPECT_EQ(kp::toString(kSample, "EEEE d MMMM"), "mercredi 4 mars");
  }
  {
    // The user's calendar shows in the fixed format too: the Buddhist year.
    ios::testing::ScopedLocale thai("th_TH");
    EXPECT_EQ(kp::convertToString(kSample), "2563-03-04 13:06:07");
  }
  ios::testing::ScopedTimeZone utc("UTC");
  EXPECT_EQ(kp::convertToString(kSample), "2020-03-04 05:06:07");
}

TEST_F(DateKPExtText, ISO8601TextIsGMTWithMillisecondsWhateverTheUser) {
  EXPECT_EQ(kp::iso8601String(kSample), "2020-03-04T05:06:07.089Z");
  ios::testing::ScopedLocale thai("th_TH");
  ios::testing::ScopedTimeZone newYork("America/New_York");
  EXPECT_EQ(kp::iso8601String(kSample), "2020-03-04T05:06:07.089Z");
  EXPECT_EQ(kp::iso8601String(ios::Date::fromTimeIntervalSince1970(0.9995)), "1970-01-01T00:00:00.999Z");
}

TEST_F(DateKPExtText, ReadsISO8601Timestamps) {
  struct Row {
    const char* text;
    std::optional<const char*> utc;
  };
  const Row rows[] = {
      {"2020-03-04T05:06:07Z", "2020-03-04 05:06:07.000"},
      {"2020-03-04T05:06:07+0800", "2020-03-03 21:06:07.000"},
      {"2020-03-04T05:06:07-0000", "2020-03-04 05:06:07.000"},
      // Fractional seconds, as iso8601String() writes them, are no timestamp.
      {"2020-03-04T05:06:07.089Z", std::nullopt},
      {"2020-03-04T05:06:07.089+0100", std::nullopt},
      {"2020-03-04T05:06:07", std::nullopt},
      {"2020-03-04 05:06:07Z", std::nullopt},
      {"2020-13-04T05:06:07Z", std::nullopt},
      {"2020-03-04T05:06:07Zjunk", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) {
    auto parsed = kp::dateWithISO08601StringIfValid(row.text);
    ASSERT_EQ(parsed.has_value(), row.utc.has_value()) << row.text;
    if (parsed) {
      EXPECT_EQ(date_testing::utc(*parsed), *row.utc) << row.text;
    }
    EXPECT_EQ(kp::dateWithISO08601String(row.text), parsed.value_or(ios::Date::now())) << row.text;
  }
  EXPECT_EQ(kp::dateWithISO08601String(std::nullopt), ios::Date::now());
  // Whatever the user's calendar, the text is Gregorian.
  ios::testing::ScopedLocale thai("th_TH");
  EXPECT_EQ(date_testing::utc(kp::dateWithISO08601String("2020-03-04T05:06:07Z")), "2020-03-04 05:06:07.000");
}

TEST_F(DateKPExtText, ISO8601WholeSecondsRoundTripAndMillisecondsReadAsNow) {
  for (double unix : {0.0, 1583298367.0, 951782400.0, 4102444799.0, -86400.0, 1583298367.089}) {
    const ios::Date date = ios::Date::fromTimeIntervalSince1970(unix);
    const std::string written = kp::iso8601String(date);
    ASSERT_EQ(written.size(), 24u) << written;
    EXPECT_FALSE(kp::dateWithISO08601StringIfValid(written)) << written;
    EXPECT_EQ(kp::dateWithISO08601String(written), ios::Date::now()) << written;
    // Without its fraction the same text names the date to the second.
    const std::string seconds = written.substr(0, 19) + "Z";
    auto back = kp::dateWithISO08601StringIfValid(seconds);
    ASSERT_TRUE(back) << seconds;
    EXPECT_NEAR(back->timeIntervalSince1970(), std::floor(unix), 1e-6) << seconds;
  }
}

// Far from 1970 a double's last place is several microseconds, so reading the text and
// converting between the two reference dates leaves the date just below its millisecond.
TEST_F(DateKPExtText, ISO8601TextReadsBackToTheSameTextFarFromTheReferenceDate) {
  for (const char* text : {"3102-05-05T08:26:29.368Z", "9998-12-31T23:59:59.999Z", "2500-07-01T00:00:00.001Z",
                           "1600-02-29T12:34:56.789Z", "2020-03-04T05:06:07.089Z"}) {
    // The ISO reader takes whole seconds only; a caller's pattern reads the milliseconds.
    EXPECT_FALSE(kp::dateWithISO08601StringIfValid(text)) << text;
    ios::testing::ScopedTimeZone utc("UTC");
    auto read = kp::dateFromStringIfValid(text, "yyyy-MM-dd'T'HH:mm:ss.SSSXXX");
    ASSERT_TRUE(read) << text;
    EXPECT_EQ(kp::iso8601String(*read), text);
  }
}

TEST_F(DateKPExtText, ParsesCallerPatternsOrAnswersNow) {
  EXPECT_EQ(show(kp::dateFromString("2020-03-04 13:06", "yyyy-MM-dd HH:mm")), "2020-03-04 13:06:00");
  EXPECT_EQ(kp::dateFromString("", "yyyy"), ios::Date::now());
  EXPECT_EQ(kp::dateFromString("2020-03-04 trailing", "yyyy-MM-dd"), ios::Date::now());
  EXPECT_EQ(kp::dateFromString("2020-02-30", "yyyy-MM-dd"), ios::Date::now());
  EXPECT_FALSE(kp::dateFromStringIfValid("2020-02-30", "yyyy-MM-dd"));
  EXPECT_TRUE(kp::dateFromStringIfValid("2020-02-29", "yyyy-MM-dd"));
}

TEST_F(DateKPExtText, WeekdaysOfCalendarDates) {
  EXPECT_EQ(kp::getWeekDay(2020, 3, 1), 1);  // Sunday
  EXPECT_EQ(kp::getWeekDay(2020, 3, 7), 7);  // Saturday
  EXPECT_EQ(kp::getWeekDay(2020, 2, 29), 7);
  EXPECT_EQ(kp::getWeekDay(2020, 13, 1), 0);
  EXPECT_EQ(kp::getWeekDay(2021, 2, 29), 0);
  EXPECT_EQ(kp::getWeekDay(2020, 0, 1), 0);
  EXPECT_EQ(kp::getWeekDay(-1, 1, 1), 0);
  {
    // Midnight did not exist in Sao Paulo on 4 November 2018; the date still has a weekday.
    ios::testing::ScopedTimeZone saoPaulo("America/Sao_Paulo");
    EXPECT_EQ(kp::getWeekDay(2018, 11, 4), 1);
  }
  // The numbers are read in the user's calendar: in a Thai locale the year is Buddhist.
  ios::testing::ScopedLocale thai("th_TH");
  EXPECT_EQ(kp::getWeekDay(2563, 3, 1), 1);  // 1 March 2020, a Sunday
  EXPECT_EQ(kp::getWeekDay(2563, 3, 7), 7);
}

TEST_F(DateKPExtText, DatesWrittenAsIntegers) {
  EXPECT_EQ(show(*kp::makeDate(20200304), true), "2020-03-04 00:00:00 +0800");
  EXPECT_FALSE(kp::makeDate(20200230));
  EXPECT_FALSE(kp::makeDate(202003041));
  EXPECT_FALSE(kp::makeDate(-20200304));
  EXPECT_FALSE(kp::makeDate(0));
  {
    ios::testing::ScopedLocale thai("th_TH");
    EXPECT_EQ(show(*kp::makeDate(25630304), true), "2020-03-04 00:00:00 +0800");
  }
  ios::testing::ScopedTimeZone saoPaulo("America/Sao_Paulo");
  EXPECT_EQ(show(*kp::makeDate(20181104), true), "2018-11-04 01:00:00 -0200");
}

TEST_F(DateKPExtText, RelativeTimeBucketsAtTheirBoundaries) {
  const ios::Date base = local(2020, 1, 1, 12);
  auto ago = [&](double seconds, bool numeric) { return kp::timeAgoSince(base, base + seconds, numeric); };
  struct Row {
    double seconds;
    const char* numeric;
    const char* words;
  };
  constexpr double kDay = 86400;
  const Row rows[] = {
      {0, "现在", "现在"},
      {2.999, "现在", "现在"},
      {3, "3秒前", "3秒前"},
      {59, "59秒前", "59秒前"},
      {60, "1分钟前", "1分钟前"},
      {119, "1分钟前", "1分钟前"},
      {120, "2分钟前", "2分钟前"},
      {3599, "59分钟前", "59分钟前"},
      {3600, "1小时前", "1小时前"},
      {3600 + 59 * 60, "1小时前", "1小时前"},
      {7200, "2小时前", "2小时前"},
      {kDay - 1, "23小时前", "23小时前"},
      {kDay, "1天前", "昨天"},
      {2 * kDay, "2天前", "2天前"},
      {6 * kDay, "6天前", "6天前"},
      {7 * kDay, "1周前", "上周"},
      {8 * kDay, "1周前", "上周"},
      {14 * kDay, "2周前", "2周前"},
      {31 * kDay, "1月前", "上月"},
      {60 * kDay, "2月前", "2月前"},
      {366 * kDay, "1年前", "去年"},
      {(366 + 31 + 29 + 31) * kDay, "1年前", "去年"},  // 14 months
      {(366 + 365) * kDay, "2年前", "2年前"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ago(row.seconds, true), row.numeric) << row.seconds;
    EXPECT_EQ(ago(row.seconds, false), row.words) << row.seconds;
    // A later date is worded the same as an earlier one.
    EXPECT_EQ(kp::timeAgoSince(base + row.seconds, base, true), row.numeric) << row.seconds;
  }
}

TEST_F(DateKPExtText, RelativeTimeSinceNowMeasuresFromTheClock) {
  const ios::Date now = ios::Date::now();
  EXPECT_EQ(kp::timeAgoSinceNow(now), "现在");
  EXPECT_EQ(kp::timeAgoSinceNow(now - 300), "5分钟前");
  EXPECT_EQ(kp::timeAgoSinceNow(now - 3 * 86400), "3天前");
  EXPECT_EQ(kp::timeAgoSinceNow(now + 300), "5分钟前");
}

TEST_F(DateKPExtText, WordingForDatesTheCalendarCannotHoldIsEmpty) {
  const ios::Date now = ios::Date::now();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double seconds : {nan, inf, -inf, 1e13, -1e300}) {
    const ios::Date odd = ios::Date::fromTimeIntervalSinceReferenceDate(seconds);
    EXPECT_EQ(kp::timeAgoSince(odd, now, true), "") << seconds;
    EXPECT_EQ(kp::timeAgoSince(now, odd, false), "") << seconds;
    EXPECT_EQ(kp::timeAgoSinceNow(odd), "") << seconds;
    EXPECT_EQ(kp::timeAfterTo(now, odd), "") << seconds;
    EXPECT_EQ(kp::convertToString(odd), "") << seconds;
    EXPECT_EQ(kp::toString(odd, "yyyy G"), "") << seconds;
    EXPECT_EQ(kp::iso8601String(odd), "") << seconds;
  }
  // The farthest dates the calendar holds still get their wording.
  const ios::Date farthest = ios::Date::fromTimeIntervalSinceReferenceDate(-8.9e12);
  EXPECT_EQ(kp::timeAgoSince(farthest, now, true).back(), "前"[2]);
  EXPECT_EQ(kp::iso8601String(farthest).back(), 'Z');
  EXPECT_FALSE(kp::convertToString(farthest).empty());
}

TEST_F(DateKPExtText, CountdownTexts) {
  const ios::Date now = ios::Date::now();
  const ios::Date receiver = local(1999, 1, 1);  // takes no part
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 3 * 3600), "03:00:00");
  EXPECT_EQ(kp::timeAfterTo(receiver, now - 3 * 3600), "03:00:00");
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 86400 + 2 * 3600 + 3 * 60 + 4), "1天 02:03:04");
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 59), "00:00:59");
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 59.9), "00:00:59");
  EXPECT_EQ(kp::timeAfterTo(receiver, now), "00:00:00");
  // Intervals of a month or more count all their days.
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 40 * 86400 + 5), "40天 00:00:05");
  EXPECT_EQ(kp::timeAfterTo(receiver, now + 400 * 86400), "400天 00:00:00");
}

}  // namespace
