#include "KPQuaslet/imaging/UIImage+KPCreation.h"

#include <gtest/gtest.h>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using ios::UIImage;
using kp_test::pixelAt;
using kp_test::Rgba;

class UIImageKPCreationTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u); }

  // A 4 × 2 pixel image whose only opaque pixel is the top-left one.
  static UIImage corner(double scale = 1, ios::UIImageOrientation o = ios::UIImageOrientation::up) {
    return UIImage(kp_test::makeBGRAImage(4, 2, [](std::size_t x, std::size_t y) {
                     return x == 0 && y == 0 ? kp_test::kGreen : kp_test::kClear;
                   }),
                   scale, o);
  }
};

TEST_F(UIImageKPCreationTest, SolidImagesArePixelSizedAtScaleOne) {
  ios::testing::setMainScreenScale(3);
  const UIColor colour = UIColor::colorWithRed(51 / 255.0, 102 / 255.0, 153 / 255.0, 1);
  UIImage image = kp::makeImage(colour, {3, 2});
  ASSERT_TRUE(image.cgImage());
  EXPECT_EQ(image.scale(), 1);
  EXPECT_EQ(image.cgImage()->width(), 3u);
  EXPECT_EQ(image.cgImage()->height(), 2u);
  EXPECT_EQ(pixelAt(*image.cgImage(), 2, 1), (Rgba{51, 102, 153, 255}));
  // Half-transparent colours are copied, not blended.
  UIImage glass = kp::makeImage(UIColor::colorWithRed(1, 0, 0, 0.2), {1, 1});
  EXPECT_EQ(pixelAt(*glass.cgImage(), 0, 0), (Rgba{51, 0, 0, 51}));
  for (ios::CGSize bad : {ios::CGSize{0, 4}, ios::CGSize{4, -1}, ios::CGSize{NAN, 1}, ios::CGSize{40000, 1}}) {
    EXPECT_FALSE(kp::makeImage(colour, bad).cgImage()) << bad.width;
  }
}

TEST_F(UIImageKPCreationTest, OnePixelImages) {
  for (const UIImage& image : {kp::imageWithColor(UIColor::blue()), kp::pixelOfColor(UIColor::blue())}) {
    ASSERT_TRUE(image.cgImage());
    EXPECT_EQ(image.scale(), 1);
    EXPECT_EQ(image.size().width, 1);
    EXPECT_EQ(pixelAt(*image.cgImage(), 0, 0), kp_test::kBlue);
  }
  // A grey colour fills with its RGB equivalent.
  EXPECT_EQ(pixelAt(*kp::pixelOfColor(UIColor::white()).cgImage(), 0, 0), kp_test::kWhite);
}

TEST_F(UIImageKPCreationTest, RenderingModeCopiesShareTheBitmap) {
  const UIImage image = corner();
  EXPECT_EQ(kp::original(image).renderingMode(), ios::UIImageRenderingMode::alwaysOriginal);
  EXPECT_EQ(kp::template_(image).renderingMode(), ios::UIImageRenderingMode::alwaysTemplate);
  EXPECT_EQ(kp::template_(image).cgImage(), image.cgImage());
}

TEST_F(UIImageKPCreationTest, FilledKeepsTheShapeUprightAtEveryScale) {
  for (double scale : {1.0, 2.0, 3.0}) {
    UIImage result = kp::filled(corner(scale), UIColor::red());
    ASSERT_TRUE(result.cgImage()) << scale;
    EXPECT_EQ(result.scale(), scale);
    EXPECT_EQ(result.cgImage()->width(), 4u);
    EXPECT_EQ(pixelAt(*result.cgImage(), 0, 0), kp_test::kRed) << scale;
    EXPECT_EQ(pixelAt(*result.cgImage(), 3, 0).a, 0) << scale;
    EXPECT_EQ(pixelAt(*result.cgImage(), 0, 1).a, 0) << scale;
  }
  // A turned image fills the shape as it shows: down puts the pixel at the bottom right.
  UIImage turned = kp::filled(corner(1, ios::UIImageOrientation::down), UIColor::red());
  EXPECT_EQ(pixelAt(*turned.cgImage(), 3, 1), kp_test::kRed);
  EXPECT_EQ(pixelAt(*turned.cgImage(), 0, 0).a, 0);
  // Without a bitmap the receiver comes back.
  EXPECT_EQ(kp::filled(UIImage(), UIColor::red()), UIImage());
}

TEST_F(UIImageKPCreationTest, TintKeepsTheImageAlpha) {
  ios::testing::setMainScreenScale(2);
  const UIImage image = corner();
  for (auto mode : {ios::CGBlendMode::normal, ios::CGBlendMode::multiply, ios::CGBlendMode::plusDarker,
                    ios::CGBlendMode::destinationIn}) {
    UIImage tinted = kp::imageWithTintColor(image, UIColor::red(), mode);
    ASSERT_TRUE(tinted.cgImage());
    EXPECT_EQ(tinted.scale(), 2);
    EXPECT_EQ(tinted.cgImage()->width(), 8u);
    EXPECT_EQ(pixelAt(*tinted.cgImage(), 0, 0).a, 255) << static_cast<int>(mode);
    EXPECT_EQ(pixelAt(*tinted.cgImage(), 7, 3).a, 0) << static_cast<int>(mode);
  }
  // normal draws the image over the tint; multiply of red and green gives black;
  // destinationIn keeps the tint inside the shape.
  EXPECT_EQ(pixelAt(*kp::imageWithTintColor(image, UIColor::red(), ios::CGBlendMode::normal).cgImage(), 0, 0),
            kp_test::kGreen);
  EXPECT_EQ(pixelAt(*kp::imageWithTintColor(image, UIColor::red(), ios::CGBlendMode::multiply).cgImage(), 0, 0),
            kp_test::kBlack);
  EXPECT_EQ(pixelAt(*kp::imageWithTintColor(image, UIColor::red(), ios::CGBlendMode::destinationIn).cgImage(), 0, 0),
            kp_test::kRed);
  // overlay of a mid grey keeps the grey's light and shade.
  const UIImage grey = kp_test::makeImage(1, 1, [](auto, auto) { return Rgba{128, 128, 128, 255}; });
  const Rgba overlaid = pixelAt(*kp::imageWithGradientTintColor(grey, UIColor::red()).cgImage(), 0, 0);
  EXPECT_TRUE(kp_test::near(overlaid, Rgba{255, 1, 1, 255}, 2)) << overlaid;
  EXPECT_EQ(kp::imageWithTintColor(UIImage(), UIColor::red(), ios::CGBlendMode::normal), UIImage());
}

}  // namespace
