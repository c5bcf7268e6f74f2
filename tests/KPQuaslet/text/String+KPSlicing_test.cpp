#include "KPQuaslet/text/String+KPSlicing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/foundation/Random.h"
#include "platform/uikit/UIPasteboard.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// Texts of several scripts; each comment gives the characters.
const std::string kThumb = "\U0001F44D\U0001F3FD";                                  // 👍🏽
const std::string kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467";          // ZWJ family
const std::string kFlag = "\U0001F1EB\U0001F1F7";                                  // 🇫🇷
const std::string kDecomposed = "e\u0301";                                         // é as e + accent

TEST(StringKPExt, LengthCountsCharactersAcrossScripts) {
  struct Row {
    std::string text;
    std::int64_t length;
  };
  const Row rows[] = {
      {"", 0},
      {"hello", 5},
      {"中文字", 3},
      {kDecomposed + "x", 2},
      {kThumb, 1},
      {kFamily + kFlag, 2},
      {"a\r\nb", 3},
      {"a\xFF" "b", 3},  // an ill-formed byte is a character of its own
  };
  for (const Row& row : rows) EXPECT_EQ(kp::length(row.text), row.length) << row.text;
}

TEST(StringKPExt, SubscriptsNeverSplitAClusterAndStopOnBadPositions) {
  const std::string text = "a" + kThumb + "中" + kDecomposed + "\r\n";  // 5 characters
  EXPECT_EQ(kp::at(text, 1).utf8(), kThumb);
  EXPECT_EQ(kp::at(text, 3).utf8(), kDecomposed);
  EXPECT_EQ(kp::at(text, 4).utf8(), "\r\n");
  EXPECT_EQ(kp::at(text, kp::Range{1, 3}), kThumb + "中");
  EXPECT_EQ(kp::at(text, kp::Range{5, 5}), "");
  EXPECT_DEATH((void)kp::at(text, 5), "String index is out of bounds");
  EXPECT_DEATH((void)kp::at(text, -1), "String index is out of bounds");
  EXPECT_DEATH((void)kp::at(text, kp::Range{4, 6}), "String index is out of bounds");

  EXPECT_THAT(kp::safeAt(text, 2), Optional(ios::Character(std::string_view("中"))));
  EXPECT_EQ(kp::safeAt(text, 5), std::nullopt);
  EXPECT_EQ(kp::safeAt(text, -1), std::nullopt);
  EXPECT_EQ(kp::safeAt("", 0), std::nullopt);
}

TEST(StringKPExt, SafeRangeSubscriptKeepsTheLengthOfTheUnclampedRange) {
  const std::string ten = "0123456789";
  struct Row {
    std::int64_t lower, upper;
    std::optional<std::string> half, closed;
  };
  const Row rows[] = {
      {-3, 2, "01234", "012345"},
      {10, 10, "", std::nullopt},
      {8, 12, std::nullopt, std::nullopt},
      {0, 9, "012345678", "0123456789"},
      {9, 9, "", "9"},
      {11, 11, std::nullopt, std::nullopt},
      {kMin, 5, std::nullopt, std::nullopt},  // the length does not fit in 64 bits
      {0, kMax, std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::safeAt(ten, kp::Range{row.lower, row.upper}), row.half) << row.lower << ".." << row.upper;
    EXPECT_EQ(kp::safeAt(ten, kp::ClosedRange{row.lower, row.upper}), row.closed) << row.lower << "..." << row.upper;
  }
  EXPECT_EQ(kp::safeAt(kFamily + "x" + kFlag, kp::Range{1, 3}), "x" + kFlag);
}

TEST(StringKPExt, FirstAndLastCharacter) {
  EXPECT_EQ(kp::firstCharacter(""), std::nullopt);
  EXPECT_EQ(kp::lastCharacter(""), std::nullopt);
  EXPECT_EQ(kp::firstCharacter(kFamily + "ab"), kFamily);
  EXPECT_EQ(kp::lastCharacter("ab" + kDecomposed), kDecomposed);
}

TEST(StringKPExt, SlicingTable) {
  struct Row {
    std::string text;
    std::int64_t from, length;
    std::optional<std::string> result;
  };
  const Row rows[] = {
      {"hello", 2, 100, "llo"},
      {"hello", 5, 1, std::nullopt},
      {"", 0, 0, std::nullopt},
      {"hello", 1, 0, ""},
      {"hello", -1, 2, std::nullopt},
      {"hello", 1, -2, std::nullopt},
      {"hello", 1, 3, "ell"},
      {"hello", 0, kMax, "hello"},  // no overflow in from + length
      {"中" + kThumb + "文", 1, 1, kThumb},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::slicing(row.text, row.from, row.length), row.result) << row.text << " " << row.from;
    std::string mutated = row.text;
    kp::slice(mutated, row.from, row.length);
    EXPECT_EQ(mutated, row.result.value_or(row.text));
  }
}

