#include "KPQuaslet/imaging/Gradient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGPoint;
using ios::UIColor;
using kp::KPDirection;
using kp::KPImageGradientDirection;
using kp_test::pixelAt;
using kp_test::Rgba;

void expectPoint(CGPoint actual, CGPoint expected, double tolerance = 1e-12) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

TEST(KPDirection, NamedDirectionsAndAngles) {
  const struct {
    KPDirection direction;
    CGPoint start, end;
  } rows[] = {
      {KPDirection::top(), {0.5, 1}, {0.5, 0}},        {KPDirection::left(), {1, 0.5}, {0, 0.5}},
      {KPDirection::right(), {0, 0.5}, {1, 0.5}},      {KPDirection::bottom(), {0.5, 0}, {0.5, 1}},
      {KPDirection::degree(0), {1, 0.5}, {0, 0.5}},    {KPDirection::degree(90), {0.5, 0}, {0.5, 1}},
      {KPDirection::degree(180), {0, 0.5}, {1, 0.5}},  {KPDirection::degree(270), {0.5, 1}, {0.5, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.direction.degrees());
    expectPoint(row.direction.startPoint(), row.start);
    expectPoint(row.direction.endPoint(), row.end);
  }
  // degree(0) is exactly left.
  EXPECT_EQ(KPDirection::degree(0).startPoint().x, 1.0);
  EXPECT_EQ(KPDirection::degree(0).endPoint().y, 0.5);
  for (double d : {13.0, 45.0, 127.5, -60.0, 400.0}) {
    const CGPoint s = KPDirection::degree(d).startPoint(), e = KPDirection::degree(d).endPoint();
    EXPECT_NEAR(s.x + e.x, 1, 1e-12) << d;
    EXPECT_NEAR(s.y + e.y, 1, 1e-12) << d;
  }
}

TEST(KPImageGradientDirection, PointsOnAnImage) {
  const ios::CGSize size{100, 50};
  const struct {
    KPImageGradientDirection direction;
    CGPoint start, end;
  } rows[] = {
      {KPImageGradientDirection::toLeft(), {100, 25}, {0, 25}},
      {KPImageGradientDirection::toRight(), {0, 25}, {100, 25}},
      {KPImageGradientDirection::toTop(), {50, 50}, {50, 0}},
      {KPImageGradientDirection::toBottom(), {50, 0}, {50, 50}},
      {KPImageGradientDirection::toBottomLeft(), {100, 0}, {0, 50}},
      {KPImageGradientDirection::toBottomRight(), {0, 0}, {100, 50}},
      {KPImageGradientDirection::toTopLeft(), {100, 50}, {0, 0}},
      {KPImageGradientDirection::toTopRight(), {0, 50}, {100, 0}},
      {KPImageGradientDirection::degree(0), {100, 25}, {0, 25}},
      {KPImageGradientDirection::degree(45), {85.35533905932738, 7.322330470336311},
       {14.644660940672622, 42.67766952966369}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.direction.kind()));
    expectPoint(row.direction.startPoint(size), row.start, 1e-9);
    expectPoint(row.direction.endPoint(size), row.end, 1e-9);
  }
}

class GradientTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u); }
};

TEST_F(GradientTest, ImagesAreScreenPixelsAtScaleOne) {
  for (double scale : {1.0, 2.0, 3.0}) {
    ios::testing::setMainScreenScale(scale);
    auto image = kp::makeImage({100, 50}, KPImageGradientDirection::toRight(), {UIColor::red(), UIColor::blue()});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->size().width, 100 * scale);
    EXPECT_EQ(image->size().height, 50 * scale);
    auto solid = kp::makeImageFillColor(UIColor::green(), {4, 2});
    ASSERT_TRUE(solid);
    EXPECT_EQ(solid->size().width, 4 * scale);
    EXPECT_EQ(pixelAt(*solid->cgImage(), 0, 0), kp_test::kGreen);
  }
  EXPECT_FALSE(kp::makeImageFillColor(UIColor::green(), {0, 2}));
  EXPECT_FALSE(kp::makeImage({0, 5}, KPImageGradientDirection::toTop(), {UIColor::red()}));
}

