// Measurement with the pinned fonts: exact sizes worked out once from the font files,
// and properties that hold for any real font.
#include "platform/uikit/NSStringDrawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/foundation/NSNumber.h"
#include "platform/uikit/NSParagraphStyle.h"
#include "platform/uikit/internal/TextEngine.h"

namespace {

using ios::CGFloat;
using ios::CGSize;
using ios::NSAttributedString;
using ios::NSLineBreakMode;
using ios::UIFont;

constexpr CGFloat kInfinity = std::numeric_limits<CGFloat>::infinity();
constexpr CGFloat kNaN = std::numeric_limits<CGFloat>::quiet_NaN();

UIFont helvetica(CGFloat size) { return *UIFont::fontWithName("HelveticaNeue", size); }
UIFont menlo(CGFloat size) { return *UIFont::fontWithName("Menlo-Regular", size); }

NSAttributedString::Attributes withFont(const UIFont& font) {
  return {{std::string(NSAttributedString::Key::font), font}};
}

TEST(NSStringDrawing, SizesOfThePinnedFonts) {
  // DejaVu Sans: ascent + descent is 1.1640625 em; Nimbus Sans and DejaVu Sans Mono
  // have their own advances. Worked out once from the font files setup.sh installs.
  struct Row {
    const char* name;
    std::string text;
    UIFont font;
    CGSize size;
  };
  const std::vector<Row> rows = {
      {"empty", "", UIFont::systemFont(10), {0, 0}},
      {"system", "Settings", UIFont::systemFont(10), {41.015625, 11.640625}},
  };
  for (const Row& row : rows) {
    const CGSize size = ios::sizeWithFont(row.text, row.font);
    EXPECT_NEAR(size.width, row.size.width, 1e-6) << row.name;
    EXPECT_NEAR(size.height, row.size.height, 1e-6) << row.name;
  }
}

TEST(NSStringDrawing, WidthsComeFromTheGlyphs) {
  const UIFont font = UIFont::systemFont(17);
  EXPECT_LT(ios::sizeWithFont("iiii", font).width, ios::sizeWithFont("WWWW", font).width);
  EXPECT_GT(ios::sizeWithFont("ab", UIFont::boldSystemFont(17)).width, ios::sizeWithFont("ab", font).width);
  // A monospaced face gives every letter the same advance.
  EXPECT_DOUBLE_EQ(ios::sizeWithFont("iiii", menlo(17)).width, ios::sizeWithFont("WWWW", menlo(17)).width);
  // Each face measures with its own font file.
  EXPECT_NE(ios::sizeWithFont("Settings", helvetica(17)).width, ios::sizeWithFont("Settings", font).width);
  const CGSize zapfino = ios::sizeWithFont("Settings", *UIFont::fontWithName("Zapfino", 17));
  EXPECT_NE(zapfino.width, ios::sizeWithFont("Settings", font).width);
  EXPECT_GT(zapfino.width, 0);
}

TEST(NSStringDrawing, SizesScaleWithThePointSize) {
  for (const UIFont& font : {UIFont::systemFont(10), helvetica(10), menlo(10)}) {
    const CGSize small = ios::sizeWithFont("Hello, world", font);
    const CGSize large = ios::sizeWithFont("Hello, world", font.withSize(30));
    EXPECT_NEAR(large.width, 3 * small.width, 0.01) << font.fontName();
    EXPECT_NEAR(large.height, 3 * small.height, 0.01) << font.fontName();
  }
}

TEST(NSStringDrawing, ALineIsTheFontsLineHeight) {
  for (const UIFont& font : {UIFont::systemFont(13), UIFont::boldSystemFont(20), helvetica(15), menlo(11)}) {
    EXPECT_NEAR(ios::sizeWithFont("Ag", font).height, font.lineHeight(), 1e-3) << font.fontName();
    EXPECT_NEAR(ios::sizeWithFont("a\nb\r\nc", font).height, 3 * font.lineHeight(), 1e-3) << font.fontName();
  }
}

TEST(NSStringDrawing, FontMetricsComeFromTheFont) {
  for (const UIFont& font : {UIFont::systemFont(20), UIFont::italicSystemFont(20), helvetica(20), menlo(20)}) {
    SCOPED_TRACE(font.fontName());
    EXPECT_GT(font.ascender(), font.capHeight());
    EXPECT_GT(font.capHeight(), font.xHeight());
    EXPECT_GT(font.xHeight(), 0);
    EXPECT_LT(font.descender(), 0);
    EXPECT_GE(font.leading(), 0);
    EXPECT_NEAR(font.lineHeight(), font.ascender() - font.descender(), 1e-6);
    EXPECT_NEAR(font.withSize(40).capHeight(), 2 * font.capHeight(), 1e-6);
  }
  // Helvetica's capitals stand at 0.718 em (Nimbus Sans keeps Helvetica's metrics).
  EXPECT_NEAR(helvetica(100).capHeight(), 71.8, 0.5);
  for (CGFloat size : {0.0, -4.0, kNaN, kInfinity, 1e6}) {
    const UIFont font = UIFont::systemFont(size);
    EXPECT_EQ(font.lineHeight(), 0) << size;
    EXPECT_EQ(font.ascender(), 0) << size;
  }
}

TEST(NSStringDrawing, ChineseFallsBackToTheCJKFace) {
  // Whatever the face, Chinese comes from the one CJK font, whose ideographs are one em.
  const CGSize inSystem = ios::sizeWithFont("中文", UIFont::systemFont(20));
  const CGSize inHelvetica = ios::sizeWithFont("中文", helvetica(20));
  EXPECT_DOUBLE_EQ(inSystem.width, inHelvetica.width);
  EXPECT_NEAR(inSystem.width, 40, 0.5);
  EXPECT_GT(inSystem.width, ios::sizeWithFont("ii", UIFont::systemFont(20)).width);
}

TEST(NSStringDrawing, GraphemesAreShapedAsOne) {
  const UIFont font = UIFont::systemFont(20);
  // A letter with a combining accent takes the room of the precomposed letter.
  EXPECT_NEAR(ios::sizeWithFont("e\u0301", font).width, ios::sizeWithFont("\u00e9", font).width, 0.01);
}

TEST(NSStringDrawing, WrappingAddsLinesWithinTheWidth) {
  const UIFont font = UIFont::systemFont(17);
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const CGSize one = ios::sizeWithFont(text, font);
  const CGSize wrapped = ios::sizeWithFont(text, font, 100, 0);
  EXPECT_LE(wrapped.width, 100);
  EXPECT_GT(wrapped.height, 2.5 * font.lineHeight());
  const double lines = wrapped.height / font.lineHeight();
  EXPECT_NEAR(lines, std::round(lines), 1e-3) << "whole lines";
  EXPECT_NEAR(ios::sizeWithFont(text, font, 100, 2).height, 2 * font.lineHeight(), 1e-3);
  EXPECT_EQ(ios::sizeWithFont(text, font, 1e9, 0), one) << "a wide box keeps one line";
  // A word longer than the width is broken between characters.
  const CGSize longWord = ios::sizeWithFont("Supercalifragilistic", font, 40, 0);
  EXPECT_LE(longWord.width, 40);
  EXPECT_GT(longWord.height, font.lineHeight());
  // Character wrapping fills lines: never more lines than word wrapping.
  EXPECT_LE(ios::sizeWithFont(text, font, 100, 0, NSLineBreakMode::byCharWrapping).height, wrapped.height);
}

TEST(NSStringDrawing, OneLineKeepsItsWidthAtMostTheMaximum) {
  const UIFont font = UIFont::systemFont(17);
  const std::string text = "The quick brown fox jumps over the lazy dog";
  for (NSLineBreakMode mode : {NSLineBreakMode::byWordWrapping, NSLineBreakMode::byClipping,
                               NSLineBreakMode::byTruncatingTail, NSLineBreakMode::byTruncatingMiddle,
                               NSLineBreakMode::byTruncatingHead}) {
    const CGSize size = ios::sizeWithFont(text, font, 120, 1, mode);
    EXPECT_LE(size.width, 120) << static_cast<int>(mode);
    EXPECT_GT(size.width, 60) << static_cast<int>(mode);
    EXPECT_NEAR(size.height, font.lineHeight(), 1e-3) << static_cast<int>(mode);
  }
  // Truncating two lines leaves two lines.
  EXPECT_NEAR(ios::sizeWithFont(text, font, 120, 2, NSLineBreakMode::byTruncatingTail).height,
              2 * font.lineHeight(), 1e-3);
}

TEST(NSStringDrawing, BadInputHasDefinedAnswers) {
  const UIFont font = UIFont::systemFont(17);
  const std::string text = "Hello there, world";
  const CGSize unlimited = ios::sizeWithFont(text, font);
  // Widths that are not positive finite numbers do not wrap (a negative width once
  // overflowed a character count).
  for (CGFloat width : {0.0, -1.0, -1e300, kNaN, kInfinity, -kInfinity}) {
    EXPECT_EQ(ios::sizeWithFont(text, font, width, 0), unlimited) << width;
  }
  EXPECT_EQ(ios::sizeWithFont(text, font, 50, -3), ios::sizeWithFont(text, font, 50, 0)) << "no limit";
  // Fonts too small or too large to lay out measure nothing.
  for (CGFloat size : {0.0, -4.0, kNaN, kInfinity, 1e6}) {
    EXPECT_EQ(ios::sizeWithFont(text, UIFont::systemFont(size)), CGSize()) << size;
    EXPECT_EQ(ios::sizeWithAttributes(text, withFont(UIFont::systemFont(size))), CGSize()) << size;
  }
  // Ill-formed UTF-8 and NUL bytes measure as U+FFFD.
  EXPECT_EQ(ios::sizeWithFont("a\xff" "b", font), ios::sizeWithFont("a\uFFFDb", font));
  EXPECT_EQ(ios::sizeWithFont(std::string("a\0b", 3), font), ios::sizeWithFont("a\uFFFDb", font));
  EXPECT_EQ(ios::sizeWithFont("\xe4\xb8", font), ios::sizeWithFont("\uFFFD\uFFFD", font));
  EXPECT_EQ(ios::sizeWithFont("", font, 10, 1), CGSize());
}

TEST(NSStringDrawing, AttributedRunsMeasureInTheirOwnStyle) {
  const UIFont font = UIFont::systemFont(17);
  EXPECT_EQ(ios::sizeWithAttributes("abcd", {}), ios::sizeWithFont("abcd", UIFont::systemFont(12)))
      << "the 12-point default";
  EXPECT_EQ(ios::sizeWithAttributes("abcd", withFont(font)), ios::sizeWithFont("abcd", font));

  // Kerning adds room after each letter.
  NSAttributedString::Attributes kerned = withFont(font);
  kerned.emplace(std::string(NSAttributedString::Key::kern), CGFloat{2});
  const CGFloat plain = ios::sizeWithFont("abcd", font).width;
  const CGFloat spaced = ios::sizeWithAttributes("abcd", kerned).width;
  EXPECT_GE(spaced, plain + 6 - 1e-3);
  EXPECT_LE(spaced, plain + 8 + 1e-3);

  // A bold run widens the text; a larger run heightens its line.
  ios::NSMutableAttributedString mixed("abcd abcd", withFont(font));
  const CGSize before = ios::boundingSize(mixed, font, 0, 0);
  mixed.addAttribute(NSAttributedString::Key::font, UIFont::boldSystemFont(17), ios::NSRange{0, 4});
  EXPECT_GT(ios::boundingSize(mixed, font, 0, 0).width, before.width);
  mixed.addAttribute(NSAttributedString::Key::font, UIFont::systemFont(34), ios::NSRange{5, 4});
  EXPECT_NEAR(ios::boundingSize(mixed, font, 0, 0).height, UIFont::systemFont(34).lineHeight(), 1e-3);

  // The paragraph style's line break mode and spacing apply.
  const std::string text = "The quick brown fox jumps over the lazy dog";
  ios::NSParagraphStyle style;
  style.lineBreakMode = NSLineBreakMode::byCharWrapping;
  style.lineSpacing = 4;
  NSAttributedString::Attributes styled = withFont(font);
  styled.emplace(std::string(NSAttributedString::Key::paragraphStyle), style);
  const CGSize byStyle = ios::boundingSize(NSAttributedString(text, styled), font, 100, 0);
  const CGSize byChar = ios::sizeWithFont(text, font, 100, 0, NSLineBreakMode::byCharWrapping);
  EXPECT_DOUBLE_EQ(byStyle.width, byChar.width);
  const double lines = std::round(byChar.height / font.lineHeight());
  EXPECT_NEAR(byStyle.height, byChar.height + 4 * (lines - 1), 1e-3);

  // Underline, strikethrough and colour change no size; a number object works too.
  NSAttributedString::Attributes decorated = withFont(font);
  decorated.emplace(std::string(NSAttributedString::Key::underlineStyle), ios::NSNumber(1));
  decorated.emplace(std::string(NSAttributedString::Key::strikethroughStyle), std::int64_t{1});
  EXPECT_EQ(ios::sizeWithAttributes("abcd", decorated), ios::sizeWithFont("abcd", font));
}

TEST(NSStringDrawing, MonospacedDigitsUseTabularFigures) {
  const UIFont font = UIFont::systemFont(17);
  const UIFont tabular = UIFont::fontWithDescriptor(font.fontDescriptor().addingFeatureSettings({{6, 0}}), 0);
  EXPECT_DOUBLE_EQ(ios::sizeWithFont("1111", tabular).width, ios::sizeWithFont("0000", tabular).width);
}

TEST(NSStringDrawingDeathTest, AMissingFontFileStopsWithOneMessage) {
  EXPECT_DEATH(ios::text_internal::requireFontFile("/nonexistent/fonts/Missing.ttf", "fonts-missing"),
               "the font file /nonexistent/fonts/Missing.ttf is missing; install the Debian package fonts-missing");
  EXPECT_DEATH(ios::text_internal::requireFontFile("/usr/share/fonts", "fonts-folder"), "fonts-folder");
  ios::text_internal::requireFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core");
}

}  // namespace
