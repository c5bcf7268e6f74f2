#include "KPQuaslet/views/UIButton+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPQuaslet/views/UISwitch+KPExt.h"
#include "platform/runtime/Runtime.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/RuntimeTestClasses.h"

namespace {

using ios::UIButton;
using ios::UIEdgeInsets;
using kp::UIButtonImageHorizontalAlignment;
namespace State = ios::UIControlStateOption;
using ::testing::ElementsAre;

class UIButtonKPExt : public ios::testing::PlatformFixture {};

ios::UIImage solidImage(std::size_t w, std::size_t h, kp_test::Rgba colour = kp_test::kRed) {
  return kp_test::makeImage(w, h, [colour](auto, auto) { return colour; });
}

// A 100 × 60 button with a 20 × 20 image and the title "Settings", which measures
// tw × th in the 10-point system font (DejaVu Sans, worked out once from the font).
constexpr double tw = 41.015625, th = 11.640625;

std::shared_ptr<UIButton> layoutButton() {
  auto button = UIButton::make(ios::CGRect(0, 0, 100, 60));
  button->setImage(solidImage(20, 20), State::normal);
  button->setTitle("Settings", State::normal);
  button->titleLabel()->setFont(ios::UIFont::systemFont(10));
  return button;
}

struct Insets {
  UIEdgeInsets image, title, content;
  friend bool operator==(const Insets&, const Insets&) = default;
};

Insets insetsOf(const UIButton& button) {
  return {button.imageEdgeInsets(), button.titleEdgeInsets(), button.contentEdgeInsets()};
}

std::ostream& operator<<(std::ostream& os, const UIEdgeInsets& i) {
  return os << "(" << i.top << ", " << i.left << ", " << i.bottom << ", " << i.right << ")";
}
std::ostream& operator<<(std::ostream& os, const Insets& i) {
  return os << "image " << i.image << " title " << i.title << " content " << i.content;
}

TEST_F(UIButtonKPExt, LayoutsForEachPosition) {
  struct Row {
    const char* name;
    std::function<void(UIButton&)> layout;
    Insets expected;
  };
  ASSERT_EQ(ios::sizeWithAttributes("Settings", {{std::string(ios::NSAttributedString::Key::font),
                                                  ios::UIFont::systemFont(10)}}),
            ios::CGSize(tw, th));
  const double a = (60 - (th + 20)) / 2;      // vertical: the image and title block's top
  const double boxed = (60 - (th + 30)) / 2;  // the same with a 30 × 30 image box
  const std::vector<Row> rows = {
      {"vertical",
       [](UIButton& b) { kp::makeImageToTitle(b, 5, std::nullopt, true, UIButtonImageHorizontalAlignment::left); },
       {{a - 5, 40, 0, 0}, {a + 20 + 5, (100 - tw) / 2 - 20, 0, 0}, {}}},
      {"vertical with an image box",
       [](UIButton& b) { kp::makeImageToTitle(b, 5, ios::CGSize(30, 30), true, UIButtonImageHorizontalAlignment::right); },
       {{boxed - 5, 35, 60 - (boxed - 5) - 30, 35}, {boxed + 30 + 5, (100 - tw) / 2 - 20, 0, 0}, {}}},
      {"image left",
       [](UIButton& b) { kp::makeImageToTitle(b, 10, std::nullopt, false, UIButtonImageHorizontalAlignment::left); },
       {{0, -5, 0, 5}, {0, 5, 0, -5}, {0, 5, 0, 5}}},
      {"image right",
       [](UIButton& b) { kp::makeImageToTitle(b, 10, std::nullopt, false, UIButtonImageHorizontalAlignment::right); },
       {{0, 5 + tw, 0, -5}, {0, -5 - tw / 2, 0, 5}, {0, 5, 0, 5}}},
      {"centred side by side", [](UIButton& b) { kp::centerTextAndImage(b, 10); },
       {{0, -5, 0, 5}, {0, 5, 0, -5}, {0, 5, 0, 5}}},
      {"centred, image not above", [](UIButton& b) { kp::centerTextAndImage(b, false, 10); },
       {{0, -5, 0, 5}, {0, 5, 0, -5}, {0, 5, 0, 5}}},
      {"centred, image above", [](UIButton& b) { kp::centerTextAndImage(b, true, 4); },
       {{-(th + 4), 0, 0, -tw}, {0, -20, -24, 0}, {(20 - th) / 2, 0, (20 - th) / 2, 0}}},
  };
  for (const Row& row : rows) {
    auto button = layoutButton();
    row.layout(*button);
    EXPECT_EQ(insetsOf(*button), row.expected) << row.name;
    const bool vertical = std::string(row.name).starts_with("vertical");
    EXPECT_EQ(button->contentHorizontalAlignment, vertical ? ios::UIControlContentHorizontalAlignment::left
                                                           : ios::UIControlContentHorizontalAlignment::center)
        << row.name;
    EXPECT_EQ(button->contentVerticalAlignment, vertical ? ios::UIControlContentVerticalAlignment::top
                                                         : ios::UIControlContentVerticalAlignment::center)
        << row.name;
  }
}

TEST_F(UIButtonKPExt, LayoutsNeedAnImageAndATitle) {
  auto noTitle = UIButton::make(ios::CGRect(0, 0, 100, 60));
  noTitle->setImage(solidImage(20, 20), State::normal);
  auto noImage = UIButton::make(ios::CGRect(0, 0, 100, 60));
  noImage->setTitle("Settings", State::normal);
  for (auto& button : {noTitle, noImage}) {
    kp::makeImageToTitle(*button, 5, std::nullopt, true, UIButtonImageHorizontalAlignment::left);
    kp::makeImageToTitle(*button, 5, std::nullopt, false, UIButtonImageHorizontalAlignment::right);
    kp::centerTextAndImage(*button, true, 4);
    EXPECT_EQ(insetsOf(*button), Insets{});
    EXPECT_EQ(button->contentHorizontalAlignment, ios::UIControlContentHorizontalAlignment::center);
  }
}

TEST_F(UIButtonKPExt, AllStatesSettersAndLaterOverrides) {
  auto button = UIButton::make();
  const ios::UIImage icon = solidImage(3, 3);
  kp::setTitleForAllStates(*button, "Send");
  kp::setTitleColorForAllStates(*button, ios::UIColor::red());
  kp::setImageForAllStates(*button, icon);
  button->setTitle("Sending", State::highlighted);
  for (auto state : {State::normal, State::selected, State::highlighted, State::disabled}) {
    EXPECT_EQ(button->title(state), state == State::highlighted ? "Sending" : "Send") << state;
    EXPECT_EQ(button->titleColor(state), ios::UIColor::red()) << state;
    EXPECT_EQ(button->image(state), icon) << state;
  }
  kp::setImageForAllStates(*button, std::nullopt);
  EXPECT_EQ(button->image(State::selected), std::nullopt);
}

TEST_F(UIButtonKPExt, BackgroundColourIsAOnePointImageForItsStateOnly) {
  ios::testing::setMainScreenScale(2);
  auto button = UIButton::make();
  // A context the caller has open stays open and untouched.
  ios::UIGraphicsBeginImageContextWithOptions(ios::CGSize(4, 4), false, 1);
  kp::setBackgroundColor(*button, ios::UIColor::blue(), State::highlighted);
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 1u);
  ios::UIGraphicsEndImageContext();