TEST(StringKPExt, SliceToAndSliceAtLeaveTheTextAloneWhenThereIsNothing) {
  struct Row {
    std::int64_t from, to;
    std::string result;
  };
  const Row toRows[] = {{1, 3, "bc"}, {4, 2, "abcde"}, {3, 9, "abcde"}, {-2, 1, "abc"}, {5, 5, ""}};
  for (const Row& row : toRows) {
    std::string text = "abcde";
    kp::sliceTo(text, row.from, row.to);
    EXPECT_EQ(text, row.result) << row.from << ".." << row.to;
  }
  const std::pair<std::int64_t, std::string> atRows[] = {{2, "cde"}, {0, "abcde"}, {-1, "abcde"}, {5, "abcde"}};
  for (const auto& [at, result] : atRows) {
    std::string text = "abcde";
    kp::slice(text, at);
    EXPECT_EQ(text, result) << at;
  }
}

TEST(StringKPExt, TruncateAppendsTheTrailingTextOnlyWhenItCuts) {
  EXPECT_EQ(kp::kp_truncate("hello world", 5, "…"), "hello…");
  EXPECT_EQ(kp::kp_truncate("hello world", 5), "hello");
  EXPECT_EQ(kp::kp_truncate("hello", 5, "…"), "hello");
  EXPECT_EQ(kp::kp_truncate("", 0, "…"), "");
  EXPECT_EQ(kp::kp_truncate(kFamily + kThumb + "x", 1, "…"), kFamily + "…");
  EXPECT_DEATH((void)kp::kp_truncate("abc", -1), "must not be negative");
}

TEST(StringKPExt, TrimmingWorksOnScalars) {
  EXPECT_EQ(kp::trimming(" \t\na b\n\t ", kp::TrimmingType::whitespace), "\na b\n");
  EXPECT_EQ(kp::trimming(" \t\na b\n\t ", kp::TrimmingType::whitespaceAndNewline), "a b");
  EXPECT_EQ(kp::trimmed("\u3000\u00A0x\u2028"), "x");
  std::string text = "\r\n  hi  \r\n";
  kp::trim(text);
  EXPECT_EQ(text, "hi");
  EXPECT_EQ(kp::trimmed("   "), "");
  EXPECT_EQ(kp::removeAllNewLines("a\r\nb\u2028c\u0085d\ne"), "abcde");
  EXPECT_EQ(kp::withoutSpacesAndNewLines("a b\tc\r\nd"), "ab\tc\rd");
}

TEST(StringKPExt, SearchAndAffixes) {
  EXPECT_FALSE(kp::contains("abc", ""));
  EXPECT_TRUE(kp::contains("caf\u00E9!", "cafe\u0301"));  // canonical equivalence
  EXPECT_FALSE(kp::contains(kDecomposed, "e"));          // "e" is not a whole character there
  EXPECT_TRUE(kp::contains("Hello", "hELLO", ios::CompareOptions::caseInsensitive));
  EXPECT_TRUE(kp::contains("Crème", "creme",
                           ios::CompareOptions::caseInsensitive | ios::CompareOptions::diacriticInsensitive));
  EXPECT_TRUE(kp::contains("order 66", "[0-9]+", ios::CompareOptions::regularExpression));
  EXPECT_FALSE(kp::contains("order", "(", ios::CompareOptions::regularExpression));

  EXPECT_TRUE(kp::starts("Hello world", "hello", false));
  EXPECT_FALSE(kp::starts("Hello world", "hello"));
  EXPECT_TRUE(kp::ends("Hello WORLD", "world", false));
  EXPECT_FALSE(kp::starts(kDecomposed + "x", "e"));
  EXPECT_TRUE(kp::starts("\u00E9x", kDecomposed));

  EXPECT_EQ(kp::removingPrefix("prefix-body", "prefix-"), "body");
  EXPECT_EQ(kp::removingPrefix(kDecomposed + "x", "e"), kDecomposed + "x");
  EXPECT_EQ(kp::removingPrefix("\u00E9x", kDecomposed), "x");
  EXPECT_EQ(kp::removingSuffix("body.txt", ".txt"), "body");
  EXPECT_EQ(kp::removingSuffix("body.txt", ".png"), "body.txt");
  EXPECT_EQ(kp::removingSuffix("a" + kThumb, kThumb), "a");
}

