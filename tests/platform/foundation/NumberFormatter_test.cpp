#include "platform/foundation/NumberFormatter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/PlatformFixture.h"

namespace {

using ios::NSNumber;
using ios::NumberFormatter;

class NumberFormatterTest : public ios::testing::PlatformFixture {};

TEST_F(NumberFormatterTest, DefaultStyleReadsPlainNumbers) {
  ios::testing::ScopedLocale locale("en_US");
  NumberFormatter f;
  struct Row {
    const char* text;
    bool parses;
    bool integer;
    double value;
  };
  const Row rows[] = {
      {"42", true, true, 42},       {"-5", true, true, -5},      {"3.75", true, false, 3.75},
      {"-0.5", true, false, -0.5},  {"", false, false, 0},       {"abc", false, false, 0},
      {"12abc", false, false, 0},   {"1.2.3", false, false, 0},  {" 7", false, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    auto n = f.number(row.text);
    ASSERT_EQ(n.has_value(), row.parses);
    if (!n) continue;
    EXPECT_EQ(n->holdsInteger(), row.integer);
    EXPECT_EQ(n->doubleValue(), row.value);
  }
  EXPECT_EQ(f.number("3.75")->intValue(), 3);
  EXPECT_EQ(f.number("-3.75")->intValue(), -3);
}

TEST_F(NumberFormatterTest, ReadsTheLocalesDecimalSeparator) {
  NumberFormatter f;
  {
    ios::testing::ScopedLocale locale("de_DE");
    EXPECT_EQ(f.number("1,5")->doubleValue(), 1.5);
  }
  ios::testing::ScopedLocale locale("en_US");
  EXPECT_EQ(f.number("1.5")->doubleValue(), 1.5);  // the current locale is read afresh
}

TEST_F(NumberFormatterTest, FormatsInEachStyle) {
  NumberFormatter f;
  f.setLocale(ios::Locale("en_US"));
  EXPECT_EQ(f.string(NSNumber(std::int64_t{1234567})), "1234567");
  EXPECT_EQ(f.string(NSNumber(2.5)), "2");  // half-even
  EXPECT_EQ(f.string(NSNumber(3.5)), "4");
  f.setNumberStyle(NumberFormatter::Style::decimal);
  EXPECT_EQ(f.string(NSNumber(1234567.891)), "1,234,567.891");
  EXPECT_EQ(f.number("1,234.5")->doubleValue(), 1234.5);
  f.setLocale(ios::Locale("de_DE"));
  EXPECT_EQ(f.string(NSNumber(1234567.891)), "1.234.567,891");
  f.setNumberStyle(NumberFormatter::Style::percent);
  f.setLocale(ios::Locale("en_US"));
  EXPECT_EQ(f.string(NSNumber(0.25)), "25%");
  EXPECT_EQ(f.number("25%")->doubleValue(), 0.25);
}

TEST(NSNumber, ConversionsSaturateAndTruncate) {
  EXPECT_EQ(NSNumber(-2.9).intValue(), -2);
  EXPECT_EQ(NSNumber(1e300).intValue(), INT64_MAX);
  EXPECT_EQ(NSNumber(-1e300).intValue(), INT64_MIN);
  EXPECT_EQ(NSNumber(std::nan("")).intValue(), 0);
  EXPECT_EQ(NSNumber(true).intValue(), 1);
  EXPECT_FALSE(NSNumber(0.0).boolValue());
  EXPECT_EQ(NSNumber(std::int64_t{42}).stringValue(), "42");
  EXPECT_EQ(NSNumber(3.0).stringValue(), "3");
  EXPECT_EQ(NSNumber(0.1).stringValue(), "0.1");
}

}  // namespace
