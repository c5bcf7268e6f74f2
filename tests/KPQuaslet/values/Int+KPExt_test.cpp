#include "KPQuaslet/values/Int+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "KPQuaslet/values/Bool+KPExt.h"
#include "KPQuaslet/values/CGFloat+KPExt.h"
#include "KPQuaslet/values/RandomAccessCollection+KPExt.h"
#include "ScriptedRandom.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;
using kp_test::ScriptedRandom;

TEST(IntKPExt, KFormattedBoundariesAndSigns) {
  struct Row {
    std::int64_t value;
    const char* text;
  };
  const Row rows[] = {
      {0, "0k"},
      {999, "0k"},
      {-999, "0k"},
      {1000, "1k"},
      {1234, "1k"},
      {-1500, "-1k"},
      {-45678, "-45k"},
      {999999, "999k"},
      {-999999, "-999k"},
      {1000000, "1kk"},
      {25300000, "25kk"},
      {-2000000, "-2kk"},
      // quotients past 32 bits keep all their digits
      {2147483648000000, "2147483648kk"},
      {-2147483649000000, "-2147483649kk"},
      {INT64_MAX, "9223372036854kk"},
      {INT64_MIN, "-9223372036854kk"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::kFormatted(row.value), row.text) << row.value;
  }
}

TEST(IntKPExt, RomanNumerals) {
  struct Row {
    std::int64_t value;
    std::optional<std::string> text;
  };
  const Row rows[] = {
      {1, "I"},        {3, "III"},      {4, "IV"},        {9, "IX"},           {14, "XIV"},
      {40, "XL"},      {90, "XC"},      {400, "CD"},      {944, "CMXLIV"},     {1994, "MCMXCIV"},
      {3888, "MMMDCCCLXXXVIII"}, {3999, "MMMCMXCIX"}, {4000, "MMMM"}, {0, std::nullopt}, {-1, std::nullopt},
      {INT64_MIN, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::romanNumeral(row.value), row.text) << row.value;
  }
}

