#include "platform/foundation/ISO8601DateFormatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/Locale.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using F = ios::ISO8601DateFormatter;

// 2020-03-04 05:06:07.089 UTC.
const ios::Date kSample = ios::Date::fromTimeIntervalSince1970(1583298367.089);

class ISO8601DateFormatterTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ScopedLocale locale_{"th_TH"};  // the user's locale plays no part
  ios::testing::ScopedTimeZone zone_{"America/New_York"};
};

TEST_F(ISO8601DateFormatterTest, WritesTheLayoutItsOptionsDescribe) {
  struct Row {
    F::Options options;
    const char* zone;
    const char* expected;
  };
  const Row rows[] = {
      {F::withInternetDateTime, "GMT", "2020-03-04T05:06:07Z"},
      {F::withInternetDateTime | F::withFractionalSeconds, "GMT", "2020-03-04T05:06:07.089Z"},
      {F::withInternetDateTime, "Asia/Kolkata", "2020-03-04T10:36:07+05:30"},
      {F::withFullDate, "GMT", "2020-03-04"},
      {F::withYear | F::withMonth | F::withDay, "GMT", "20200304"},
      {F::withFullTime, "Asia/Tokyo", "14:06:07+09:00"},
      {F::withFullDate | F::withTime | F::withTimeZone, "Asia/Tokyo", "2020-03-04T140607+0900"},
      {F::withInternetDateTime | F::withSpaceBetweenDateAndTime, "GMT", "2020-03-04 05:06:07Z"},
  };
  for (const Row& row : rows) {
    F formatter;
    formatter.setFormatOptions(row.options);
    formatter.setTimeZone(*ios::TimeZone::fromIdentifier(row.zone));
    EXPECT_EQ(formatter.string(kSample), row.expected);
    auto back = formatter.date(row.expected);
    ASSERT_TRUE(back) << row.expected;
    EXPECT_EQ(formatter.string(*back), row.expected);
  }
}

TEST_F(ISO8601DateFormatterTest, ReadsOffsetsAndRejectsOtherLayouts) {
  F formatter;
  EXPECT_EQ(formatter.formatOptions(), F::withInternetDateTime);
  EXPECT_EQ(formatter.timeZone().identifier(), "GMT");
  EXPECT_EQ(formatter.date("2020-03-04T13:06:07+08:00")->description(), "2020-03-04 05:06:07 +0000");
  EXPECT_EQ(formatter.date("2020-03-04T05:06:07Z")->description(), "2020-03-04 05:06:07 +0000");
  for (const char* bad : {"2020-03-04T05:06:07", "2020-03-04T05:06:07.089Z", "2020-02-30T05:06:07Z",
                          "2020-03-04T05:06:07Z ", "", "yesterday"}) {
    EXPECT_FALSE(formatter.date(bad)) << bad;
  }
  formatter.setFormatOptions(F::withInternetDateTime | F::withFractionalSeconds);
  auto fractional = formatter.date("2020-03-04T05:06:07.089Z");
  ASSERT_TRUE(fractional);
  EXPECT_NEAR(fractional->timeIntervalSince1970(), 1583298367.089, 1e-6);
}

}  // namespace