TEST(StringKPExt, CountAndReplaceHandleEmptyAndOverlappingNeedles) {
  EXPECT_EQ(kp::countOf("aaa", "aa"), 1);
  EXPECT_EQ(kp::countOf("abcabc", "bc"), 2);
  EXPECT_EQ(kp::countOf("abc", ""), 0);
  EXPECT_EQ(kp::countOf("", "a"), 0);
  EXPECT_EQ(kp::countOf("Aa aA", "aa", false), 2);
  EXPECT_EQ(kp::countOf("Aa aA", "aa"), 0);

  EXPECT_EQ(kp::replacing("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(kp::replacing("abc", "", "x"), "abc");
  EXPECT_EQ(kp::replacing("caf\u00E9", "e\u0301", "e"), "cafe");  // canonical
  EXPECT_EQ(kp::replace("caf\u00E9", "e\u0301", "e"), "caf\u00E9");  // literal
  EXPECT_EQ(kp::replace("aaa", "a", "aa"), "aaaaaa");
}

TEST(StringKPExt, ReversedKeepsClustersIntact) {
  EXPECT_EQ(kp::reversed(""), "");
  EXPECT_EQ(kp::reversed("ab" + kThumb + kDecomposed), kDecomposed + kThumb + "ba");
  EXPECT_EQ(kp::reversed("x\r\ny"), "y\r\nx");
}

TEST(StringKPExt, PathsAndPasteboard) {
  EXPECT_EQ(kp::appendingPathComponent("/var/", "log"), "/var/log");
  EXPECT_EQ(kp::appendingPathComponent("", "b"), "b");
  EXPECT_EQ(kp::appendingPathComponent("a//b", "c/"), "a/b/c");
  EXPECT_EQ(kp::lastPathComponent("/var/log/"), "log");
  EXPECT_EQ(kp::lastPathComponent("/"), "/");
  EXPECT_EQ(kp::lastPathComponent(""), "");
  ios::testing::resetPasteboard();
  kp::copyToPasteboard("copied 中");
  EXPECT_EQ(ios::UIPasteboard::general().string(), "copied 中");
  ios::testing::resetPasteboard();
}

TEST(StringKPExt, RepetitionRefusesCountsBelowOne) {
  using namespace kp::operators;
  const std::string ab = "ab";
  EXPECT_EQ(ab * 3, "ababab");
  EXPECT_EQ(2 * ab, "abab");
  EXPECT_EQ(ab * 0, "");
  EXPECT_EQ(ab * -3, "");
  EXPECT_EQ(kp::repeated("", 5), "");
}

TEST(StringKPExt, RandomStringsDrawFromTheAlphabet) {
  ios::testing::ScopedRandomSource source([n = 0u]() mutable { return n++ * 7; });
  EXPECT_EQ(kp::randomString(0), "");
  // Draws 0, 7, 14, 21, ... map to alphabet positions directly (below 62).
  EXPECT_EQ(kp::randomString(4), "ahov");
  EXPECT_EQ(kp::makeRandomString(-2), "");
  EXPECT_EQ(kp::makeRandomString(2).size(), 2u);
  EXPECT_DEATH((void)kp::randomString(-1), "must not be negative");
}

TEST(StringKPExt, PairsEndWithAnEmptyOrSingleRun) {
  EXPECT_THAT(kp::pairs(""), ElementsAre(""));
  EXPECT_THAT(kp::pairs("a"), ElementsAre("a"));
  EXPECT_THAT(kp::pairs("ab"), ElementsAre("ab", ""));
  EXPECT_THAT(kp::pairs("abc"), ElementsAre("ab", "c"));
  const std::string clusters = kThumb + "b" + kFlag;
  EXPECT_THAT(kp::pairs(clusters), ElementsAre(kThumb + "b", kFlag));

  const std::vector<int> numbers{1, 2, 3};
  const auto runs = kp::pairs(numbers);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_THAT(std::vector<int>(runs[0].begin(), runs[0].end()), ElementsAre(1, 2));
  EXPECT_THAT(std::vector<int>(runs[1].begin(), runs[1].end()), ElementsAre(3));
  const std::vector<int> empty;
  EXPECT_EQ(kp::pairs(empty).size(), 1u);
}

TEST(StringKPExt, InsertingSeparatorsGroupsFromTheStart) {
  EXPECT_EQ(kp::inserting("1234567", ",", 3), "123,456,7");
  EXPECT_EQ(kp::inserting("123456", ",", 3), "123,456");
  EXPECT_EQ(kp::inserting("", ",", 3), "");
  EXPECT_EQ(kp::inserting(kThumb + kThumb + kThumb, "-", 2), kThumb + kThumb + "-" + kThumb);
  std::string text = "abcd";
  kp::insert(text, " ", 1);
  EXPECT_EQ(text, "a b c d");
  EXPECT_DEATH((void)kp::inserting("abc", ",", 0), "every must not be 0");
}

}  // namespace

namespace {

// Ill-formed UTF-8: every operation has a defined answer and never reads past the text.
TEST(StringKPExt, IllFormedInputHasDefinedAnswers) {
  const std::string bad = "a\xFF\xC3z\xE4\xB8";  // a, two stray bytes, z, a cut sequence
  EXPECT_EQ(kp::length(bad), 6);  // each ill-formed byte is a character
  EXPECT_EQ(kp::at(bad, 1).utf8(), "\uFFFD");
  EXPECT_EQ(kp::slicing(bad, 3, 5), "z\xE4\xB8");  // bytes are copied as they are
  EXPECT_EQ(kp::reversed(bad), "\xB8\xE4z\xC3\xFF" "a");
  EXPECT_TRUE(kp::contains(bad, "z"));
  EXPECT_EQ(kp::replacing(bad, "z", "Z"), "a\xFF\xC3Z\xE4\xB8");
  EXPECT_EQ(kp::countOf(bad, "\xFF"), 1);
  EXPECT_TRUE(kp::starts(bad, "A", false));
  EXPECT_EQ(kp::trimmed(" \xFF "), "\xFF");
  EXPECT_EQ(kp::inserting(bad, "-", 2), "a\xFF-\xC3z-\xE4\xB8");
}

}  // namespace
