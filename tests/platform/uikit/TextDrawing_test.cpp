// Views that hold text draw it when their layer is rendered, with the fonts they
// measure with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGRect;
using ios::NSAttributedString;
using ios::UIColor;
using ios::UIFont;
using kp_test::Rgba;

class TextDrawing : public ios::testing::PlatformFixture {};

// Where a picture has ink: the pixels `counts` accepts and the box around them.
struct Ink {
  int pixels = 0;
  int minX = INT_MAX, maxX = -1, minY = INT_MAX, maxY = -1;
  [[nodiscard]] double midX() const { return (minX + maxX) / 2.0; }
  [[nodiscard]] double midY() const { return (minY + maxY) / 2.0; }
};

Ink inkOf(const ios::CGImage& image, const std::function<bool(Rgba)>& counts = [](Rgba p) { return p.a > 0; }) {
  Ink ink;
  for (std::size_t y = 0; y < image.height(); ++y) {
    for (std::size_t x = 0; x < image.width(); ++x) {
      if (!counts(kp_test::pixelAt(image, x, y))) continue;
      ++ink.pixels;
      ink.minX = std::min(ink.minX, static_cast<int>(x));
      ink.maxX = std::max(ink.maxX, static_cast<int>(x));
      ink.minY = std::min(ink.minY, static_cast<int>(y));
      ink.maxY = std::max(ink.maxY, static_cast<int>(y));
    }
  }
  return ink;
}

// The view's layer drawn at scale 1 into a picture of its own size.
ios::CGImage picture(const ios::UIView& view) {
  ios::UIGraphicsBeginImageContextWithOptions(view.bounds().size, false, 1);
  view.layer()->render(ios::UIGraphicsGetCurrentContext());
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  return *image->cgImage();
}

std::shared_ptr<ios::UILabel> label(const std::string& text, CGRect frame = CGRect(0, 0, 200, 40)) {
  auto l = ios::UILabel::make(frame);
  l->setFont(UIFont::systemFont(17));
  l->setText(text);
  return l;
}

// Solid ink (the middle of strokes, not their anti-aliased edges) of a colour.
bool solid(Rgba p) { return p.a > 230; }
bool reddish(Rgba p) { return solid(p) && p.r > 200 && p.g < 60 && p.b < 60; }
bool bluish(Rgba p) { return solid(p) && p.b > 200 && p.r < 60 && p.g < 60; }

TEST_F(TextDrawing, ALabelDrawsItsTextCentredVerticallyInItsColour) {
  auto l = label("Hello, world");
  l->setTextColor(UIColor::red());
  const ios::CGImage image = picture(*l);
  const Ink ink = inkOf(image);
  ASSERT_GT(ink.pixels, 100);
  EXPECT_EQ(inkOf(image, reddish).pixels, inkOf(image, solid).pixels)
      << "solid ink is the text colour";
  EXPECT_LE(ink.minX, 3);
  EXPECT_NEAR(ink.maxX, ios::sizeWithFont("Hello, world", UIFont::systemFont(17)).width, 3);
  EXPECT_NEAR(ink.midY(), 20, 4);
}

TEST_F(TextDrawing, AlignmentPlacesTheLine) {
  struct Row {
    ios::NSTextAlignment alignment;
    double expectedMidX;
  };
  const double width = ios::sizeWithFont("Centre", UIFont::systemFont(17)).width;
  for (const Row& row : {Row{ios::NSTextAlignment::left, width / 2}, Row{ios::NSTextAlignment::center, 100},
                         Row{ios::NSTextAlignment::right, 200 - width / 2}}) {
    auto l = label("Centre");
    l->textAlignment = row.alignment;
    EXPECT_NEAR(inkOf(picture(*l)).midX(), row.expectedMidX, 3) << static_cast<int>(row.alignment);
  }
}

