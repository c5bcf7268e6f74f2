#include "KPQuaslet/views/UILabel+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIViewAnimation.h"

namespace {

using ios::CGRect;
using ios::CGSize;
using ios::UIFont;
using ios::UILabel;

class UILabelKPExt : public ios::testing::PlatformFixture {};

// What a label measures: the fonts' sizes rounded up to whole points.
CGSize rounded(CGSize size) { return CGSize(std::ceil(size.width), std::ceil(size.height)); }
ios::CGFloat lineHeight(ios::CGFloat size) { return UIFont::systemFont(size).lineHeight(); }

TEST_F(UILabelKPExt, RequiredHeightWrapsAtTheLabelsWidthAndLeavesItAlone) {
  auto label = kp::makeLabel(0, 0, 40, 15, 10);
  label->setText("aaaa bbbb cccc");  // about 80 points on one line: one word a line at 40
  EXPECT_EQ(kp::requiredHeight(*label), std::ceil(3 * lineHeight(10)));
  EXPECT_EQ(label->frame(), CGRect(0, 0, 40, 15));
  EXPECT_EQ(label->numberOfLines, 1);

  // The attributed text's font wins over the label's.
  const UIFont large = UIFont::systemFont(20);
  label->setAttributedText(
      ios::NSAttributedString("aaaa bbbb cccc", {{std::string(ios::NSAttributedString::Key::font), large}}));
  EXPECT_EQ(kp::requiredHeight(*label), std::ceil(ios::sizeWithFont("aaaa bbbb cccc", large, 40, 0).height));
  EXPECT_GE(kp::requiredHeight(*label), 3 * lineHeight(20));
}

TEST_F(UILabelKPExt, WrappingAtTheWidth) {
  const UIFont font = UIFont::systemFont(10);
  auto width = [&](const char* text) { return ios::sizeWithFont(text, font).width; };
  struct Row {
    const char* name;
    std::string text;
    ios::CGFloat width;
    std::int64_t lines;
    int expectedLines;  // 0: several
    ios::CGFloat expectedWidth;  // 0: at most `width`
  };
  const std::vector<Row> rows = {
      {"fits", "ab cd", 100, 0, 1, width("ab cd")},
      {"two lines", "ab cd", width("ab") + 1, 0, 2, 0},
      {"long word breaks", "abcdefgh", 20, 0, 0, 0},
      {"line limit", "ab cd ef", width("ab") + 1, 2, 2, 0},
      {"explicit breaks", "ab\ncdef", 100, 0, 2, width("cdef")},
      {"a space at a break takes no room", "ab cd", width("ab") + 1, 0, 2, width("ab")},
  };
  for (const Row& row : rows) {
    const CGSize size = ios::sizeWithFont(row.text, font, row.width, row.lines);
    if (row.expectedLines > 0) {
      EXPECT_NEAR(size.height, row.expectedLines * font.lineHeight(), 1e-3) << row.name;
    } else {
      EXPECT_GE(size.height, 2 * font.lineHeight()) << row.name;
    }
    if (row.expectedWidth > 0) {
      EXPECT_DOUBLE_EQ(size.width, row.expectedWidth) << row.name;
    } else {
      EXPECT_LE(size.width, row.width) << row.name;
    }
  }
}

TEST_F(UILabelKPExt, EstimatesAndFitting) {
  auto label = kp::makeLabel(5, 6, 30, 10, 10);
  EXPECT_EQ(label->backgroundColor(), ios::UIColor::clear());
  EXPECT_TRUE(label->isUserInteractionEnabled());
  EXPECT_EQ(label->font().pointSize(), 10);
  EXPECT_EQ(kp::makeLabel(0, 0, 1, 1)->font(), UIFont::systemFont(17));
  label->setText("hello world");  // wider than 30 on one line
  const CGSize oneLine = rounded(ios::sizeWithFont("hello world", UIFont::systemFont(10)));
  ASSERT_GT(oneLine.width, 30);

  EXPECT_EQ(kp::getEstimatedWidth(*label), oneLine.width);
  EXPECT_EQ(kp::getEstimatedHeight(*label), oneLine.height);  // one line
  EXPECT_EQ(kp::getEstimatedSize(*label, 10, 10), oneLine);
  kp::fitWidth(*label, 4);
  EXPECT_EQ(label->frame(), CGRect(5, 6, oneLine.width + 4, 10));
  kp::fitHeight(*label);
  EXPECT_EQ(label->frame(), CGRect(5, 6, oneLine.width + 4, oneLine.height));

  label->numberOfLines = 0;
  label->setFrame(CGRect(5, 6, 30, 10));
  EXPECT_EQ(kp::getEstimatedHeight(*label), std::ceil(2 * lineHeight(10)));  // "hello" / "world"
  kp::fitSize(*label);                                                       // width first, so one line
  EXPECT_EQ(label->frame(), CGRect(5, 6, oneLine.width, oneLine.height));

  EXPECT_EQ(kp::makeLabel(std::string("hi"))->text(), "hi");
  EXPECT_EQ(kp::makeLabel(std::nullopt)->text(), std::nullopt);
}

TEST_F(UILabelKPExt, AnimatedTextIsACrossDissolve) {
  auto label = kp::makeLabel(0, 0, 10, 10);
  kp::setText(*label, "now", false, 1.0);
  EXPECT_EQ(label->text(), "now");
  EXPECT_TRUE(ios::testing::recordedViewAnimations().empty());
  kp::setText(*label, "later", true, std::nullopt);
  EXPECT_EQ(label->text(), "later");
  kp::setText(*label, std::nullopt, true, 2.0);
  EXPECT_EQ(label->text(), std::nullopt);
  const auto& records = ios::testing::recordedViewAnimations();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].kind, ios::testing::ViewAnimationKind::transition);
  EXPECT_EQ(records[0].duration, 0.3);
  EXPECT_EQ(records[0].options, 5242880u);
  EXPECT_EQ(records[0].view.lock(), label);
  EXPECT_FALSE(records[0].hasCompletion);
  EXPECT_EQ(records[1].duration, 2.0);
}

