#include "KPQuaslet/imaging/UIImage+KPGeometry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGSize;
using ios::UIImage;
using ios::UIImageOrientation;
using kp_test::pixelAt;
using kp_test::Rgba;
using kp_test::shownPixel;

constexpr UIImageOrientation kAll[] = {
    UIImageOrientation::up,         UIImageOrientation::down,         UIImageOrientation::left,
    UIImageOrientation::right,      UIImageOrientation::upMirrored,   UIImageOrientation::downMirrored,
    UIImageOrientation::leftMirrored, UIImageOrientation::rightMirrored};

bool turned(UIImageOrientation o) {
  return o == UIImageOrientation::left || o == UIImageOrientation::right || o == UIImageOrientation::leftMirrored ||
         o == UIImageOrientation::rightMirrored;
}

// A bitmap of w × h distinct pixels shown with `o` at `scale`.
UIImage distinct(std::size_t w, std::size_t h, double scale = 1, UIImageOrientation o = UIImageOrientation::up) {
  return UIImage(kp_test::makeBGRAImage(w, h, kp_test::distinctPixel), scale, o);
}

// Every pixel of `result` (as stored) against the picture `source` shows, shifted by
// (dx, dy).
void expectShows(const UIImage& result, const UIImage& source, std::size_t dx = 0, std::size_t dy = 0) {
  const ios::CGImage& bitmap = *result.cgImage();
  for (std::size_t y = 0; y < bitmap.height(); ++y) {
    for (std::size_t x = 0; x < bitmap.width(); ++x) {
      ASSERT_TRUE(kp_test::near(pixelAt(bitmap, x, y), shownPixel(source, x + dx, y + dy), 1))
          << "pixel " << x << "," << y << ": " << pixelAt(bitmap, x, y) << " vs " << shownPixel(source, x + dx, y + dy);
    }
  }
}

class UIImageKPGeometryTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u); }
};

TEST_F(UIImageKPGeometryTest, AdjustOrientationMatchesTheTurnedBitmapAtEveryScale) {
  for (std::size_t scale : {1u, 2u, 3u}) {
    for (UIImageOrientation o : kAll) {
      SCOPED_TRACE(::testing::Message() << "scale " << scale << " orientation " << static_cast<int>(o));
      // 6 × 4 blocks of scale × scale equal pixels: drawn at the point size, each block
      // becomes one pixel of the upright picture.
      const UIImage source(kp_test::makeBGRAImage(6 * scale, 4 * scale,
                                                  [&](std::size_t x, std::size_t y) {
                                                    return kp_test::distinctPixel(x / scale, y / scale);
                                                  }),
                           static_cast<double>(scale), o);
      auto upright = kp::adjustOrientation(source);
      ASSERT_TRUE(upright);
      if (o == UIImageOrientation::up) {
        EXPECT_EQ(upright->cgImage(), source.cgImage());
        continue;
      }
      EXPECT_EQ(upright->imageOrientation(), UIImageOrientation::up);
      EXPECT_EQ(upright->scale(), 1);
      EXPECT_EQ(upright->size().width, source.size().width);
      EXPECT_EQ(upright->size().height, source.size().height);
      EXPECT_EQ(upright->cgImage()->width(), turned(o) ? 4u : 6u);
      expectShows(*upright, distinct(6, 4, 1, o));
    }
  }
  EXPECT_FALSE(kp::adjustOrientation(UIImage(nullptr, 1, UIImageOrientation::left)));
}

TEST_F(UIImageKPGeometryTest, AdjustOrientationRedrawsLayoutsThatCannotBeDrawnInto) {
  // 24-bit R,G,B: no bitmap context has that layout, so R,G,B,A is used instead.
  std::vector<std::uint8_t> bytes = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  auto rgb = ios::CGImage::make(2, 2, 8, 24, 6, ios::CGColorSpaceCreateDeviceRGB(), ios::kCGImageAlphaNone, bytes);
  auto upright = kp::adjustOrientation(UIImage(rgb, 1, UIImageOrientation::down));
  ASSERT_TRUE(upright);
  EXPECT_EQ(pixelAt(*upright->cgImage(), 0, 0), kp_test::kWhite);
  EXPECT_EQ(pixelAt(*upright->cgImage(), 1, 1), kp_test::kRed);
}