TEST_F(TextDrawing, ChineseTextLeavesInk) {
  auto l = label("中文标签");
  const Ink ink = inkOf(picture(*l));
  EXPECT_GT(ink.pixels, 150);
  EXPECT_NEAR(ink.maxX - ink.minX, 4 * 17, 6) << "four ideographs of one em each";
}

TEST_F(TextDrawing, NothingToDrawLeavesNoInk) {
  const std::vector<std::pair<const char*, std::function<void(ios::UILabel&)>>> cases = {
      {"nil text", [](ios::UILabel& l) { l.setText(std::nullopt); }},
      {"empty text", [](ios::UILabel& l) { l.setText(""); }},
      {"zero font", [](ios::UILabel& l) { l.setFont(UIFont::systemFont(0)); }},
      {"NaN font", [](ios::UILabel& l) { l.setFont(UIFont::systemFont(std::nan(""))); }},
      {"clear colour", [](ios::UILabel& l) { l.setTextColor(UIColor::clear()); }},
  };
  for (const auto& [name, change] : cases) {
    auto l = label("Hidden");
    change(*l);
    EXPECT_EQ(inkOf(picture(*l), [](Rgba p) { return p.a > 2; }).pixels, 0) << name;
  }
}

TEST_F(TextDrawing, LongTextIsTruncatedOrClippedToTheLabel) {
  const std::string text = "A sentence far too long for the narrow label it is given";
  for (ios::NSLineBreakMode mode : {ios::NSLineBreakMode::byTruncatingTail, ios::NSLineBreakMode::byClipping,
                                    ios::NSLineBreakMode::byTruncatingMiddle}) {
    auto l = label(text, CGRect(0, 0, 80, 30));
    l->lineBreakMode = mode;
    auto host = ios::UIView::make(CGRect(0, 0, 200, 30));  // room beside the label shows any overflow
    host->addSubview(l);
    const Ink ink = inkOf(picture(*host));
    EXPECT_GT(ink.pixels, 30) << static_cast<int>(mode);
    EXPECT_LT(ink.maxX, 81) << static_cast<int>(mode);
  }
  // Two lines at most: the ink ends within two lines.
  auto twoLines = label(text, CGRect(0, 0, 80, 200));
  twoLines->numberOfLines = 2;
  const Ink ink = inkOf(picture(*twoLines));
  EXPECT_LT(ink.maxY - ink.minY, 2 * UIFont::systemFont(17).lineHeight() + 1);
}

TEST_F(TextDrawing, AttributedRunsKeepTheirColourAndDecorations) {
  const UIFont font = UIFont::systemFont(17);
  ios::NSMutableAttributedString text("Red Blue", {{std::string(NSAttributedString::Key::font), font}});
  text.addAttribute(NSAttributedString::Key::foregroundColor, UIColor::red(), ios::NSRange{0, 3});
  text.addAttribute(NSAttributedString::Key::foregroundColor, UIColor::blue(), ios::NSRange{4, 4});
  auto l = label("");
  l->setAttributedText(text);
  const ios::CGImage coloured = picture(*l);
  const Ink red = inkOf(coloured, reddish);
  const Ink blue = inkOf(coloured, bluish);
  ASSERT_GT(red.pixels, 20);
  ASSERT_GT(blue.pixels, 20);
  EXPECT_LT(red.maxX, blue.minX);

  // Underline and strikethrough add ink below the baseline and across the letters.
  const Ink plain = inkOf(picture(*label("mmmm")));
  for (std::string_view key : {NSAttributedString::Key::underlineStyle, NSAttributedString::Key::strikethroughStyle}) {
    auto decorated = label("");
    decorated->setAttributedText(NSAttributedString(
        "mmmm", {{std::string(NSAttributedString::Key::font), font}, {std::string(key), std::int64_t{1}}}));
    const Ink ink = inkOf(picture(*decorated));
    EXPECT_GT(ink.pixels, plain.pixels + 20) << key;
    if (key == NSAttributedString::Key::underlineStyle) {
      EXPECT_GT(ink.maxY, plain.maxY) << key;
    }
  }
}

