#include "platform/foundation/NSString.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/String.h"

namespace {

using ::testing::ElementsAre;
using ios::CompareOptions;

TEST(NSString, RangeHonoursCompareOptions) {
  struct Row {
    const char* text;
    const char* target;
    CompareOptions options;
    std::optional<ios::ByteRange> found;
  };
  const Row rows[] = {
      {"abcabc", "bc", CompareOptions::none, ios::ByteRange{1, 2}},
      {"abcabc", "bc", CompareOptions::backwards, ios::ByteRange{4, 2}},
      {"abcabc", "bc", CompareOptions::anchored, std::nullopt},
      {"abcabc", "ab", CompareOptions::anchored, ios::ByteRange{0, 2}},
      {"abcabc", "bc", CompareOptions::anchored | CompareOptions::backwards, ios::ByteRange{4, 2}},
      {"aaa", "aa", CompareOptions::backwards, ios::ByteRange{1, 2}},
      {"abc", "", CompareOptions::none, std::nullopt},
      {"Straße", "STRASSE", CompareOptions::caseInsensitive, ios::ByteRange{0, 7}},
      {"x caf\u00E9", "cafe\u0301", CompareOptions::none, ios::ByteRange{2, 5}},
      {"x caf\u00E9", "cafe\u0301", CompareOptions::literal, std::nullopt},
      {"e\u0301", "e", CompareOptions::none, std::nullopt},
      {"e\u0301", "e", CompareOptions::literal, ios::ByteRange{0, 1}},
      {"na\u00EFve", "naive", CompareOptions::diacriticInsensitive, ios::ByteRange{0, 6}},
      {"\uFF21\uFF22", "AB", CompareOptions::widthInsensitive, ios::ByteRange{0, 6}},
      {"id 4521!", "[0-9]+", CompareOptions::regularExpression, ios::ByteRange{3, 4}},
      {"ID", "id", CompareOptions::regularExpression | CompareOptions::caseInsensitive, ios::ByteRange{0, 2}},
      {"abc", "(", CompareOptions::regularExpression, std::nullopt},
      // A lone combining mark folds to nothing without diacritics; it is no part of a
      // match, in either direction (searching backwards from it once never ended).
      {"\u0301a", "a", CompareOptions::backwards | CompareOptions::diacriticInsensitive, ios::ByteRange{2, 1}},
      {"\u0301a", "a", CompareOptions::diacriticInsensitive, ios::ByteRange{2, 1}},
      {"\u0301a\n\u0301a", "a", CompareOptions::backwards | CompareOptions::diacriticInsensitive,
       ios::ByteRange{6, 1}},
      {"\n\u0301a", "\na", CompareOptions::diacriticInsensitive, ios::ByteRange{0, 4}},  // inside a match it stays
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ios::range(row.text, row.target, row.options), row.found) << row.text << " / " << row.target;
  }
}

TEST(NSString, ReplacingAndSplittingNeverLoopOnEmptyTargets) {
  EXPECT_EQ(ios::replacingOccurrences("a.b.c", ".", ""), "abc");
  EXPECT_EQ(ios::replacingOccurrences("abc", "", "x"), "abc");
  EXPECT_EQ(ios::replacingOccurrences("aXbx", "x", "-", CompareOptions::caseInsensitive), "a-b-");
  EXPECT_EQ(ios::replacingOccurrences("a1b22", "[0-9]+", "#", CompareOptions::regularExpression), "a#b#");
  EXPECT_THAT(ios::components("a,b,,c", ","), ElementsAre("a", "b", "", "c"));
  EXPECT_THAT(ios::components("abc", ""), ElementsAre("abc"));
  EXPECT_THAT(ios::components("", ","), ElementsAre(""));
  EXPECT_THAT(ios::components("a\r\nb", ios::CharacterSet::newlines()), ElementsAre("a", "", "b"));
  EXPECT_EQ(ios::replacingOccurrences("\u0301a\n\u0301A", "a", "-", CompareOptions::diacriticInsensitive |
                                                                        CompareOptions::caseInsensitive),
            "\u0301-\n\u0301-");
}