  const auto image = button->backgroundImage(State::highlighted);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->size(), ios::CGSize(1, 1));
  EXPECT_EQ(image->scale(), 2);
  for (std::size_t y = 0; y < 2; ++y) {
    for (std::size_t x = 0; x < 2; ++x) EXPECT_TRUE(kp_test::near(kp_test::pixelAt(*image->cgImage(), x, y), kp_test::kBlue, 0));
  }
  EXPECT_EQ(button->backgroundImage(State::normal), std::nullopt);

  // A scale no bitmap can have: no context, so the state's image becomes none (the
  // earlier blue one does not stay), and the context stack is as it was.
  ios::testing::setMainScreenScale(40000);
  kp::setBackgroundColor(*button, ios::UIColor::red(), State::highlighted);
  EXPECT_EQ(button->backgroundImage(State::highlighted), std::nullopt);
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
}

TEST_F(UIButtonKPExt, MakeButtonSendsOnTouchUpInside) {
  int taps = 0;
  ios::Class cls = ios::testing::makeTestClass("ButtonTarget");
  ios::class_addMethod(cls, ios::testing::sel("tapped:"), ios::imp([&taps](ios::NSObject&, ios::SEL, ios::id) { ++taps; }));
  ios::id target = ios::class_createInstance(cls);
  auto button = kp::makeButton(1, 2, 30, 40, target, ios::testing::sel("tapped:"));
  EXPECT_EQ(button->frame(), ios::CGRect(1, 2, 30, 40));
  button->sendActions(ios::UIControlEventOption::valueChanged);
  EXPECT_EQ(taps, 0);
  button->sendActions(ios::UIControlEventOption::touchUpInside);
  EXPECT_EQ(taps, 1);
}

TEST_F(UIButtonKPExt, SwitchToggleIsAnimated) {
  auto toggle = ios::UISwitch::make();
  kp::toggle(*toggle);
  EXPECT_TRUE(toggle->isOn());
  kp::toggle(*toggle);
  EXPECT_FALSE(toggle->isOn());
  EXPECT_EQ(ios::testing::recordedViewAnimations().size(), 2u);
}

TEST_F(UIButtonKPExt, SegmentArraysSkipMissingValuesAndRebuild) {
  auto control = ios::UISegmentedControl::make(std::vector<std::string>{"a", "b", "c"});
  const ios::UIImage picture = solidImage(2, 2);
  control->setImage(picture, 1);
  control->setSelectedSegmentIndex(2);
  EXPECT_THAT(kp::segmentTitles(*control), ElementsAre("a", "c"));
  EXPECT_THAT(kp::segmentImages(*control), ElementsAre(picture));

  auto titles = kp::segmentTitles(*control);
  titles.push_back("d");
  kp::setSegmentTitles(*control, titles);
  EXPECT_EQ(control->numberOfSegments(), 3);
  EXPECT_THAT(kp::segmentTitles(*control), ElementsAre("a", "c", "d"));
  EXPECT_TRUE(kp::segmentImages(*control).empty());
  EXPECT_EQ(control->selectedSegmentIndex(), ios::UISegmentedControl::noSegment);

  kp::setSegmentImages(*control, {picture, picture});
  EXPECT_EQ(control->numberOfSegments(), 2);
  EXPECT_TRUE(kp::segmentTitles(*control).empty());
}

}  // namespace
