#include "KPQuaslet/values/Character+KPExt.h"

#include <gtest/gtest.h>

#include "ScriptedRandom.h"
#include "platform/foundation/Describe.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ios::Character;

Character ch(const char* text) { return Character(std::string_view(text)); }

TEST(CharacterKPExt, ClassesAcrossScriptsAndEmoji) {
  struct Row {
    const char* text;
    bool emoji, number, letter, upper, lower, space;
  };
  const Row rows[] = {
      // text               emoji  number letter upper  lower  space
      {"7",                 false, true,  false, true,  true,  false},
      {"a",                 false, false, true,  false, true,  false},
      {"A",                 false, false, true,  true,  false, false},
      {"\u0663",            false, false, false, true,  true,  false},  // Arabic-Indic 3: not ASCII
      {"\u00DF",            false, false, true,  false, true,  false},  // ß
      {"\u01C5",            false, false, true,  false, false, false},  // ǅ: neither
      {"e\u0301",           false, false, true,  false, true,  false},
      {"\u0301",            false, false, true,  true,  true,  false},  // a lone mark counts as a letter
      {"\u4E2D",            false, false, true,  true,  true,  false},
      {" ",                 false, false, false, true,  true,  true},
      {"\t",                false, false, false, true,  true,  false},
      {"\n",                false, false, false, true,  true,  false},
      {"\u00A0",            false, false, false, true,  true,  false},
      {"!",                 false, false, false, true,  true,  false},
      {"\u00A9",            true,  false, false, true,  true,  false},  // ©
      {"\u00AE",            true,  false, false, true,  true,  false},  // ®
      {"\u3030",            true,  false, false, true,  true,  false},
      {"\U0001F600",        true,  false, false, true,  true,  false},
      {"\U0001D000",        true,  false, false, true,  true,  false},
      {"\U0001F77F",        true,  false, false, true,  true,  false},
      {"\u2100",            true,  false, false, true,  true,  false},
      {"\u2122",            true,  false, false, true,  true,  false},  // ™, letter-like
      {"\u27BF",            true,  false, false, true,  true,  false},
      {"\uFE0F",            true,  false, true,  true,  true,  false},  // variation selector: Mn
      {"\U0001F900",        true,  false, false, true,  true,  false},
      {"\U0001F9FF",        true,  false, false, true,  true,  false},
      {"\U0001F1EB\U0001F1F7", true, false, false, true,  true,  false},  // flag
      {"\U0001F44D\U0001F3FD", true, false, false, true,  true,  false},  // skin tone
      {"\u27C0",            false, false, false, true,  true,  false},
      {"\U0001F780",        false, false, false, true,  true,  false},
      {"\U0001FA77",        false, false, false, true,  true,  false},
      {"1\uFE0F\u20E3",     false, false, true,  true,  true,  false},  // keycap: its marks are letters
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ios::quotedString(row.text));
    const Character c = ch(row.text);
    EXPECT_EQ(kp::isEmoji(c), row.emoji);
    EXPECT_EQ(kp::isNumber(c), row.number);
    EXPECT_EQ(kp::isLetter(c), row.letter);
    EXPECT_EQ(kp::isUppercased(c), row.upper);
    EXPECT_EQ(kp::isLowercased(c), row.lower);
    EXPECT_EQ(kp::isWhiteSpace(c), row.space);
  }
}

TEST(CharacterKPExt, DigitValues) {
  for (char32_t d = U'0'; d <= U'9'; ++d) EXPECT_EQ(kp::int_(Character(d)), static_cast<std::int64_t>(d - U'0'));
  EXPECT_FALSE(kp::int_(Character(U'a')).has_value());
  EXPECT_FALSE(kp::int_(Character(U'+')).has_value());
  EXPECT_FALSE(kp::int_(Character(U'\uFF17')).has_value());  // full-width 7
}

TEST(CharacterKPExt, CaseMappingKeepsTheFirstCharacter) {
  struct Row {
    const char* text;
    const char* upper;
    const char* lower;
  };
  const Row rows[] = {
      {"a", "A", "a"},
      {"\u00DF", "S", "\u00DF"},            // ß upper-cases to "SS"
      {"\uFB01", "F", "\uFB01"},            // ﬁ upper-cases to "FI"
      {"\u0130", "\u0130", "i\u0307"},      // İ lower-cases to one character of two scalars
      {"\u0149", "\u02BC", "\u0149"},       // ŉ upper-cases to ʼN
      {"e\u0301", "E\u0301", "e\u0301"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ios::quotedString(row.text));
    EXPECT_EQ(kp::uppercased(ch(row.text)).utf8(), row.upper);
    EXPECT_EQ(kp::lowercased(ch(row.text)).utf8(), row.lower);
  }
  EXPECT_EQ(kp::string(ch("e\u0301")), "e\u0301");
}

TEST(CharacterKPExt, Repetition) {
  const Character x(U'x');
  EXPECT_EQ(x * 3, "xxx");
  EXPECT_EQ(3 * x, "xxx");
  EXPECT_EQ(x * 0, "");
  EXPECT_EQ(x * -1, "");
  EXPECT_EQ(-5 * x, "");
  EXPECT_EQ(ch("e\u0301") * 2, "e\u0301e\u0301");
}

TEST(CharacterKPExtDeathTest, RepetitionTooLongForAStringStops) {
  // Four bytes times 2^62 wraps the size to 0: without the check the loop would append
  // until memory ran out.
  EXPECT_DEATH((void)(ch("\U0001F600") * (std::int64_t{1} << 62)), "the result is too long");
}

class CharacterRandomTest : public ios::testing::PlatformFixture {};

TEST_F(CharacterRandomTest, AlphanumericDrawsFromTheSixtyTwo) {
  kp_test::ScriptedRandom random{0, 25, 26, 61, 62};
  EXPECT_EQ(kp::randomAlphanumericCharacter(), Character(U'a'));
  EXPECT_EQ(kp::randomAlphanumericCharacter(), Character(U'z'));
  EXPECT_EQ(kp::randomAlphanumericCharacter(), Character(U'A'));
  EXPECT_EQ(kp::randomAlphanumericCharacter(), Character(U'9'));
  EXPECT_EQ(kp::randomAlphanumericCharacter(), Character(U'a'));  // 62 wraps: the span is 62
}

}  // namespace
