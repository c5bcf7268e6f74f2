#include "KPQuaslet/text/String+KPConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "KPQuaslet/text/Date+KPExtText.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIFont.h"

namespace {

class StringKPExtConversion : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ScopedTimeZone zone_{"UTC"};
  ios::testing::ScopedLocale locale_{"en_US"};
};

// 2024-03-05 00:00:00 UTC in seconds since 2001-01-01.
constexpr double kMarch5 = 731289600;

TEST_F(StringKPExtConversion, DatesReadFixedFormats) {
  EXPECT_EQ(kp::toDate("2024-03-05 14:07:09")->timeIntervalSinceReferenceDate(), kMarch5 + 14 * 3600 + 7 * 60 + 9);
  EXPECT_EQ(kp::toDate("2024-03-05"), std::nullopt);
  EXPECT_EQ(kp::date("  2024-03-05\t")->timeIntervalSinceReferenceDate(), kMarch5);
  EXPECT_EQ(kp::date("2024-03-05\n"), std::nullopt);  // line breaks are not trimmed
  EXPECT_EQ(kp::date("2024-02-30"), std::nullopt);
  EXPECT_EQ(kp::date("2024-13-01"), std::nullopt);
  EXPECT_EQ(kp::date("2024-03-05x"), std::nullopt);
  EXPECT_EQ(kp::dateTime(" 2024-03-05 00:00:01 ")->timeIntervalSinceReferenceDate(), kMarch5 + 1);
  {
    ios::testing::ScopedTimeZone tokyo("Asia/Tokyo");
    EXPECT_EQ(kp::dateTime("2024-03-05 09:00:00")->timeIntervalSinceReferenceDate(), kMarch5);
  }
}

TEST_F(StringKPExtConversion, DateReadersReadTheUsersCalendarAsTheWritersWriteIt) {
  const ios::Date written = ios::Date::fromTimeIntervalSinceReferenceDate(kMarch5 + 14 * 3600 + 7 * 60 + 9);
  struct Row {
    const char* locale;
    const char* text;  // what kp::convertToString() writes for `written` (UTC)
  };
  const Row rows[] = {
      {"en_US", "2024-03-05 14:07:09"},
      {"th_TH", "2567-03-05 14:07:09"},                    // the Buddhist year
      {"ja_JP@calendar=japanese", "0006-03-05 14:07:09"},  // Reiwa 6
  };
  for (const Row& row : rows) {
    ios::testing::ScopedLocale locale(row.locale);
    ASSERT_EQ(kp::convertToString(written), row.text) << row.locale;
    EXPECT_EQ(kp::toDate(row.text), written) << row.locale;
    EXPECT_EQ(kp::dateTime(row.text), written) << row.locale;
    EXPECT_EQ(kp::date(std::string(row.text).substr(0, 10)), written - (14 * 3600 + 7 * 60 + 9)) << row.locale;
  }
}

TEST_F(StringKPExtConversion, PercentEncodingRoundTrips) {
  EXPECT_EQ(kp::urlEncoded("a b/c?d"), "a%20b%2Fc%3Fd");
  EXPECT_EQ(kp::urlEncoded("中é"), "%E4%B8%AD%C3%A9");
  EXPECT_EQ(kp::urlEncoded("&=+%"), "&=+%25");  // the host set lets query delimiters through
  EXPECT_EQ(kp::urlEncoded("a\xFF"), "a\xFF");     // not UTF-8: unchanged
  EXPECT_EQ(kp::urlDecoded("a%20b%E4%B8%AD+"), "a b中+");
  for (const char* bad : {"%", "100%", "%zz", "%FF"}) EXPECT_EQ(kp::urlDecoded(bad), bad);
  EXPECT_EQ(kp::urlDecoded(kp::urlEncoded("x y/中")), "x y/中");
}

