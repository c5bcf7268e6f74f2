#include "KPQuaslet/text/String+KPValidation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPQuaslet/text/String+KPConversion.h"
#include "KPQuaslet/text/String+KPSlicing.h"
#include "platform/foundation/Locale.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::string> texts(const std::vector<ios::URL>& urls) {
  std::vector<std::string> out;
  for (const auto& url : urls) out.push_back(url.absoluteString());
  return out;
}

TEST(StringKPExtValidation, PatternsAreKeptExactly) {
  EXPECT_EQ(kp::kSimpleEmailPattern.size(), 47u);
  EXPECT_EQ(kp::kFullEmailPattern.size(), 450u);
}

TEST(StringKPExtValidation, RegexMatchesTheWholeTextAndRefusesBadPatterns) {
  EXPECT_TRUE(kp::isValidateByRegex("2024", "[0-9]{4}"));
  EXPECT_FALSE(kp::isValidateByRegex("2024!", "[0-9]{4}"));
  EXPECT_FALSE(kp::isValidateByRegex("2024\n", "[0-9]{4}"));
  EXPECT_FALSE(kp::isValidateByRegex("(", "("));  // invalid pattern: false, no exception
  EXPECT_FALSE(kp::isValidateByRegex("abc", "[a-"));
  EXPECT_TRUE(kp::isValidateByRegex("", "a*"));
}

TEST(StringKPExtValidation, CallersPatternsThatBacktrackWithoutEndAnswerNoMatch) {
  const std::string runaway = std::string(40, 'a') + "b";
  EXPECT_FALSE(kp::isValidateByRegex(runaway, "(a+)+$"));
  EXPECT_FALSE(kp::contains(runaway, "(a+)+$", ios::CompareOptions::regularExpression));
  EXPECT_TRUE(kp::isValidateByRegex(std::string(40, 'a'), "(a+)+$"));  // matches quickly
}

TEST(StringKPExtValidation, LongTextsMatchWhateverTheBacktrackingTheyNeed) {
  EXPECT_TRUE(kp::isValidateByRegex(std::string(1000000, 'a'), "a*"));
  EXPECT_FALSE(kp::isValidateByRegex(std::string(1000000, 'a') + "b", "a*"));
}

TEST(StringKPExtValidation, MobileNumbers) {
  struct Row {
    const char* text;
    bool valid;
  };
  const Row rows[] = {
      {"13812345678", true},   {"15012345678", true},  {"15912345678", true},  {"17012345678", true},
      {"18012345678", true},   {"18912345678", true},  {"15412345678", false}, {"18112345678", false},
      {"18312345678", false},  {"14712345678", false}, {"1381234567", false},  {"138123456789", false},
      {"13812345678 ", false}, {"13812345678\n", false},
      {"13\u0668\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668", true},  // Arabic-Indic digits in \d places
  };
  for (const Row& row : rows) EXPECT_EQ(kp::isMobileNumberClassification(row.text), row.valid) << row.text;
}

TEST(StringKPExtValidation, EmailAddresses) {
  struct Row {
    const char* text;
    bool simple, full;
  };
  const Row rows[] = {
      {"me@example.org", true, true},
      {"me@example.cn", true, true},
      {" me@example.org ", false, false},
      {"me@example.abcde", false, true},  // five-letter last label: too long for the simple form
      {"jörg@example.de", false, true},
      {"a@b@example.com", false, false},
      {"me@example.org\n", false, false},  // a trailing line break is not an address
      {"me@example.org\r\n", false, false},
      {"a@EXAMPLE.COM", true, false},  // the full pattern takes lower case in mid-label
      {"\"quoted.name\"@example.org", false, true},
      {"\"quoted name\"@example.org", false, false},  // no space inside the quotes
      {"me@[192.168.0.1]", false, true},
      {"", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::isEmailAddress(row.text), row.simple) << row.text;
    EXPECT_EQ(kp::isValidEmail(row.text), row.full) << row.text;
  }
}

TEST(StringKPExtValidation, UrlTests) {
  struct Row {
    const char* text;
    bool valid, schemed, https, http;
  };
  const Row rows[] = {
      {"https://example.org/a?b=1", true, true, true, false},
      {"http://example.org", true, true, false, true},
      {"HTTPS://example.org", true, true, false, false},  // the scheme compares exactly
      {"hello", true, false, false, false},
      {"", false, false, false, false},
      {"has space", false, false, false, false},
      {"mailto:me@example.org", true, true, false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::isValidUrl(row.text), row.valid) << row.text;
    EXPECT_EQ(kp::isValidSchemedUrl(row.text), row.schemed) << row.text;
    EXPECT_EQ(kp::isValidHttpsUrl(row.text), row.https) << row.text;
    EXPECT_EQ(kp::isValidHttpUrl(row.text), row.http) << row.text;
  }
}