TEST_F(UIImageKPGeometryTest, TransformForOrientation) {
  const UIImage image = distinct(2, 2, 1, UIImageOrientation::right);
  const ios::CGAffineTransform t = kp::transformForOrientation(image, {30, 20});
  EXPECT_NEAR(t.a, 0, 1e-15);
  EXPECT_DOUBLE_EQ(t.b, -1);
  EXPECT_DOUBLE_EQ(t.c, 1);
  EXPECT_NEAR(t.d, 0, 1e-15);
  EXPECT_EQ(t.tx, 0);
  EXPECT_EQ(t.ty, 20);
  const ios::CGAffineTransform m = kp::transformForOrientation(distinct(2, 2, 1, UIImageOrientation::upMirrored), {30, 20});
  EXPECT_EQ(m, ios::CGAffineTransform(-1, 0, 0, 1, 30, 0));
  EXPECT_TRUE(kp::transformForOrientation(distinct(2, 2), {30, 20}).isIdentity());
}

TEST_F(UIImageKPGeometryTest, ResizeThroughTheOrientationTransformShowsThePictureUpright) {
  for (UIImageOrientation o : kAll) {
    SCOPED_TRACE(static_cast<int>(o));
    const UIImage source = distinct(6, 4, 2, o);
    const CGSize shown = turned(o) ? CGSize{4, 6} : CGSize{6, 4};
    auto result = kp::resizeTo(source, shown, ios::CGInterpolationQuality::none);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scale(), 1);
    EXPECT_EQ(result->cgImage()->width(), static_cast<std::size_t>(shown.width));
    expectShows(*result, source);
  }
  // Fractional sizes are made integral; an empty one draws nothing.
  auto grown = kp::resizeTo(distinct(6, 4), {6.2, 3.5}, ios::CGAffineTransform::identity, false,
                            ios::CGInterpolationQuality::high);
  ASSERT_TRUE(grown);
  EXPECT_EQ(grown->cgImage()->width(), 7u);
  EXPECT_EQ(grown->cgImage()->height(), 4u);
  EXPECT_FALSE(kp::resizeTo(distinct(6, 4), {0, 3}, ios::CGInterpolationQuality::high));
  EXPECT_FALSE(kp::resizeTo(UIImage(), {3, 3}, ios::CGInterpolationQuality::high));
}

TEST_F(UIImageKPGeometryTest, ResizeToFitsIntoScreenPixels) {
  const struct {
    double screen;
    CGSize target;
    std::size_t width, height;
  } rows[] = {
      {3, {50, 50}, 150, 75},
      {1, {50, 50}, 50, 25},
      {2, {300, 10}, 40, 20},  // the height limits: r = 0.1
      {2, {33, 33}, 66, 32},   // h = floor(16.5) = 16 points
  };
  for (const auto& row : rows) {
    ios::testing::setMainScreenScale(row.screen);
    const UIImage result = kp::resizeTo(distinct(200, 100), row.target);
    ASSERT_TRUE(result.cgImage());
    EXPECT_EQ(result.scale(), 1);
    EXPECT_EQ(result.cgImage()->width(), row.width) << row.target.width;
    EXPECT_EQ(result.cgImage()->height(), row.height) << row.target.width;
  }
  EXPECT_EQ(kp::resizeTo(UIImage(), {10, 10}), UIImage());
}

TEST_F(UIImageKPGeometryTest, RedrawingMembersShowTheImageUpright) {
  ios::testing::setMainScreenScale(1);
  for (UIImageOrientation o : kAll) {
    SCOPED_TRACE(static_cast<int>(o));
    const UIImage source = distinct(6, 4, 1, o);
    const CGSize shown = source.size();
    // Each redraws at the shown size, pixel for pixel.
    expectShows(kp::resizeTo(source, shown), source);
    expectShows(kp::renderAtSize(source, shown), source);
    expectShows(*kp::scaledToWidth(source, shown.width), source);
  }
}

TEST_F(UIImageKPGeometryTest, ScaledToOneSide) {
  ios::testing::setMainScreenScale(3);
  const UIImage image = distinct(40, 20);
  auto byHeight = kp::scaledToHeight(image, 10);
  ASSERT_TRUE(byHeight);
  EXPECT_EQ(byHeight->scale(), 3);
  EXPECT_EQ(byHeight->size().width, 20);
  EXPECT_EQ(byHeight->cgImage()->width(), 60u);
  auto byWidth = kp::scaledToWidth(image, 10, true);
  ASSERT_TRUE(byWidth);
  EXPECT_EQ(byWidth->size().height, 5);
  EXPECT_EQ(byWidth->cgImage()->alphaInfo(), ios::CGImageAlphaInfo::noneSkipFirst);
  EXPECT_FALSE(kp::scaledToHeight(image, 0));
  EXPECT_FALSE(kp::scaledToWidth(UIImage(), 10));
}

