#include "platform/foundation/Character.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unordered_set>
#include <vector>

#include "platform/foundation/Describe.h"

namespace {

using ios::Character;
using ::testing::ElementsAre;

TEST(Character, OneClusterIsAccepted) {
  struct Row {
    const char* name;
    const char* text;
    std::size_t scalars;
  };
  const Row rows[] = {
      {"ascii", "a", 1},
      {"crlf", "\r\n", 2},
      {"decomposed e acute", "e\u0301", 2},
      {"two combining marks", "a\u0301\u0323", 3},
      {"flag", "\U0001F1EB\U0001F1F7", 2},
      {"skin tone", "\U0001F44D\U0001F3FD", 2},
      {"zwj family", "\U0001F468\u200D\U0001F469\u200D\U0001F467", 5},
      {"hangul jamo", "\u1100\u1161\u11A8", 3},
      {"keycap", "1\uFE0F\u20E3", 3},
      {"devanagari", "\u0915\u094D\u0937", 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto c = Character::fromString(row.text);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->utf8(), row.text);
    EXPECT_EQ(c->unicodeScalars().size(), row.scalars);
  }
}

TEST(Character, AnythingButOneWellFormedClusterIsRefused) {
  const char* rows[] = {"", "ab", "\n\r", "e\u0301x", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                        "a\xFF"};
  for (const char* text : rows) {
    SCOPED_TRACE(ios::quotedString(text));
    EXPECT_FALSE(Character::fromString(text).has_value());
  }
}

TEST(CharacterDeathTest, ConstructorStopsOnTwoClusters) {
  EXPECT_DEATH(Character(std::string_view("ab")), "exactly one extended grapheme cluster");
  EXPECT_DEATH(Character(static_cast<char32_t>(0xD800)), "not a Unicode scalar");
}

TEST(Character, FirstTakesTheFirstCluster) {
  EXPECT_EQ(Character::first("abc")->utf8(), "a");
  EXPECT_EQ(Character::first("e\u0301x")->utf8(), "e\u0301");
  EXPECT_EQ(Character::first("\r\nx")->utf8(), "\r\n");
  EXPECT_EQ(Character::first("\xFF" "abc")->utf8(), "\uFFFD");
  EXPECT_FALSE(Character::first("").has_value());
}

TEST(Character, ComparesByCanonicalEquivalence) {
  const Character composed(U'\u00E9');
  const Character decomposed(std::string_view("e\u0301"));
  EXPECT_EQ(composed, decomposed);
  EXPECT_EQ(std::hash<Character>{}(composed), std::hash<Character>{}(decomposed));
  EXPECT_NE(Character(U'a'), Character(U'b'));
  EXPECT_LT(Character(U'a'), Character(U'b'));
  EXPECT_LT(Character(U'z'), composed);
  EXPECT_EQ(composed <=> decomposed, std::strong_ordering::equal);

  std::unordered_set<Character> set{composed, decomposed, Character(U'a')};
  EXPECT_EQ(set.size(), 2u);
}

TEST(Character, PropertiesAcrossScripts) {
  struct Row {
    const char* text;
    bool letter, number, whitespace, newline, punctuation, symbol, upper, lower, cased;
  };
  const Row rows[] = {
      // text            letter number white newline punct symbol upper  lower  cased
      {"A",              true,  false, false, false, false, false, true,  false, true},
      {"a",              true,  false, false, false, false, false, false, true,  true},
      {"1",              false, true,  false, false, false, false, false, false, false},
      {"\u0663",         false, true,  false, false, false, false, false, false, false},  // Arabic-Indic 3
      {"\u00DF",         true,  false, false, false, false, false, false, true,  true},   // ß
      {"\u01C5",         true,  false, false, false, false, false, false, false, true},   // ǅ titlecase
      {"\u03A3",         true,  false, false, false, false, false, true,  false, true},   // Σ
      {"\u4E2D",         true,  false, false, false, false, false, false, false, false},  // 中
      {" ",              false, false, true,  false, false, false, false, false, false},
      {"\t",             false, false, true,  false, false, false, false, false, false},
      {"\u00A0",         false, false, true,  false, false, false, false, false, false},
      {"\n",             false, false, true,  true,  false, false, false, false, false},
      {"\r\n",           false, false, true,  true,  false, false, false, false, false},
      {"\u2028",         false, false, true,  true,  false, false, false, false, false},
      {"!",              false, false, false, false, true,  false, false, false, false},
      {"\u00BF",         false, false, false, false, true,  false, false, false, false},  // ¿
      {"+",              false, false, false, false, false, true,  false, false, false},
      {"\u20AC",         false, false, false, false, false, true,  false, false, false},  // €
      {"\U0001F600",     false, false, false, false, false, true,  false, false, false},  // 😀
      {"e\u0301",        true,  false, false, false, false, false, false, true,  true},
      {"E\u0301",        true,  false, false, false, false, false, true,  false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ios::quotedString(row.text));
    const Character c{std::string_view(row.text)};
    EXPECT_EQ(c.isLetter(), row.letter);
    EXPECT_EQ(c.isNumber(), row.number);
    EXPECT_EQ(c.isWhitespace(), row.whitespace);
    EXPECT_EQ(c.isNewline(), row.newline);
    EXPECT_EQ(c.isPunctuation(), row.punctuation);
    EXPECT_EQ(c.isSymbol(), row.symbol);
    EXPECT_EQ(c.isUppercase(), row.upper);
    EXPECT_EQ(c.isLowercase(), row.lower);
    EXPECT_EQ(c.isCased(), row.cased);
  }
}

TEST(Character, FullCaseMapping) {
  struct Row {
    const char* text;
    const char* upper;
    const char* lower;
  };
  const Row rows[] = {
      {"a", "A", "a"},
      {"\u00DF", "SS", "\u00DF"},                // ß
      {"\uFB01", "FI", "\uFB01"},                // ﬁ ligature
      {"\u0130", "\u0130", "i\u0307"},          // İ
      {"\u01C5", "\u01C4", "\u01C6"},           // ǅ
      {"\u03A3", "\u03A3", "\u03C3"},           // Σ
      {"e\u0301", "E\u0301", "e\u0301"},
      {"1", "1", "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ios::quotedString(row.text));
    const Character c{std::string_view(row.text)};
    EXPECT_EQ(c.uppercased(), row.upper);
    EXPECT_EQ(c.lowercased(), row.lower);
  }
}

TEST(Character, NumericValues) {
  EXPECT_EQ(Character(U'7').wholeNumberValue(), 7);
  EXPECT_EQ(Character(U'\u0663').wholeNumberValue(), 3);
  EXPECT_EQ(Character(U'\u216B').wholeNumberValue(), 12);  // Roman numeral twelve
  EXPECT_FALSE(Character(U'\u00BD').wholeNumberValue().has_value());  // ½
  EXPECT_TRUE(Character(U'\u00BD').isNumber());
  EXPECT_FALSE(Character(std::string_view("1\uFE0F\u20E3")).wholeNumberValue().has_value());

  EXPECT_EQ(Character(U'f').hexDigitValue(), 15);
  EXPECT_EQ(Character(U'B').hexDigitValue(), 11);
  EXPECT_EQ(Character(U'\uFF26').hexDigitValue(), 15);  // full-width F
  EXPECT_EQ(Character(U'\uFF19').hexDigitValue(), 9);   // full-width 9
  EXPECT_FALSE(Character(U'g').hexDigitValue().has_value());
}

TEST(Character, AsciiValue) {
  EXPECT_EQ(Character(U'A').asciiValue(), 65);
  EXPECT_EQ(Character(std::string_view("\r\n")).asciiValue(), 10);
  EXPECT_FALSE(Character(U'\u00E9').asciiValue().has_value());
  EXPECT_FALSE(Character(U'\u00E9').isASCII());
}

TEST(Character, DescribesAsItsText) {
  const Character c(U'\u00E9');
  EXPECT_EQ(ios::describe(c), "\u00E9");
  EXPECT_EQ(ios::describe(std::vector<Character>{Character(U'a'), Character(U'"')}), "[\"a\", \"\\\"\"]");
  EXPECT_THAT(Character(std::string_view("\U0001F1EB\U0001F1F7")).unicodeScalars(),
              ElementsAre(U'\U0001F1EB', U'\U0001F1F7'));
}

}  // namespace

namespace {

TEST(Character, SegmentsOnSeveralThreadsAtOnce) {
  // Each thread segments with its own break iterator.
  std::vector<std::thread> threads;
  std::atomic<int> accepted{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        if (ios::Character::fromString("\U0001F1EB\U0001F1F7") && ios::Character::fromString("e\u0301") &&
            !ios::Character::fromString("e\u0301x")) {
          ++accepted;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(accepted.load(), 2000);
}

}  // namespace