TEST(StringKPExtValidation, EmbeddedLinksInTextOrder) {
  EXPECT_THAT(texts(kp::kp_embeddedURLs("see https://a.example/x?y=1, then www.example.com. Or write to me@example.org!")),
              ElementsAre("https://a.example/x?y=1", "http://www.example.com", "mailto:me@example.org"));
  EXPECT_THAT(texts(kp::kp_embeddedURLs("中文 👍🏽 http://example.org/end")), ElementsAre("http://example.org/end"));
  EXPECT_THAT(texts(kp::kp_embeddedURLs("(see http://example.org/wiki_(x))")),
              ElementsAre("http://example.org/wiki_(x)"));
  EXPECT_TRUE(kp::kp_embeddedURLs("no links here, e.g. this.").empty());
  EXPECT_TRUE(kp::kp_embeddedURLs("").empty());
  EXPECT_THAT(texts(kp::extractURLs("x ftp://files.example.org/a")), ElementsAre("ftp://files.example.org/a"));
}

TEST(StringKPExtValidation, IsEmailLooksAtTheFirstLinkOnly) {
  EXPECT_TRUE(kp::isEmail("write to me@example.org"));
  EXPECT_TRUE(kp::isEmail("me@example.org then https://example.org"));
  EXPECT_FALSE(kp::isEmail("https://example.org then me@example.org"));
  EXPECT_FALSE(kp::isEmail("no link"));
  EXPECT_FALSE(kp::isEmail(""));
}

TEST(StringKPExtValidation, CharacterClasses) {
  struct Row {
    const char* text;
    bool letters, numbers, alphabetic, numeric, alphaNumeric;
  };
  const Row rows[] = {
      {"", false, false, false, false, false},
      {"abc", true, false, true, false, false},
      {"123", false, true, false, true, false},
      {"abc123", true, true, false, false, true},
      {"abc 123", true, true, false, false, false},
      {"中文\u0663", true, true, false, false, true},
      {"a-b", true, false, true, false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::hasLetters(row.text), row.letters) << row.text;
    EXPECT_EQ(kp::hasNumbers(row.text), row.numbers) << row.text;
    EXPECT_EQ(kp::isAlphabetic(row.text), row.alphabetic) << row.text;
    EXPECT_EQ(kp::isNumeric(row.text), row.numeric) << row.text;
    EXPECT_EQ(kp::isAlphaNumeric(row.text), row.alphaNumeric) << row.text;
  }
}

TEST(StringKPExtValidation, EmojiDetection) {
  struct Row {
    const char* text;
    bool emoji;
  };
  const Row rows[] = {
      {"", false},
      {"\u00A9 2024", true},
      {"plain", false},
      {"a\U0001F600", true},  // not only the first scalar counts
      {"\U0001F468\u200D\U0001F469\u200D\U0001F467", true},
      {"\U0001F1EB\U0001F1F7", false},  // flags are outside the set
      {"\u2764\uFE0F", true},
      {"\U0001F91D", false},  // newer emoji block, outside the set
  };
  for (const Row& row : rows) EXPECT_EQ(kp::containEmoji(row.text), row.emoji) << row.text;
}

TEST(StringKPExtValidation, BooleanReading) {
  EXPECT_EQ(kp::bool_(" TRUE\n"), true);
  EXPECT_EQ(kp::bool_("1"), true);
  EXPECT_EQ(kp::bool_("False"), false);
  EXPECT_EQ(kp::bool_("0"), false);
  EXPECT_EQ(kp::bool_("yes"), std::nullopt);
  EXPECT_EQ(kp::bool_(""), std::nullopt);
}

class StringKPExtNumbers : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ScopedLocale locale_{"en_US"};
};

TEST_F(StringKPExtNumbers, PureNumbersAndLocaleNumbers) {
  struct Row {
    const char* text;
    bool pureInt, pureDouble;
  };
  const Row rows[] = {
      {"12", true, true},          {" +12 ", true, true},     {"-7\n", true, true},
      {"12a", false, false},       {"1.5", false, true},      {"1e3", false, true},
      {".5", false, true},         {"", false, false},        {"  ", false, false},
      // Beyond 64 bits: the scanner still reads an integer (clamped), so it is pure.
      {"99999999999999999999", true, true},   {"-99999999999999999999 ", true, true},
      {"1 2", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kp::isPureInt(row.text), row.pureInt) << row.text;
    EXPECT_EQ(kp::isPureDouble(row.text), row.pureDouble) << row.text;
  }
  EXPECT_EQ(kp::toInt("99999999999999999999"), std::nullopt);  // pure, yet no Int
  EXPECT_TRUE(kp::isNumber("3.5"));
  EXPECT_FALSE(kp::isNumber("3.5x"));
  ios::testing::ScopedLocale german("de_DE");
  EXPECT_TRUE(kp::isNumber("3,5"));
}