TEST(UIFontKPExt, BoldItalicAndMonospaced) {
  const UIFont regular = *UIFont::fontWithName("HelveticaNeue", 15);
  EXPECT_EQ(kp::bold(regular).fontName(), "HelveticaNeue-Bold");
  EXPECT_EQ(kp::bold(regular).pointSize(), 15);
  EXPECT_EQ(kp::italic(regular).fontName(), "HelveticaNeue-Italic");
  // The trait replaces the others: bold of an italic face is upright.
  EXPECT_EQ(kp::bold(kp::italic(regular)).fontName(), "HelveticaNeue-Bold");
  EXPECT_EQ(kp::bold(UIFont::systemFont(12)), UIFont::boldSystemFont(12));
  // A family without the face answers the font unchanged.
  const UIFont script = *UIFont::fontWithName("Zapfino", 20);
  EXPECT_EQ(kp::bold(script), script);
  EXPECT_EQ(kp::italic(script), script);

  const UIFont digits = kp::monospaced(regular);
  EXPECT_EQ(digits.pointSize(), 15);
  EXPECT_EQ(digits.fontName(), "HelveticaNeue");
  EXPECT_THAT(digits.featureSettings(), ::testing::ElementsAre(ios::UIFontFeatureSetting{6, 0}));
  EXPECT_EQ(UIFont::fontWithName("NoSuchFont", 10), std::nullopt);
}

// The usual order is text first, then font: every measure follows the font set last,
// exactly as when the font comes first.
TEST_F(UILabelKPExt, MeasuresFollowAFontSetAfterTheText) {
  struct Row {
    const char* name;
    std::function<CGSize(UILabel&)> measure;
  };
  const std::vector<Row> rows = {
      {"requiredHeight", [](UILabel& l) { return CGSize(0, kp::requiredHeight(l)); }},
      {"getEstimatedSize", [](UILabel& l) { return kp::getEstimatedSize(l, 30, 100); }},
      {"getEstimatedWidth", [](UILabel& l) { return CGSize(kp::getEstimatedWidth(l), 0); }},
      {"getEstimatedHeight", [](UILabel& l) { return CGSize(0, kp::getEstimatedHeight(l)); }},
      {"fitWidth", [](UILabel& l) { kp::fitWidth(l, 2); return l.frame().size; }},
      {"fitHeight", [](UILabel& l) { kp::fitHeight(l); return l.frame().size; }},
      {"fitSize", [](UILabel& l) { kp::fitSize(l); return l.frame().size; }},
  };
  for (const Row& row : rows) {
    auto textFirst = kp::makeLabel(0, 0, 30, 10);
    textFirst->setText("hello world");
    textFirst->setFont(UIFont::systemFont(10));
    auto fontFirst = kp::makeLabel(0, 0, 30, 10, 10);
    fontFirst->setText("hello world");
    EXPECT_EQ(row.measure(*textFirst), row.measure(*fontFirst)) << row.name;
  }
  auto label = kp::makeLabel(std::string("hello world"));
  label->setFont(UIFont::systemFont(10));
  const CGSize small = rounded(ios::sizeWithFont("hello world", UIFont::systemFont(10)));
  EXPECT_EQ(kp::getEstimatedWidth(*label), small.width);  // not the 17-point width
  EXPECT_EQ(std::any_cast<UIFont>(label->attributedText()->attribute(ios::NSAttributedString::Key::font, 6)),
            UIFont::systemFont(10));
  label->setTextColor(ios::UIColor::red());
  EXPECT_EQ(std::any_cast<ios::UIColor>(
                label->attributedText()->attribute(ios::NSAttributedString::Key::foregroundColor, 0)),
            ios::UIColor::red());
  // A button's title label measures its title in the font it was given last.
  auto button = ios::UIButton::make();
  button->setTitle("hello world", ios::UIControlStateOption::normal);
  button->titleLabel()->setFont(UIFont::systemFont(10));
  EXPECT_EQ(button->titleLabel()->sizeThatFits(CGSize(1000, 1000)), small);
}

}  // namespace
