#include "KPQuaslet/imaging/UIButton+KPGradient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using kp::KPImageGradientDirection;
using kp_test::pixelAt;

// A button as far as its background images go: one optional image per state, where
// setting none removes the state's image.
enum class State { normal = 0, highlighted = 1, disabled = 2 };
struct RecordingButton {
  std::map<State, ios::UIImage> backgrounds;
  int sets = 0;
  void setBackgroundImage(std::optional<ios::UIImage> image, State state) {
    ++sets;
    if (image) {
      backgrounds[state] = *image;
    } else {
      backgrounds.erase(state);
    }
  }
};

class UIButtonKPGradient : public ios::testing::PlatformFixture {};

TEST_F(UIButtonKPGradient, GradientSolidAndCleared) {
  ios::testing::setMainScreenScale(2);
  RecordingButton button;
  kp::setGradientBackgroundColors(button, {UIColor::red(), UIColor::blue()}, KPImageGradientDirection::toRight(),
                                  State::normal);
  kp::setGradientBackgroundColors(button, {UIColor::green()}, KPImageGradientDirection::toRight(),
                                  State::highlighted);
  ASSERT_EQ(button.backgrounds.size(), 2u);
  // Both are 1 × 1 point drawn at scale 2 and returned at scale 1: 2 × 2 pixels.
  const ios::UIImage& ramp = button.backgrounds.at(State::normal);
  EXPECT_EQ(ramp.size(), ios::CGSize(2, 2));
  EXPECT_EQ(ramp.scale(), 1);
  const auto left = pixelAt(*ramp.cgImage(), 0, 0), right = pixelAt(*ramp.cgImage(), 1, 0);
  EXPECT_GT(left.r, right.r);
  EXPECT_LT(left.b, right.b);
  const ios::UIImage& solid = button.backgrounds.at(State::highlighted);
  EXPECT_EQ(solid.size(), ios::CGSize(2, 2));
  EXPECT_EQ(pixelAt(*solid.cgImage(), 1, 1), kp_test::kGreen);
  // No colours remove the state's image and leave the other state alone.
  kp::setGradientBackgroundColors(button, {}, KPImageGradientDirection::toRight(), State::normal);
  EXPECT_EQ(button.backgrounds.count(State::normal), 0u);
  EXPECT_EQ(button.backgrounds.count(State::highlighted), 1u);
  EXPECT_EQ(button.sets, 3);
}

TEST_F(UIButtonKPGradient, ColourThatCannotBeDrawnRemovesTheImage) {
  ios::testing::setMainScreenScale(1);
  RecordingButton button;
  kp::setGradientBackgroundColors(button, {UIColor::red()}, KPImageGradientDirection::toTop(), State::disabled);
  ASSERT_EQ(button.backgrounds.count(State::disabled), 1u);
  const UIColor pattern = UIColor::colorWithPatternImage(kp_test::makeImage(1, 1, kp_test::distinctPixel));
  kp::setGradientBackgroundColors(button, {UIColor::red(), pattern}, KPImageGradientDirection::toTop(),
                                  State::disabled);
  EXPECT_EQ(button.backgrounds.count(State::disabled), 0u);
}

}  // namespace