TEST(StringKPExtValidation, BlankTexts) {
  EXPECT_TRUE(kp::isEmpty(""));
  EXPECT_TRUE(kp::isEmpty(" \t\r\n\u3000"));
  EXPECT_FALSE(kp::isEmpty(" x "));
  EXPECT_TRUE(kp::isOnlyEmptySpacesAndNewLineCharacters("\n\n"));
}

TEST(StringKPExtValidation, LinesWordsAndParagraphs) {
  EXPECT_THAT(kp::lines("a\nb\r\nc\rd\u2028e\n"), ElementsAre("a", "b", "c", "d", "e"));
  EXPECT_THAT(kp::lines("a\n\nb"), ElementsAre("a", "", "b"));
  EXPECT_TRUE(kp::lines("").empty());

  EXPECT_THAT(kp::words("Hello, world! It's $5"), ElementsAre("Hello", "world", "It", "s", "$5"));
  EXPECT_THAT(kp::words("中文，测试"), ElementsAre("中文", "测试"));
  EXPECT_EQ(kp::wordCount(""), 0);
  EXPECT_EQ(kp::wordCount("  one\ntwo  "), 2);

  struct Row {
    const char* text;
    std::int64_t paragraphs;
  };
  const Row rows[] = {{"", 1}, {"   ", 1}, {"one", 1}, {"a\n\nb", 3}, {"\n\na\nb\n\n", 2}, {"a\r\nb", 2}};
  for (const Row& row : rows) EXPECT_EQ(kp::countofParagraphs(row.text), row.paragraphs) << row.text;
}

TEST(StringKPExtValidation, MostCommonCharacterIsDeterministic) {
  EXPECT_EQ(kp::mostCommonCharacter("hello world"), "l");
  EXPECT_EQ(kp::mostCommonCharacter("abab"), "a");  // a tie goes to the first to appear
  EXPECT_EQ(kp::mostCommonCharacter("baba"), "b");
  EXPECT_EQ(kp::mostCommonCharacter(" \n \n"), "");
  EXPECT_EQ(kp::mostCommonCharacter("👍🏽x👍🏽"), "👍🏽");
  EXPECT_EQ(kp::mostCommonCharacter("e\u0301x\u00E9"), "e\u0301");  // canonically equal characters count together
  EXPECT_EQ(kp::mostCommonCharacter("x\r\n\r\n"), "x");  // "\r" alone never occurs: CR LF is one character
  EXPECT_EQ(kp::mostCommonCharacter("\xFF\xFE" "a\xFE"), "\xFE");  // stray bytes count apart
}

TEST(StringKPExtValidation, IndexOfCountsCharacters) {
  const std::string text = "👨\u200D👩\u200D👧ab\u00E9";
  EXPECT_EQ(kp::getIndexOf(text, ios::Character(U'a')), 1);
  EXPECT_EQ(kp::getIndexOf(text, ios::Character(std::string_view("e\u0301"))), 3);  // canonical
  EXPECT_EQ(kp::getIndexOf(text, ios::Character(U'z')), std::nullopt);
  EXPECT_EQ(kp::getIndexOf("", ios::Character(U'z')), std::nullopt);
}

}  // namespace

namespace {

TEST(StringKPExtValidation, IllFormedInputHasDefinedAnswers) {
  const std::string bad = "ab\xFF 12\xC3";
  EXPECT_TRUE(kp::hasLetters(bad));
  EXPECT_TRUE(kp::hasNumbers(bad));
  EXPECT_FALSE(kp::isAlphaNumeric(bad));
  EXPECT_FALSE(kp::containEmoji(bad));
  EXPECT_THAT(kp::words(bad), ElementsAre("ab\xFF", "12\xC3"));
  EXPECT_FALSE(kp::isEmailAddress("me\xFF@example.org"));
  EXPECT_FALSE(kp::isValidEmail("me@example.org\xFF"));
  EXPECT_FALSE(kp::isValidUrl("http://a\xFF"));
  EXPECT_TRUE(kp::kp_embeddedURLs("\xFFhttp://example.org\xFF").size() == 1);
  EXPECT_EQ(kp::countofParagraphs("a\n\xFF\nb"), 3);
  EXPECT_FALSE(kp::isPureInt("12\xFF"));
  EXPECT_EQ(kp::bool_("\xFF"), std::nullopt);
}

}  // namespace