TEST_F(StringKPExtConversion, Base64PadsByCharacterCountAndIsStrict) {
  EXPECT_EQ(kp::base64(""), "");
  EXPECT_EQ(kp::base64("hi"), "aGk=");
  EXPECT_EQ(kp::base64("中文 ✓"), "5Lit5paHIOKckw==");
  struct Row {
    const char* encoded;
    std::optional<std::string> text;
  };
  const Row rows[] = {
      {"", ""},
      {"YWJjZA", "abcd"},      // 6 characters: two "=" added
      {"YWJjZGU", "abcde"},    // 7: one added
      {"YWJjZGVm", "abcdef"},  // 8: none
      {"YWJjZ", std::nullopt},  // 5: one character over
      {"YWJj\nZA==", std::nullopt},
      {"YW Jj", std::nullopt},
      {"/w==", std::nullopt},  // the byte 0xFF is not UTF-8
      {"5Lit5paHIOKckw", "中文 ✓"},
      {"YQ==YQ==", std::nullopt},  // padding in the middle
  };
  for (const Row& row : rows) EXPECT_EQ(kp::makeStringFromBase64(row.encoded), row.text) << row.encoded;
}

TEST_F(StringKPExtConversion, EscapedUnicodeRoundTrips) {
  EXPECT_EQ(kp::stringToUnicode("plain ascii"), "plain ascii");
  EXPECT_EQ(kp::stringToUnicode("中文"), "\\u4e2d\\u6587");
  EXPECT_EQ(kp::stringToUnicode("a\\b"), "a\\\\b");
  EXPECT_EQ(kp::stringToUnicode("é"), "\\351");
  EXPECT_EQ(kp::stringToUnicode("😀"), "\\ud83d\\ude00");
  for (const std::string text : {"plain", "a\\b", "é ÿ", "中文", "😀 👍🏽", "e\u0301"}) {
    EXPECT_EQ(kp::unicodeToString(kp::stringToUnicode(text)), text) << text;
  }
  EXPECT_EQ(kp::unicodeToString("\\U4E2D"), "\\U4E2D");       // not an escape
  EXPECT_EQ(kp::unicodeToString("\\u4E2D"), "中");            // upper-case digits read too
  EXPECT_EQ(kp::unicodeToString("\\u4e2"), "\\u4e2");         // malformed: unchanged
  EXPECT_EQ(kp::unicodeToString("\\ud83d"), "\\ud83d");       // lone surrogate: unchanged
  EXPECT_EQ(kp::unicodeToString("中\\u4e2d"), "中\\u4e2d");   // not ASCII: unchanged
  EXPECT_EQ(kp::toNSString("a😀").length(), 3u);
}

TEST_F(StringKPExtConversion, PinyinAndFolding) {
  EXPECT_EQ(kp::change2English("中文"), "zhong wen");
  EXPECT_EQ(kp::change2English("北京 Café"), "bei jing Cafe");
  EXPECT_EQ(kp::firstCharactor("中文"), "Z");
  EXPECT_EQ(kp::firstCharactor("ábc"), "A");
  EXPECT_EQ(kp::firstCharactor("\u0301"), std::nullopt);  // nothing left after stripping
  EXPECT_EQ(kp::firstCharactor(""), std::nullopt);
  EXPECT_EQ(kp::latinized("Crème Brûlée"), "Creme Brulee");
  EXPECT_EQ(kp::latinized("ÅNGSTRÖM"), "ANGSTROM");
}

TEST_F(StringKPExtConversion, CamelCaseAndCapitalisation) {
  struct Row {
    const char* text;
    const char* camel;
  };
  const Row rows[] = {
      {"hello world", "helloWorld"},
      {"Hello big WORLD", "helloBigWorld"},
      {"HELLO", "hello"},
      {" hello world", " elloWorld"},  // a leading space takes the first letter's place
      {"a b\nc", "aBC"},  // line feeds delimit words and are removed
      {"tab\tstays", "tab\tstays"},
      {"", ""},
      {"élan vital", "élanVital"},
  };
  for (const Row& row : rows) EXPECT_EQ(kp::camelCased(row.text), row.camel) << row.text;
  EXPECT_EQ(kp::capitalizeFirst("ßa"), "Ssa");
  EXPECT_EQ(kp::capitalizeFirst("élan ÉLAN"), "Élan ÉLAN");
  EXPECT_EQ(kp::capitalizeFirst("x"), "X");
  EXPECT_EQ(kp::capitalizeFirst(""), "");
}