TEST_F(GradientTest, OneColourIsTheSolidImageAndNoneIsNothing) {
  ios::testing::setMainScreenScale(2);
  const UIColor colour = UIColor::colorWithRed(0.2, 0.4, 0.6, 1);
  auto gradient = kp::makeImage({3, 2}, KPImageGradientDirection::degree(30), {colour});
  auto solid = kp::makeImageFillColor(colour, {3, 2});
  ASSERT_TRUE(gradient && solid);
  const auto& a = *gradient->cgImage();
  const auto& b = *solid->cgImage();
  ASSERT_EQ(a.width(), b.width());
  EXPECT_TRUE(std::ranges::equal(a.dataProvider()->bytes(), b.dataProvider()->bytes()));
  EXPECT_FALSE(kp::makeImage({3, 2}, KPImageGradientDirection::toTop(), {}));
  // A pattern colour has no components to put in a gradient.
  EXPECT_FALSE(kp::makeImage({3, 2}, KPImageGradientDirection::toTop(),
                             {UIColor::red(), UIColor::colorWithPatternImage(*solid)}));
}

TEST_F(GradientTest, StartMiddleAndEnd) {
  ios::testing::setMainScreenScale(1);
  auto image = kp::makeImage({101, 4}, KPImageGradientDirection::toRight(), {UIColor::red(), UIColor::blue()});
  ASSERT_TRUE(image);
  const auto& bitmap = *image->cgImage();
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 0, 1), kp_test::kRed, 3)) << pixelAt(bitmap, 0, 1);
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 50, 1), Rgba{128, 0, 128, 255}, 3)) << pixelAt(bitmap, 50, 1);
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 100, 1), kp_test::kBlue, 3)) << pixelAt(bitmap, 100, 1);
  // Three colours: evenly spaced stops, the middle one at the centre.
  auto three = kp::makeImage({4, 101}, KPImageGradientDirection::toBottom(),
                             {UIColor::red(), UIColor::green(), UIColor::blue()});
  EXPECT_TRUE(kp_test::near(pixelAt(*three->cgImage(), 1, 50), kp_test::kGreen, 3));
  EXPECT_TRUE(kp_test::near(pixelAt(*three->cgImage(), 1, 100), kp_test::kBlue, 3));
  // Grey colours enter as their RGB equivalents: white to black.
  auto grey = kp::makeImage({101, 2}, KPImageGradientDirection::toLeft(), {UIColor::white(), UIColor::black()});
  EXPECT_TRUE(kp_test::near(pixelAt(*grey->cgImage(), 100, 0), kp_test::kWhite, 3));
  EXPECT_TRUE(kp_test::near(pixelAt(*grey->cgImage(), 50, 0), Rgba{128, 128, 128, 255}, 3));
  EXPECT_TRUE(kp_test::near(pixelAt(*grey->cgImage(), 0, 0), kp_test::kBlack, 3));
}

TEST_F(GradientTest, AnglesLeaveWhatLiesBeyondTheEndsTransparent) {
  ios::testing::setMainScreenScale(1);
  auto image = kp::makeImage({100, 100}, KPImageGradientDirection::degree(45), {UIColor::red(), UIColor::blue()});
  ASSERT_TRUE(image);
  const auto& bitmap = *image->cgImage();
  // From about (85.4, 14.6) to (14.6, 85.4): the top-right and bottom-left corners lie
  // beyond the ends, the other two on the middle line.
  EXPECT_EQ(pixelAt(bitmap, 99, 0), kp_test::kClear);
  EXPECT_EQ(pixelAt(bitmap, 0, 99), kp_test::kClear);
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 0, 0), Rgba{128, 0, 128, 255}, 4)) << pixelAt(bitmap, 0, 0);
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 99, 99), Rgba{128, 0, 128, 255}, 4));
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 84, 15), kp_test::kRed, 6)) << pixelAt(bitmap, 84, 15);
  EXPECT_TRUE(kp_test::near(pixelAt(bitmap, 15, 84), kp_test::kBlue, 6)) << pixelAt(bitmap, 15, 84);
}

TEST_F(GradientTest, ButtonBackgroundImages) {
  ios::testing::setMainScreenScale(2);
  using kp::imaging_internal::gradientBackgroundImage;
  EXPECT_FALSE(gradientBackgroundImage({}, KPImageGradientDirection::toTop()));
  auto solid = gradientBackgroundImage({UIColor::red()}, KPImageGradientDirection::toTop());
  ASSERT_TRUE(solid);
  EXPECT_EQ(solid->size().width, 2);  // one point at scale 2, returned at scale 1
  EXPECT_EQ(pixelAt(*solid->cgImage(), 1, 1), kp_test::kRed);
  auto ramp = gradientBackgroundImage({UIColor::red(), UIColor::blue()}, KPImageGradientDirection::toRight());
  ASSERT_TRUE(ramp);
  EXPECT_EQ(ramp->size().height, 2);
  EXPECT_GT(pixelAt(*ramp->cgImage(), 0, 0).r, pixelAt(*ramp->cgImage(), 1, 0).r);
}

}  // namespace