TEST(IntKPExt, RomanNumeralsHaveNoUpperBound) {
  const auto large = kp::romanNumeral(2'000'000'004);
  ASSERT_TRUE(large.has_value());
  ASSERT_EQ(large->size(), 2'000'002u);
  EXPECT_EQ(large->find_first_not_of('M'), 2'000'000u);
  EXPECT_EQ(large->substr(2'000'000), "IV");
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The sanitizers' allocators stop the process on an allocation they cannot make instead
// of throwing, so only the plain build can see the refusal.
TEST(IntKPExt, RomanNumeralTooLongToBuildIsNothing) {
  // INT64_MAX / 1000 letters: about 9.2e15 bytes, more than the address space.
  EXPECT_EQ(kp::romanNumeral(INT64_MAX), std::nullopt);
}
#endif

TEST(IntKPExt, Primes) {
  const std::int64_t primes[] = {2, 3, 5, 7, 97, 7919, 2147483647, 1000000007};
  const std::int64_t composites[] = {INT64_MIN, -7, 0, 1, 4, 9, 25, 49, 121, 7917, 2147483649, 1000000007LL * 3};
  for (auto n : primes) EXPECT_TRUE(kp::isPrime(n)) << n;
  for (auto n : composites) EXPECT_FALSE(kp::isPrime(n)) << n;
}

TEST(IntKPExt, ParityAndClamp) {
  EXPECT_TRUE(kp::isEven(-4));
  EXPECT_FALSE(kp::isEven(-3));
  EXPECT_TRUE(kp::isEven(INT64_MIN));
  EXPECT_EQ(kp::clamp(5, 0, 10), 5);
  EXPECT_EQ(kp::clamp(-5, 0, 10), 0);
  EXPECT_EQ(kp::clamp(15, 0, 10), 10);
  EXPECT_EQ(kp::clamp(5, 10, 0), 0);   // min > max: the max test comes first
  EXPECT_EQ(kp::clamp(-5, 10, 0), 10);  // not above max, below min
}

TEST(IntKPExt, Iteration) {
  std::vector<std::int64_t> calls;
  const auto record = [&](std::int64_t i) { calls.push_back(i); };

  EXPECT_EQ(kp::times(3, record), kp::Range(1, 3));
  EXPECT_THAT(calls, ElementsAre(1, 2));
  calls.clear();
  EXPECT_EQ(kp::times(1, record), kp::Range(1, 1));
  EXPECT_TRUE(calls.empty());

  EXPECT_EQ(kp::upto(2, 4, record), kp::Range(2, 4));
  EXPECT_THAT(calls, ElementsAre(2, 3));
  calls.clear();
  EXPECT_EQ(kp::upto(4, 4, record), kp::Range(4, 4));
  EXPECT_TRUE(calls.empty());

  EXPECT_EQ(kp::downto(4, 2, record), kp::Range(2, 4));
  EXPECT_THAT(calls, ElementsAre(4, 3, 2));
  calls.clear();
  EXPECT_EQ(kp::downto(INT64_MIN + 1, INT64_MIN, record), kp::Range(INT64_MIN, INT64_MIN + 1));
  EXPECT_THAT(calls, ElementsAre(INT64_MIN + 1, INT64_MIN));

  EXPECT_EQ(kp::countableRange(3), kp::Range(0, 3));
  EXPECT_EQ(kp::countableRange(3).count(), 3u);
}

TEST(IntKPExt, AnExceptionStopsTheIteration) {
  int calls = 0;
  EXPECT_THROW(kp::times(10,
                         [&](std::int64_t i) {
                           ++calls;
                           if (i == 2) throw std::runtime_error("stop");
                         }),
               std::runtime_error);
  EXPECT_EQ(calls, 2);
}

TEST(IntKPExtDeathTest, ValuesTheOperationsCannotTake) {
  EXPECT_DEATH((void)kp::countableRange(-1), "must not be negative");
  EXPECT_DEATH((void)kp::uInt(-1), "negative value");
  EXPECT_DEATH(kp::times(0, [](std::int64_t) {}), "at least 1");
  EXPECT_DEATH(kp::upto(5, 4, [](std::int64_t) {}), "below the start");
  EXPECT_DEATH(kp::downto(4, 5, [](std::int64_t) {}), "above the start");
}

class IntRandomTest : public ios::testing::PlatformFixture {};

TEST_F(IntRandomTest, DrawsMapOntoTheRange) {
  // A draw equal to the span wraps to 0, which shows the span the call asked for.
  struct Row {
    const char* name;
    std::int64_t (*draw)();
    std::uint32_t scripted;
    std::int64_t expected;
  };
  const Row rows[] = {
      {"between 3 and 7, top", [] { return kp::randomIntBetween(3, 7); }, 4, 7},
      {"between 3 and 7, span 5", [] { return kp::randomIntBetween(3, 7); }, 5, 3},
      {"init between", [] { return kp::makeIntRandomBetween(-2, 2); }, 4, 2},
      {"closed range", [] { return kp::randomInt(kp::ClosedRange(10, 12)); }, 2, 12},
      {"closed range, span 3", [] { return kp::randomInt(kp::ClosedRange(10, 12)); }, 3, 10},
      {"init in range", [] { return kp::makeIntRandomInRange(kp::ClosedRange(0, 1)); }, 1, 1},
      {"half-open range", [] { return kp::randomInt(kp::Range(10, 12)); }, 1, 11},
      {"half-open range, span 2", [] { return kp::randomInt(kp::Range(10, 12)); }, 2, 10},
      {"min and max", [] { return kp::randomInt(3, 4); }, 1, 4},
      {"either order", [] { return kp::randomBetween(5, 1); }, 4, 5},
      {"either order, span 5", [] { return kp::randomBetween(5, 1); }, 5, 1},
      {"wide span", [] { return kp::randomIntBetween(INT64_MIN, INT64_MIN + 0xFFFFFFFELL); }, 0xFFFFFFFEu,
       INT64_MIN + 0xFFFFFFFELL},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedRandom random{row.scripted};
    EXPECT_EQ(row.draw(), row.expected);
    EXPECT_EQ(random.draws(), 1);
  }
}

TEST_F(IntRandomTest, EmptySpansDrawNothing) {
  ScriptedRandom random{};
  EXPECT_EQ(kp::randomInt(kp::Range(3, 3)), 3);
  EXPECT_EQ(kp::randomIntBetween(5, 4), 5);
  EXPECT_EQ(kp::randomBetween(8, 8), 8);
  EXPECT_EQ(kp::randomCGFloatBetween(0.5, 1.2), 0.5);
  EXPECT_EQ(kp::randomCGFloatBetween(2.0, 1.5), 2.0);  // a span above -1 truncates to 0
  EXPECT_EQ(random.draws(), 0);
}

TEST_F(IntRandomTest, CGFloatAddsWholeNumbersBelowTheSpan) {
  ScriptedRandom random{2, 3};
  EXPECT_EQ(kp::randomCGFloatBetween(0.5, 3.7), 2.5);
  EXPECT_EQ(kp::randomCGFloatBetween(0.5, 3.7), 0.5);  // the span is 3
}

TEST_F(IntRandomTest, BoolIsTrueOnADrawOfOne) {
  ScriptedRandom random{1, 0, 3};
  EXPECT_TRUE(kp::randomBool());
  EXPECT_FALSE(kp::randomBool());
  EXPECT_TRUE(kp::randomBool());
}

TEST_F(IntRandomTest, CollectionElementIsOffsetFromItsStart) {
  const std::vector<int> base{0, 1, 2, 3, 4, 5, 6, 7, 8};
  const std::span slice = std::span(base).subspan(5, 3);
  ScriptedRandom random{0, 2, 3};
  EXPECT_EQ(kp::random(slice), 5);
  EXPECT_EQ(kp::random(slice), 7);
  EXPECT_EQ(kp::random(slice), 5);  // 3 wraps: the span is the count
  EXPECT_FALSE(kp::random(std::vector<int>{}).has_value());
  EXPECT_EQ(random.draws(), 3);
}

TEST(IntRandomDeathTest, SpansTheSourceCannotDraw) {
  EXPECT_DEATH((void)kp::randomIntBetween(0, 4294967295), "32 bits");
  EXPECT_DEATH((void)kp::randomIntBetween(INT64_MIN, INT64_MAX), "32 bits");
  EXPECT_DEATH((void)kp::randomIntBetween(5, 3), "32 bits");
  EXPECT_DEATH((void)kp::randomCGFloatBetween(0, 4294967296.0), "32 bits");
  EXPECT_DEATH((void)kp::randomCGFloatBetween(1, 0), "32 bits");
  EXPECT_DEATH((void)kp::randomCGFloatBetween(0, std::nan("")), "32 bits");
}

TEST(BoolKPExt, ToggleChangesAndAnswers) {
  bool flag = false;
  EXPECT_TRUE(kp::toggle(flag));
  EXPECT_TRUE(flag);
  EXPECT_FALSE(kp::toggle(flag));
  EXPECT_EQ(kp::string(true), "true");
  EXPECT_EQ(kp::int_(true), 1);
  EXPECT_TRUE(kp::toggled(false));
}

}  // namespace

namespace {
template <class T>
concept HasString = requires(T t) { kp::string(t); };
template <class T>
concept HasInt = requires(T t) { kp::int_(t); };
static_assert(HasString<bool>);
static_assert(!HasString<const char*>);  // no silent pointer-to-bool conversion
static_assert(!HasInt<const char*>);
}  // namespace