TEST_F(StringKPExtConversion, NumbersMustFillTheWholeText) {
  EXPECT_EQ(kp::toInt("42"), 42);
  EXPECT_EQ(kp::toInt("3.7"), 3);
  EXPECT_EQ(kp::toInt("-3.7"), -3);
  EXPECT_EQ(kp::toInt("12abc"), std::nullopt);
  EXPECT_EQ(kp::toInt(" 12"), std::nullopt);
  EXPECT_EQ(kp::toInt("1e30"), std::nullopt);  // beyond 64 bits
  EXPECT_EQ(kp::toInt("NaN"), std::nullopt);
  EXPECT_EQ(kp::toInt(""), std::nullopt);
  EXPECT_EQ(kp::toDouble("2.5"), 2.5);
  EXPECT_EQ(kp::toDouble("abc"), std::nullopt);
  EXPECT_EQ(kp::toDouble("1e30"), 1e30);
  EXPECT_EQ(kp::toFloat("0.1"), 0.1f);
  EXPECT_EQ(kp::toDouble("\xFF"), std::nullopt);
  ios::testing::ScopedLocale german("de_DE");
  EXPECT_EQ(kp::toDouble("3,5"), 3.5);
}

TEST_F(StringKPExtConversion, AttributedFormsCoverTheWholeText) {
  using Key = ios::NSAttributedString::Key;
  const std::string text = "Hi 👋🏽";  // 7 UTF-16 units
  ios::NSRange run;
  const auto bold = kp::bold(text);
  EXPECT_EQ(bold.string(), text);
  const auto font = std::any_cast<ios::UIFont>(bold.attribute(Key::font, 6, &run));
  EXPECT_EQ(run, (ios::NSRange{0, 7}));
  EXPECT_EQ(font, ios::UIFont::boldSystemFont(14));
  EXPECT_EQ(std::any_cast<ios::UIFont>(kp::italic(text).attribute(Key::font, 0)).symbolicTraits(),
            ios::UIFont::traitItalic);
  EXPECT_EQ(std::any_cast<std::int64_t>(kp::underline(text).attribute(Key::underlineStyle, 3, &run)), 1);
  EXPECT_EQ(run, (ios::NSRange{0, 7}));
  EXPECT_EQ(std::any_cast<ios::UIColor>(kp::color(text, ios::UIColor::red()).attribute(Key::foregroundColor, 0)),
            ios::UIColor::red());
  EXPECT_FALSE(kp::underline(text).attribute(Key::font, 0).has_value());
  EXPECT_EQ(kp::underline("").length(), 0u);
}

}  // namespace

namespace {

TEST(StringKPExtConversionBadInput, IllFormedInputHasDefinedAnswers) {
  const std::string bad = "中\xFF";
  EXPECT_EQ(kp::change2English(bad), "zhong\uFFFD");
  EXPECT_EQ(kp::stringToUnicode(bad), bad);  // not encodable: unchanged
  EXPECT_EQ(kp::unicodeToString(bad), bad);
  EXPECT_EQ(kp::base64("\xFF"), "/w==");     // the bytes as they are
  EXPECT_EQ(kp::makeStringFromBase64("/w=="), std::nullopt);
  EXPECT_EQ(kp::camelCased("A\xFF B"), "a\uFFFDB");
  EXPECT_EQ(kp::capitalizeFirst("\xFFx"), "\uFFFDx");
  EXPECT_EQ(kp::toNSString(bad).utf8(), "中\uFFFD");
}

}  // namespace
