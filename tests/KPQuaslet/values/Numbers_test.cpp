// Floating-point conversions, the numeric operators and how int literals pick their
// overloads.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <type_traits>

#include "KPQuaslet/values/CGFloat+KPExt.h"
#include "KPQuaslet/values/Double+KPExt.h"
#include "KPQuaslet/values/Float+KPExt.h"
#include "KPQuaslet/values/Int+KPExt.h"
#include "KPQuaslet/values/Operators.h"

namespace {

// An int literal picks the integer overload; float arguments keep single precision.
static_assert(std::is_same_v<decltype(kp::power(2, -1)), double>);
static_assert(std::is_same_v<decltype(kp::power(2.0f, 3.0f)), float>);
static_assert(std::is_same_v<decltype(kp::power(2.0, 3)), double>);
static_assert(std::is_same_v<decltype(kp::power(2.0f, 3)), float>);
static_assert(std::is_same_v<decltype(kp::squareRoot(9)), double>);
static_assert(std::is_same_v<decltype(kp::squareRoot(9.0f)), float>);
static_assert(std::is_same_v<decltype(kp::double_(3)), double>);
static_assert(std::is_same_v<decltype(kp::float_(3)), float>);
static_assert(std::is_same_v<decltype(kp::cgFloat(3)), double>);
static_assert(std::is_same_v<decltype(kp::cgFloat(3.0f)), double>);
static_assert(std::is_same_v<decltype(kp::int_(2.5f)), std::int64_t>);
static_assert(std::is_same_v<decltype(kp::degreesToRadians(180)), double>);

TEST(NumberOperators, PowerSquareRootAndPlusMinus) {
  EXPECT_EQ(kp::power(2, -1), 0.5);
  EXPECT_EQ(kp::power(std::int64_t{3}, std::int64_t{40}), std::pow(3.0, 40.0));
  EXPECT_EQ(kp::power(2.0, 0.5), std::sqrt(2.0));
  EXPECT_EQ(kp::power(1.1f, 2.0f), std::pow(1.1f, 2.0f));
  EXPECT_EQ(kp::squareRoot(9), 3.0);
  EXPECT_EQ(kp::squareRoot(std::int64_t{2}), std::sqrt(2.0));
  EXPECT_EQ(kp::squareRoot(2.0f), std::sqrt(2.0f));
  EXPECT_TRUE(std::isnan(kp::squareRoot(-1.0)));
  EXPECT_EQ(kp::plusMinus(5, 2), std::make_pair(std::int64_t{7}, std::int64_t{3}));
  EXPECT_EQ(kp::plusMinus(4), std::make_pair(std::int64_t{4}, std::int64_t{-4}));
  EXPECT_EQ(kp::plusMinus(INT64_MAX), std::make_pair(INT64_MAX, -INT64_MAX));
}

TEST(NumberOperatorsDeathTest, OverflowStops) {
  EXPECT_DEATH((void)kp::plusMinus(INT64_MIN), "overflow");
  EXPECT_DEATH((void)kp::plusMinus(INT64_MAX, 1), "overflow");
  EXPECT_DEATH((void)kp::plusMinus(INT64_MIN, 1), "overflow");
}

TEST(NumberConversions, AnglesMultiplyFirst) {
  for (double degrees : {0.0, 1.0, 45.0, 90.0, 180.0, 270.0, -33.3}) {
    EXPECT_EQ(kp::degreesToRadians(degrees), degrees * kp::kPi / 180) << degrees;
    EXPECT_EQ(kp::radiansToDegrees(degrees), degrees * 180 / kp::kPi) << degrees;
  }
  EXPECT_EQ(kp::degreesToRadians(180), kp::kPi);
}

TEST(NumberConversions, ToIntTruncatesWithinRange) {
  struct Row {
    double value;
    std::int64_t expected;
  };
  const Row rows[] = {
      {2.9, 2},
      {-2.9, -2},
      {-0.0, 0},
      {9223372036854774784.0, 9223372036854774784},  // the largest double below 2^63
      {-9223372036854775808.0, INT64_MIN},
  };
  for (const Row& row : rows) EXPECT_EQ(kp::int_(row.value), row.expected) << row.value;
  EXPECT_EQ(kp::int_(-7.5f), -7);
}

TEST(NumberConversionsDeathTest, NoIntForNaNInfinityOrOutOfRange) {
  EXPECT_DEATH((void)kp::int_(std::nan("")), "infinite or NaN");
  EXPECT_DEATH((void)kp::int_(std::numeric_limits<double>::infinity()), "infinite or NaN");
  EXPECT_DEATH((void)kp::int_(9223372036854775808.0), "outside the Int range");
  EXPECT_DEATH((void)kp::int_(-9223372036854777856.0), "outside the Int range");
  EXPECT_DEATH((void)kp::int_(1e30f), "outside the Int range");
}

TEST(NumberConversions, ToFloatRoundsToNearest) {
  const double halfway = 33554431.0 * 0x1p103;  // between FLT_MAX and 2^128
  EXPECT_EQ(kp::float_(1e300), std::numeric_limits<float>::infinity());
  EXPECT_EQ(kp::float_(-1e300), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(kp::float_(halfway), std::numeric_limits<float>::infinity());
  EXPECT_EQ(kp::float_(std::nextafter(halfway, 0.0)), FLT_MAX);
  EXPECT_EQ(kp::float_(static_cast<double>(FLT_MAX)), FLT_MAX);
  EXPECT_EQ(kp::float_(0.1), 0.1f);
  EXPECT_TRUE(std::isnan(kp::float_(std::nan(""))));
  EXPECT_EQ(kp::float_(16777217), 16777216.0f);
  EXPECT_EQ(kp::double_(0.1f), static_cast<double>(0.1f));
}

TEST(CGFloatKPExt, SignsAndRounding) {
  EXPECT_FALSE(kp::isPositive(0.0));
  EXPECT_FALSE(kp::isNegative(-0.0));
  EXPECT_TRUE(kp::isNegative(-1e-300));
  EXPECT_FALSE(kp::isPositive(std::nan("")));
  EXPECT_EQ(kp::abs(-2.5), 2.5);
  EXPECT_EQ(kp::ceil(-2.5), -2.0);
  EXPECT_EQ(kp::floor(-2.5), -3.0);
}

}  // namespace
