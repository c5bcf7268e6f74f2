#include "platform/foundation/Describe.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

struct DoubleRow {
  double value;
  const char* text;
};

TEST(Describe, DoublesUseShortestRoundTripInThePlatformLayout) {
  const DoubleRow rows[] = {
      {3.0, "3.0"},
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {1.0 / 3.0, "0.3333333333333333"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1e15, "1000000000000000.0"},
      {9007199254740992.0, "9007199254740992.0"},  // 2^53 stays decimal
      {1e16, "1e+16"},
      {123456789012345680.0, "1.2345678901234568e+17"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {5e-324, "5e-324"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ios::describe(row.value), row.text) << row.text;
  }
}

TEST(Describe, FloatsSwitchToExponentAbove2To24) {
  EXPECT_EQ(ios::describe(2048.0f), "2048.0");
  EXPECT_EQ(ios::describe(16777216.0f), "16777216.0");
  EXPECT_EQ(ios::describe(16777218.0f), "1.6777218e+07");
  EXPECT_EQ(ios::describe(12.4f), "12.4");
  EXPECT_EQ(ios::describe(0.1f), "0.1");
}

TEST(Describe, ScalarsAndText) {
  EXPECT_EQ(ios::describe(42), "42");
  EXPECT_EQ(ios::describe(-7LL), "-7");
  EXPECT_EQ(ios::describe(18446744073709551615ULL), "18446744073709551615");
  EXPECT_EQ(ios::describe(true), "true");
  EXPECT_EQ(ios::describe(false), "false");
  EXPECT_EQ(ios::describe(std::string("he said \"hi\"")), "he said \"hi\"");
  EXPECT_EQ(ios::describe("literal"), "literal");
  EXPECT_EQ(ios::describe(std::string_view("view")), "view");
}

TEST(Describe, OptionalsWrapAndQuoteText) {
  EXPECT_EQ(ios::describe(std::optional<int>(2)), "Optional(2)");
  EXPECT_EQ(ios::describe(std::optional<int>()), "nil");
  EXPECT_EQ(ios::describe(std::optional<std::string>("a")), "Optional(\"a\")");
  EXPECT_EQ(ios::describe(std::optional<std::optional<int>>(std::optional<int>(1))), "Optional(Optional(1))");
  EXPECT_EQ(ios::describe(std::optional<double>(3.0)), "Optional(3.0)");
}

TEST(Describe, CollectionsQuoteAndEscapeTheirText) {
  EXPECT_EQ(ios::describe(std::vector<int>{1, 2}), "[1, 2]");
  EXPECT_EQ(ios::describe(std::vector<int>{}), "[]");
  EXPECT_EQ(ios::describe(std::vector<std::string>{"a", "b\n", "q\"", "back\\"}),
            "[\"a\", \"b\\n\", \"q\\\"\", \"back\\\\\"]");
  EXPECT_EQ(ios::describe(std::vector<std::optional<int>>{1, std::nullopt}), "[Optional(1), nil]");
  EXPECT_EQ(ios::describe(std::map<std::string, int>{{"k", 1}, {"l", 2}}), "[\"k\": 1, \"l\": 2]");
  EXPECT_EQ(ios::describe(std::map<std::string, int>{}), "[:]");
  EXPECT_EQ(ios::describe(std::vector<std::vector<double>>{{1.0}, {}}), "[[1.0], []]");
  EXPECT_EQ(ios::describe(std::pair<int, std::string>{1, "x"}), "(1, \"x\")");
  EXPECT_EQ(ios::describe(std::vector<std::string>{std::string("\x01", 1)}), "[\"\\u{1}\"]");
}

struct Named {
  std::string description() const { return "Named!"; }
};

enum class Suit { hearts };
std::string ios_describe(Suit) { return "hearts"; }

TEST(Describe, TypesSupplyTheirOwnForm) {
  EXPECT_EQ(ios::describe(Named{}), "Named!");
  EXPECT_EQ(ios::describe(std::vector<Named>{Named{}}), "[Named!]");
  EXPECT_EQ(ios::describe(Suit::hearts), "hearts");
  EXPECT_EQ(ios::describe(std::make_shared<Named>()), "Named!");
  EXPECT_EQ(ios::describe(std::shared_ptr<Named>()), "nil");
}

}  // namespace
