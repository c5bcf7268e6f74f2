#include "platform/quartzcore/CAGradientLayer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "platform/runtime/Runtime.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CAGradientLayer;
using ios::CGRect;
using ios::UIColor;
using kp_test::pixelAt;
using kp_test::Rgba;

class CAGradientLayerTest : public ios::testing::PlatformFixture {
 protected:
  // The layer drawn into a w × h point image at scale 1.
  static ios::CGImage draw(const ios::CALayer& layer, double w, double h) {
    ios::UIGraphicsBeginImageContextWithOptions({w, h}, false, 1);
    layer.render(ios::UIGraphicsGetCurrentContext());
    auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    return *image->cgImage();
  }

  static std::shared_ptr<CAGradientLayer> redToBlue(double w, double h) {
    auto layer = CAGradientLayer::make();
    layer->setBounds(CGRect(0, 0, w, h));
    layer->setColors({UIColor::red().cgColor(), UIColor::blue().cgColor()});
    return layer;
  }
};

TEST_F(CAGradientLayerTest, IsARuntimeLayerWithThePlatformDefaults) {
  auto layer = CAGradientLayer::make();
  EXPECT_EQ(ios::NSStringFromClass(layer->classObject()), "CAGradientLayer");
  EXPECT_TRUE(layer->isKindOfClass(ios::CALayer::classObject()));
  EXPECT_TRUE(layer->colors().empty());
  EXPECT_FALSE(layer->locations().has_value());
  EXPECT_EQ(layer->startPoint(), ios::CGPoint(0.5, 0));
  EXPECT_EQ(layer->endPoint(), ios::CGPoint(0.5, 1));
  // Nothing to draw without colours.
  layer->setBounds(CGRect(0, 0, 4, 4));
  EXPECT_EQ(pixelAt(draw(*layer, 4, 4), 2, 2), kp_test::kClear);
}

TEST_F(CAGradientLayerTest, RunsFromStartToEndInUnitSpace) {
  // Default direction: top to bottom.
  auto layer = redToBlue(10, 100);
  ios::CGImage down = draw(*layer, 10, 100);
  EXPECT_TRUE(kp_test::near(pixelAt(down, 5, 0), kp_test::kRed, 3)) << pixelAt(down, 5, 0);
  EXPECT_TRUE(kp_test::near(pixelAt(down, 5, 99), kp_test::kBlue, 3)) << pixelAt(down, 5, 99);
  EXPECT_TRUE(kp_test::near(pixelAt(down, 5, 50), Rgba{126, 0, 129, 255}, 4)) << pixelAt(down, 5, 50);
  // Left to right, the unit points scaled by the bounds.
  layer->setBounds(CGRect(0, 0, 100, 10));
  layer->setStartPoint({0, 0.5});
  layer->setEndPoint({1, 0.5});
  ios::CGImage across = draw(*layer, 100, 10);
  EXPECT_TRUE(kp_test::near(pixelAt(across, 0, 5), kp_test::kRed, 3)) << pixelAt(across, 0, 5);
  EXPECT_TRUE(kp_test::near(pixelAt(across, 99, 5), kp_test::kBlue, 3)) << pixelAt(across, 99, 5);
  EXPECT_GT(pixelAt(across, 30, 5).r, pixelAt(across, 70, 5).r);
}

TEST_F(CAGradientLayerTest, EndColoursContinueBeyondTheEnds) {
  auto layer = redToBlue(100, 10);
  layer->setStartPoint({0.25, 0.5});
  layer->setEndPoint({0.75, 0.5});
  ios::CGImage image = draw(*layer, 100, 10);
  EXPECT_EQ(pixelAt(image, 0, 5), kp_test::kRed);
  EXPECT_EQ(pixelAt(image, 10, 5), kp_test::kRed);
  EXPECT_EQ(pixelAt(image, 90, 5), kp_test::kBlue);
  EXPECT_EQ(pixelAt(image, 99, 5), kp_test::kBlue);
}

TEST_F(CAGradientLayerTest, LocationsPlaceTheColoursWhenTheyPairUp) {
  auto layer = redToBlue(10, 100);
  // Red held to the middle, then blue: the upper half is all red.
  layer->setLocations(std::vector<double>{0.5, 1});
  EXPECT_EQ(pixelAt(draw(*layer, 10, 100), 5, 40), kp_test::kRed);
  // Locations that do not pair up with the colours, or are not numbers, are set aside:
  // the colours spread evenly again, and the middle is their mix.
  const std::vector<std::vector<double>> unusable = {
      {0.5}, {0.5, 0.9, 1}, {std::numeric_limits<double>::quiet_NaN(), 1}};
  for (const auto& locations : unusable) {
    layer->setLocations(locations);
    const Rgba middle = pixelAt(draw(*layer, 10, 100), 5, 50);
    EXPECT_TRUE(kp_test::near(middle, Rgba{126, 0, 129, 255}, 4)) << middle << " with " << locations.size();
  }
}

TEST_F(CAGradientLayerTest, OneColourGreyColoursAndRoundedCorners) {
  auto layer = CAGradientLayer::make();
  layer->setBounds(CGRect(0, 0, 20, 20));
  layer->setColors({UIColor::green().cgColor()});
  ios::CGImage solid = draw(*layer, 20, 20);
  EXPECT_EQ(pixelAt(solid, 0, 0), kp_test::kGreen);
  EXPECT_EQ(pixelAt(solid, 19, 19), kp_test::kGreen);
  // Grey colours (two components) enter as their RGB equivalents.
  layer->setColors({UIColor::white().cgColor(), UIColor::black().cgColor()});
  ios::CGImage grey = draw(*layer, 20, 20);
  EXPECT_TRUE(kp_test::near(pixelAt(grey, 10, 0), kp_test::kWhite, 8)) << pixelAt(grey, 10, 0);
  EXPECT_TRUE(kp_test::near(pixelAt(grey, 10, 19), kp_test::kBlack, 8)) << pixelAt(grey, 10, 19);
  // The corner radius cuts the corners as it does the background.
  layer->setCornerRadius(8);
  ios::CGImage rounded = draw(*layer, 20, 20);
  EXPECT_EQ(pixelAt(rounded, 0, 0), kp_test::kClear);
  EXPECT_EQ(pixelAt(rounded, 19, 19), kp_test::kClear);
  EXPECT_EQ(pixelAt(rounded, 10, 0).a, 255);
  // A colour without an RGB form makes no gradient: nothing is drawn.
  const auto pattern = UIColor::colorWithPatternImage(kp_test::makeImage(1, 1, kp_test::distinctPixel));
  layer->setColors({UIColor::red().cgColor(), pattern.cgColor()});
  EXPECT_EQ(pixelAt(draw(*layer, 20, 20), 10, 10), kp_test::kClear);
}

TEST_F(CAGradientLayerTest, DrawsAsASublayerAtItsFrame) {
  auto root = ios::CALayer::make();
  root->setBounds(CGRect(0, 0, 20, 10));
  auto layer = redToBlue(0, 0);
  layer->setFrame(CGRect(10, 0, 10, 10));
  layer->setColors({UIColor::blue().cgColor(), UIColor::blue().cgColor()});
  root->addSublayer(layer);
  ios::CGImage image = draw(*root, 20, 10);
  EXPECT_EQ(pixelAt(image, 5, 5), kp_test::kClear);
  EXPECT_EQ(pixelAt(image, 15, 5), kp_test::kBlue);
}

}  // namespace