TEST_F(TextDrawing, AFieldDrawsItsTextOrElseItsPlaceholder) {
  auto field = ios::UITextField::make(CGRect(0, 0, 200, 30));
  field->setPlaceholder("Search");
  const Ink placeholder = inkOf(picture(*field), solid);
  ASSERT_GT(placeholder.pixels, 20);
  EXPECT_EQ(inkOf(picture(*field), [](Rgba p) { return solid(p) && p.r < 150; }).pixels, 0) << "light grey";

  field->setText("Found");
  const Ink text = inkOf(picture(*field), [](Rgba p) { return solid(p) && p.r < 60; });
  EXPECT_GT(text.pixels, 20) << "black text, not the placeholder";

  // A left view takes its room from the text.
  field->leftView = ios::UIView::make(CGRect(0, 0, 40, 30));
  field->leftViewMode = ios::UITextFieldViewMode::always;
  EXPECT_GE(inkOf(picture(*field)).minX, 40);
}

TEST_F(TextDrawing, ATextViewWrapsItsTextFromTheTop) {
  auto view = ios::UITextView::make(CGRect(0, 0, 120, 200));
  view->font = UIFont::systemFont(15);
  view->setText("Text views wrap their text at their width, line after line.");
  const Ink ink = inkOf(picture(*view));
  EXPECT_GE(ink.minY, 8);
  EXPECT_LT(ink.minY, 8 + UIFont::systemFont(15).lineHeight());
  EXPECT_GE(ink.minX, 4);  // 5 in, less a glyph's overhang
  EXPECT_LE(ink.maxX, 116);
  EXPECT_GT(ink.maxY - ink.minY, 3 * UIFont::systemFont(15).lineHeight());
}

TEST_F(TextDrawing, AButtonDrawsItsTitleWhereItLaysItOut) {
  auto button = ios::UIButton::make(CGRect(0, 0, 160, 44));
  button->setTitle("Follow", ios::UIControlStateOption::normal);
  button->setTitleColor(UIColor::blue(), ios::UIControlStateOption::normal);
  button->layoutIfNeeded();
  const ios::CGSize title = ios::sizeWithFont("Follow", button->titleLabel()->font());
  EXPECT_NEAR(button->titleLabel()->frame().midX(), 80, 0.5);
  EXPECT_DOUBLE_EQ(button->titleLabel()->frame().size.width, std::ceil(title.width));
  const Ink ink = inkOf(picture(*button), bluish);
  ASSERT_GT(ink.pixels, 30);
  EXPECT_NEAR(ink.midX(), 80, 3);
  EXPECT_NEAR(ink.midY(), 22, 4);

  // Edge insets move the title.
  button->setTitleEdgeInsets({0, 40, 0, 0});
  button->layoutIfNeeded();
  EXPECT_NEAR(inkOf(picture(*button), bluish).midX(), 100, 3);
}

TEST_F(TextDrawing, ALayerThatOutlivesItsLabelDrawsNothing) {
  std::shared_ptr<ios::CALayer> layer;
  {
    auto l = label("Gone");
    layer = l->layer();
  }
  ios::UIGraphicsBeginImageContextWithOptions({200, 40}, false, 1);
  layer->render(ios::UIGraphicsGetCurrentContext());
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(inkOf(*image->cgImage()).pixels, 0);
}

TEST_F(TextDrawing, MeasuringFromManyThreadsAgrees) {
  const std::vector<std::string> texts = {"Hello", "中文", "The quick brown fox", "iiii", "WWWW"};
  std::vector<ios::CGSize> expected;
  for (const auto& t : texts) expected.push_back(ios::sizeWithFont(t, UIFont::systemFont(14), 60, 0));
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 25; ++round) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
          if (ios::sizeWithFont(texts[i], UIFont::systemFont(14), 60, 0) != expected[i]) ++mismatches[t];
          if (UIFont::systemFont(14).lineHeight() <= 0) ++mismatches[t];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
