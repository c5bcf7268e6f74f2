#include "platform/uikit/UIGraphics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIImage;
using ios::UIImageOrientation;
using kp_test::pixelAt;
using kp_test::Rgba;

class UIGraphicsTest : public ios::testing::PlatformFixture {};

TEST_F(UIGraphicsTest, ImageContextsUseTheScaleAndAreYDown) {
  ios::testing::setMainScreenScale(3);
  ios::UIGraphicsBeginImageContextWithOptions({2, 1}, false, 0);
  ios::UIColor::red().setFill();
  ios::UIRectFill({{0, 0}, {1, 1}});
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->scale(), 3);
  EXPECT_EQ(image->cgImage()->width(), 6u);
  EXPECT_EQ(image->cgImage()->height(), 3u);
  EXPECT_EQ(image->size().width, 2);
  // B,G,R,A premultiplied, the filled point at the top-left.
  EXPECT_EQ(image->cgImage()->bitmapInfo(), ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little);
  EXPECT_EQ(pixelAt(*image->cgImage(), 0, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image->cgImage(), 2, 2), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image->cgImage(), 3, 0), kp_test::kClear);
}

TEST_F(UIGraphicsTest, UIRectFillCopiesTheFillColour) {
  ios::UIGraphicsBeginImageContextWithOptions({1, 1}, false, 1);
  ios::UIColor::red().setFill();
  ios::UIRectFill({{0, 0}, {1, 1}});
  ios::UIColor::colorWithRed(0, 0, 1, 0.2).setFill();
  ios::UIRectFill({{0, 0}, {1, 1}});  // copy: no blending with the red below
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(pixelAt(*image->cgImage(), 0, 0), (Rgba{0, 0, 51, 51}));
}

TEST_F(UIGraphicsTest, FailedBeginsStayBalancedAndGiveNoImage) {
  EXPECT_FALSE(ios::UIGraphicsGetCurrentContext());
  EXPECT_FALSE(ios::UIGraphicsGetImageFromCurrentImageContext());
  ios::UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
  auto outer = ios::UIGraphicsGetCurrentContext();
  ios::UIGraphicsBeginImageContextWithOptions({0, 4}, false, 1);
  EXPECT_FALSE(ios::UIGraphicsGetCurrentContext());
  EXPECT_FALSE(ios::UIGraphicsGetImageFromCurrentImageContext());
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(ios::UIGraphicsGetCurrentContext(), outer);
  ios::UIGraphicsBeginImageContextWithOptions({NAN, 4}, false, 1);
  ios::UIGraphicsEndImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
  ios::UIGraphicsEndImageContext();  // nothing to end: no effect
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
}

TEST_F(UIGraphicsTest, EachThreadHasItsOwnStack) {
  ios::UIGraphicsBeginImageContext({1, 1});
  std::size_t depthThere = 99;
  std::thread([&] { depthThere = ios::testing::graphicsContextDepth(); }).join();
  EXPECT_EQ(depthThere, 0u);
  ios::UIGraphicsEndImageContext();
}

TEST_F(UIGraphicsTest, OpaqueContextsHaveNoAlpha) {
  ios::UIGraphicsBeginImageContextWithOptions({1, 1}, true, 1);
  ios::UIColor::colorWithRed(1, 0, 0, 0.5).setFill();
  ios::UIRectFillUsingBlendMode({{0, 0}, {1, 1}}, ios::CGBlendMode::normal);
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  const auto bytes = image->cgImage()->dataProvider()->bytes();
  EXPECT_THAT(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), ::testing::ElementsAre(0, 0, 128, 255));
}

// A 2 × 3 bitmap with six distinct pixels: value = 10 × (row + 1) + column.
UIImage sixPixels(UIImageOrientation orientation) {
  auto cg = kp_test::makeBGRAImage(2, 3, [](std::size_t x, std::size_t y) {
    return Rgba{static_cast<std::uint8_t>(10 * (y + 1) + x), 0, 0, 255};
  });
  return UIImage(cg, 1, orientation);
}

// The upright picture of a drawn image, row by row.
std::vector<std::vector<int>> drawnUpright(const UIImage& image) {
  const auto size = image.size();
  ios::UIGraphicsBeginImageContextWithOptions(size, false, 1);
  image.draw(ios::CGRect{{0, 0}, size});
  auto out = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  std::vector<std::vector<int>> rows;
  for (std::size_t y = 0; y < out->cgImage()->height(); ++y) {
    rows.emplace_back();
    for (std::size_t x = 0; x < out->cgImage()->width(); ++x) rows.back().push_back(pixelAt(*out->cgImage(), x, y).r);
  }
  return rows;
}

TEST_F(UIGraphicsTest, ImagesAreDrawnWithTheirOrientation) {
  using Rows = std::vector<std::vector<int>>;
  // Stored:  10 11 / 20 21 / 30 31
  const std::vector<std::pair<UIImageOrientation, Rows>> table = {
      {UIImageOrientation::up, {{10, 11}, {20, 21}, {30, 31}}},
      {UIImageOrientation::down, {{31, 30}, {21, 20}, {11, 10}}},
      {UIImageOrientation::upMirrored, {{11, 10}, {21, 20}, {31, 30}}},
      {UIImageOrientation::downMirrored, {{30, 31}, {20, 21}, {10, 11}}},
      {UIImageOrientation::right, {{30, 20, 10}, {31, 21, 11}}},     // turned clockwise
      {UIImageOrientation::left, {{11, 21, 31}, {10, 20, 30}}},      // counter-clockwise
      {UIImageOrientation::leftMirrored, {{10, 20, 30}, {11, 21, 31}}},  // transposed
      {UIImageOrientation::rightMirrored, {{31, 21, 11}, {30, 20, 10}}},
  };
  for (const auto& [orientation, expected] : table) {
    EXPECT_EQ(drawnUpright(sixPixels(orientation)), expected) << static_cast<int>(orientation);
  }
  EXPECT_EQ(sixPixels(UIImageOrientation::left).size().width, 3);
}

TEST_F(UIGraphicsTest, RawContextsShowDrawnImagesUprightWhileUIKitOnesFlipCGDraws) {
  auto image = sixPixels(UIImageOrientation::up).cgImage();
  ios::UIGraphicsBeginImageContextWithOptions({2, 3}, false, 1);
  ios::UIGraphicsGetCurrentContext()->draw(*image, {{0, 0}, {2, 3}});
  auto out = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(pixelAt(*out->cgImage(), 0, 0).r, 30);  // y-down: the first row lands at the bottom

  auto raw = ios::CGContext::make(nullptr, 2, 3, 8, 0, ios::CGColorSpaceCreateDeviceRGB(),
                                  ios::kCGImageAlphaPremultipliedLast);
  raw->draw(*image, {{0, 0}, {2, 3}});
  EXPECT_EQ(pixelAt(*raw->makeImage(), 0, 0).r, 10);
}

TEST_F(UIGraphicsTest, DrawWithBlendModeAndAlpha) {
  auto white = kp_test::makeImage(1, 1, [](std::size_t, std::size_t) { return kp_test::kWhite; });
  ios::UIGraphicsBeginImageContextWithOptions({1, 1}, false, 1);
  white.draw({{0, 0}, {1, 1}}, ios::CGBlendMode::normal, 0.2);
  auto out = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(pixelAt(*out->cgImage(), 0, 0), (Rgba{51, 51, 51, 51}));
}

}  // namespace