TEST_F(UIImageKPGeometryTest, ScaleToMinSideLengthOnlyShrinks) {
  ios::testing::setMainScreenScale(2);
  const UIImage square = distinct(200, 200, 2);
  EXPECT_EQ(kp::scaleToMinSideLength(square, 100), square);  // T = 200 is not below 200
  // At the screen's scale the result keeps it.
  const UIImage wide = kp::scaleToMinSideLength(distinct(400, 200, 2), 50);
  EXPECT_EQ(wide.scale(), 2);
  EXPECT_EQ(wide.cgImage()->width(), 200u);
  EXPECT_EQ(wide.cgImage()->height(), 100u);
  // At another scale it comes back at scale 1, in pixels.
  const UIImage tall = kp::scaleToMinSideLength(distinct(100, 300, 1), 25);
  EXPECT_EQ(tall.scale(), 1);
  EXPECT_EQ(tall.cgImage()->width(), 50u);
  EXPECT_EQ(tall.cgImage()->height(), 150u);
}

TEST_F(UIImageKPGeometryTest, RenderAtSizeRoundsUpAndReturnsScaleOne) {
  ios::testing::setMainScreenScale(2);
  const UIImage result = kp::renderAtSize(distinct(10, 10), {10.2, 5});
  EXPECT_EQ(result.scale(), 1);
  EXPECT_EQ(result.cgImage()->width(), 22u);
  EXPECT_EQ(result.cgImage()->height(), 10u);
  const UIImage empty = distinct(10, 10);
  EXPECT_EQ(kp::renderAtSize(empty, {0, 5}), empty);
}

TEST_F(UIImageKPGeometryTest, CroppedTakesStoredPixelsAndComesBackUprightAtScaleOne) {
  for (double scale : {1.0, 2.0, 3.0}) {
    for (UIImageOrientation o : kAll) {
      SCOPED_TRACE(::testing::Message() << "scale " << scale << " orientation " << static_cast<int>(o));
      const UIImage image = distinct(20, 10, scale, o);
      const UIImage part = kp::cropped(image, {{4, 2}, {12, 6}});
      ASSERT_NE(part.cgImage(), image.cgImage());
      // The rect's pixels of the stored bitmap, shown as they are stored.
      EXPECT_EQ(part.scale(), 1);
      EXPECT_EQ(part.imageOrientation(), UIImageOrientation::up);
      EXPECT_EQ(part.size(), ios::CGSize(12, 6));
      EXPECT_EQ(shownPixel(part, 0, 0), kp_test::distinctPixel(4, 2));
      EXPECT_EQ(shownPixel(part, 11, 5), kp_test::distinctPixel(15, 7));
    }
  }
  // A photo stored sideways: 8 × 4 pixels shown 4 × 8; the rect still fits the bitmap.
  const UIImage sideways = kp::cropped(distinct(8, 4, 1, UIImageOrientation::right), {{1, 1}, {4, 2}});
  EXPECT_EQ(sideways.imageOrientation(), UIImageOrientation::up);
  EXPECT_EQ(sideways.size(), ios::CGSize(4, 2));
  EXPECT_EQ(shownPixel(sideways, 3, 1), kp_test::distinctPixel(4, 2));
  const UIImage image = distinct(20, 10);
  EXPECT_EQ(kp::cropped(image, {{0, 0}, {20, 5}}), image);    // as wide as the image
  EXPECT_EQ(kp::cropped(image, {{0, 0}, {5, 10}}), image);    // as high
  EXPECT_EQ(kp::cropped(image, {{40, 40}, {5, 5}}), image);   // outside
  EXPECT_EQ(kp::cropped(UIImage(), {{0, 0}, {1, 1}}), UIImage());
}

TEST_F(UIImageKPGeometryTest, LargestCenteredSquare) {
  const UIImage odd = kp::largestCenteredSquareImage(distinct(5, 2, 2, UIImageOrientation::right));
  EXPECT_EQ(odd.cgImage()->width(), 2u);
  EXPECT_EQ(odd.cgImage()->height(), 2u);
  EXPECT_EQ(odd.scale(), 2);
  EXPECT_EQ(odd.imageOrientation(), UIImageOrientation::right);
  EXPECT_EQ(pixelAt(*odd.cgImage(), 0, 0), kp_test::distinctPixel(1, 0));
  const UIImage tall = kp::largestCenteredSquareImage(distinct(4, 10, 3));
  EXPECT_EQ(tall.cgImage()->width(), 4u);
  EXPECT_EQ(pixelAt(*tall.cgImage(), 0, 0), kp_test::distinctPixel(0, 3));
}

