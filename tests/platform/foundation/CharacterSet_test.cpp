#include "platform/foundation/CharacterSet.h"

#include <gtest/gtest.h>

namespace {

using ios::CharacterSet;

TEST(CharacterSet, PredefinedSetsFollowTheGeneralCategories) {
  struct Row {
    char32_t scalar;
    bool letter, digit, alnum, space, spaceOrNewline, punct, symbol;
  };
  const Row rows[] = {
      // scalar     letter digit  alnum  space  spaceNL punct  symbol
      {U'a',        true,  false, true,  false, false,  false, false},
      {U'\u0301',   true,  false, true,  false, false,  false, false},  // combining acute
      {U'\u4E2D',   true,  false, true,  false, false,  false, false},
      {U'7',        false, true,  true,  false, false,  false, false},
      {U'\u0663',   false, true,  true,  false, false,  false, false},
      {U'\u00BD',   false, false, true,  false, false,  false, false},  // ½ (No)
      {U' ',        false, false, false, true,  true,   false, false},
      {U'\t',       false, false, false, true,  true,   false, false},
      {U'\u00A0',   false, false, false, true,  true,   false, false},
      {U'\n',       false, false, false, false, true,   false, false},
      {U'\u2028',   false, false, false, false, true,   false, false},
      {U'!',        false, false, false, false, false,  true,  false},
      {U'$',        false, false, false, false, false,  false, true},
      {U'\U0001F600', false, false, false, false, false, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<std::uint32_t>(row.scalar));
    EXPECT_EQ(CharacterSet::letters().contains(row.scalar), row.letter);
    EXPECT_EQ(CharacterSet::decimalDigits().contains(row.scalar), row.digit);
    EXPECT_EQ(CharacterSet::alphanumerics().contains(row.scalar), row.alnum);
    EXPECT_EQ(CharacterSet::whitespaces().contains(row.scalar), row.space);
    EXPECT_EQ(CharacterSet::whitespacesAndNewlines().contains(row.scalar), row.spaceOrNewline);
    EXPECT_EQ(CharacterSet::punctuationCharacters().contains(row.scalar), row.punct);
    EXPECT_EQ(CharacterSet::symbols().contains(row.scalar), row.symbol);
  }
  EXPECT_TRUE(CharacterSet::uppercaseLetters().contains(U'\u01C5'));
  EXPECT_TRUE(CharacterSet::capitalizedLetters().contains(U'\u01C5'));
  EXPECT_FALSE(CharacterSet::lowercaseLetters().contains(U'\u01C5'));
  EXPECT_TRUE(CharacterSet::newlines().contains(U'\u0085'));
  EXPECT_TRUE(CharacterSet::controlCharacters().contains(U'\u200E'));  // Cf
  EXPECT_TRUE(CharacterSet::controlCharacters().contains(U'\u0007'));  // Cc
  EXPECT_TRUE(CharacterSet::nonBaseCharacters().contains(U'\u0301'));
}

TEST(CharacterSet, GivenCharactersUnionAndInverse) {
  const CharacterSet signs(std::string_view("+-\u00B1"));
  EXPECT_TRUE(signs.contains(U'\u00B1'));
  EXPECT_FALSE(signs.contains(U'*'));
  EXPECT_TRUE(signs.inverted().contains(U'*'));
  const CharacterSet both = signs.union_(CharacterSet::decimalDigits());
  EXPECT_TRUE(both.contains(U'-'));
  EXPECT_TRUE(both.contains(U'4'));
  EXPECT_FALSE(both.contains(U'x'));
}

TEST(CharacterSet, RangeOfCharacterGivesByteOffsets) {
  using Span = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(ios::rangeOfCharacter("ab1", CharacterSet::decimalDigits()), Span(2, 1));
  EXPECT_EQ(ios::rangeOfCharacter("\u00E9x", CharacterSet::letters()), Span(0, 2));
  EXPECT_FALSE(ios::rangeOfCharacter("123", CharacterSet::letters()).has_value());
  EXPECT_FALSE(ios::rangeOfCharacter("", CharacterSet::letters()).has_value());
}

}  // namespace