TEST(NSString, TrimCapitaliseFold) {
  EXPECT_EQ(ios::trimmingCharacters("  a b  ", ios::CharacterSet::whitespaces()), "a b");
  EXPECT_EQ(ios::trimmingCharacters("xx", ios::CharacterSet(std::string_view("x"))), "");
  EXPECT_EQ(ios::capitalized("hello wORLD\tß-x\nnew"), "Hello World\tSs-x\nNew");
  EXPECT_EQ(ios::capitalized("  "), "  ");
  EXPECT_EQ(ios::folding("Crème Brûlée", CompareOptions::diacriticInsensitive), "Creme Brulee");
  EXPECT_EQ(ios::folding("Crème", CompareOptions::caseInsensitive), "crème");
}

TEST(NSString, LinesPathsAndTheBridgedString) {
  std::vector<std::string> lines;
  ios::enumerateLines("a\r\n\nb\u0085c", [&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_THAT(lines, ElementsAre("a", "", "b", "c"));
  EXPECT_EQ(ios::appendingPathComponent("/", "a"), "/a");
  EXPECT_EQ(ios::appendingPathComponent("a", ""), "a");
  EXPECT_EQ(ios::appendingPathComponent("", ""), "");
  EXPECT_EQ(ios::lastPathComponent("a/b"), "b");
  EXPECT_EQ(ios::lastPathComponent("///"), "/");

  const ios::NSString bridged("a😀\xFF");
  EXPECT_EQ(bridged.length(), 4u);
  EXPECT_EQ(bridged.characterAtIndex(1), 0xD83D);
  EXPECT_EQ(bridged.utf8(), "a😀\uFFFD");
}

TEST(NSRange, OffsetsConvertBetweenUTF8AndUTF16) {
  const std::string text = "a😀é\xFF" "b";  // units: a, 2 surrogates, é, U+FFFD, b
  EXPECT_EQ(ios::utf16Length(text), 6u);
  EXPECT_EQ(ios::utf16Offset(text, 1), 1u);
  EXPECT_EQ(ios::utf16Offset(text, 5), 3u);
  EXPECT_EQ(ios::utf16Offset(text, 3), 1u);  // inside the emoji: its start
  EXPECT_EQ(ios::utf8Offset(text, 3), 5u);
  EXPECT_EQ(ios::utf8Offset(text, 2), 5u);   // between the surrogates: the next scalar
  EXPECT_EQ(ios::utf8Offset(text, 99), text.size());
}

TEST(String, IndexWalksCharactersLazily) {
  const std::string text = "a👍🏽\r\ne\u0301";
  EXPECT_THAT(ios::characterBoundaries(text), ElementsAre(0, 1, 9, 11, 14));
  EXPECT_EQ(ios::index(text, 0, 2), 9u);
  EXPECT_EQ(ios::index(text, 9, 2), 14u);  // reaching the end exactly
  EXPECT_EQ(ios::index(text, 9, 3), std::nullopt);
  EXPECT_EQ(ios::index("", 0, 0), 0u);
  // Clusters that straddle the segmentation windows, and one longer than a window.
  std::string long_ = std::string(255, 'x') + "👍🏽" + "a" + std::string(600, '\xCC');
  for (std::size_t i = 0; i < 300; ++i) long_ += "\xCC\x81";  // a combining acute, 300 times
  const auto bounds = ios::characterBoundaries(long_);
  for (std::size_t k = 0; k < bounds.size(); k += 37) EXPECT_EQ(ios::index(long_, 0, k), bounds[k]) << k;
  EXPECT_EQ(ios::index(long_, 0, bounds.size() - 1), long_.size());
  // A long run of flags: regional indicators pair up from the start of the run, across
  // windows too.
  std::string flags = "x";
  for (int i = 0; i < 301; ++i) flags += "\U0001F1EB\U0001F1F7";
  const auto flagBounds = ios::characterBoundaries(flags);
  ASSERT_EQ(flagBounds.size(), 303u);
  for (std::size_t k = 0; k < flagBounds.size(); k += 13) EXPECT_EQ(ios::index(flags, 0, k), flagBounds[k]) << k;
  EXPECT_EQ(ios::index(flags, 1, 301), flags.size());
  EXPECT_EQ(ios::decodingUTF8("a\xC3"), "a\uFFFD");
}

}  // namespace