TEST_F(UIImageKPGeometryTest, CropToAspectRatioCentresOnThePictureAsShown) {
  for (double scale : {1.0, 2.0, 3.0}) {
    for (UIImageOrientation o : kAll) {
      SCOPED_TRACE(::testing::Message() << "scale " << scale << " orientation " << static_cast<int>(o));
      // Shown 20 × 10 pixels whatever the orientation.
      const UIImage image = turned(o) ? distinct(10, 20, scale, o) : distinct(20, 10, scale, o);
      const UIImage square = kp::cropToAspectRatio(image, 1);
      EXPECT_EQ(square.scale(), 1);
      EXPECT_EQ(square.imageOrientation(), o);
      EXPECT_EQ(square.size().width, square.size().height);
      EXPECT_EQ(square.size().width, 10);
      // Its shown picture is the middle of the source's shown picture.
      for (std::size_t y : {0u, 9u}) {
        for (std::size_t x : {0u, 9u}) EXPECT_EQ(shownPixel(square, x, y), shownPixel(image, x + 5, y));
      }
    }
  }
  const UIImage image = distinct(20, 10);
  EXPECT_EQ(kp::cropToAspectRatio(image, 2), image);
  const UIImage letterbox = kp::cropToAspectRatio(image, 4);
  EXPECT_EQ(letterbox.cgImage()->height(), 5u);
  EXPECT_EQ(pixelAt(*letterbox.cgImage(), 0, 0), kp_test::distinctPixel(0, 2));
  EXPECT_EQ(kp::cropToAspectRatio(image, 0), image);
  EXPECT_EQ(kp::cropToAspectRatio(image, NAN), image);
}

TEST_F(UIImageKPGeometryTest, DecodedIsPremultipliedRGBAAndKeepsOrientation) {
  const UIImage image = distinct(3, 2, 2, UIImageOrientation::leftMirrored);
  const UIImage plain = kp::decoded(image);
  EXPECT_EQ(plain.cgImage()->bitmapInfo(), ios::kCGImageAlphaPremultipliedLast);
  EXPECT_EQ(plain.scale(), 2);
  EXPECT_EQ(plain.imageOrientation(), UIImageOrientation::leftMirrored);
  for (std::size_t x = 0; x < 3; ++x) EXPECT_EQ(pixelAt(*plain.cgImage(), x, 1), kp_test::distinctPixel(x, 1));
  EXPECT_EQ(kp::decodedWith(image, 3).scale(), 3);
  EXPECT_EQ(kp::decoded(UIImage()), UIImage());
}

TEST_F(UIImageKPGeometryTest, RoundedCornersRadiusRule) {
  const UIImage image = kp_test::makeImage(100, 40, [](auto, auto) { return kp_test::kRed; });
  // (3, 5) lies inside a 10-point corner arc but outside a 20-point one.
  const struct {
    std::optional<double> radius;
    bool cornerPointKept;
  } rows[] = {{std::nullopt, false}, {30.0, false}, {20.0, false}, {-1.0, false}, {0.0, false}, {10.0, true}};
  for (const auto& row : rows) {
    auto rounded = kp::withRoundedCorners(image, row.radius);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->capInsets(), ios::UIEdgeInsetsZero);
    EXPECT_EQ(pixelAt(*rounded->cgImage(), 0, 0).a, 0);
    EXPECT_EQ(pixelAt(*rounded->cgImage(), 50, 20), kp_test::kRed);
    EXPECT_EQ(pixelAt(*rounded->cgImage(), 3, 5).a == 255, row.cornerPointKept) << row.radius.value_or(-99);
  }
  const UIImage resizable = kp::imageByRoundingCornersTo(kp_test::makeImage(40, 40, [](auto, auto) {
    return kp_test::kBlue;
  }, 2), 6);
  EXPECT_EQ(resizable.scale(), 2);
  EXPECT_EQ(resizable.capInsets(), (ios::UIEdgeInsets{0, 6, 0, 6}));
  EXPECT_EQ(pixelAt(*resizable.cgImage(), 0, 0).a, 0);
  EXPECT_EQ(pixelAt(*resizable.cgImage(), 20, 20), kp_test::kBlue);
  EXPECT_FALSE(kp::withRoundedCorners(UIImage(), 4));
  EXPECT_EQ(kp::imageByRoundingCornersTo(UIImage(), 4), UIImage());
}

}  // namespace
