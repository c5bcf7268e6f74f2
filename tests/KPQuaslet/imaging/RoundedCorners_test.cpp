#include "KPQuaslet/imaging/RoundedCorners.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using ios::UIImage;
using kp_test::pixelAt;

class RoundedCornersTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u); }
};

TEST_F(RoundedCornersTest, ImageIsStretchedAndItsCornersCut) {
  for (double scale : {1.0, 2.0, 3.0}) {
    SCOPED_TRACE(scale);
    ios::testing::setMainScreenScale(scale);
    // A 10 × 10 image whose left half is red and right half blue, redrawn 40 × 20.
    const UIImage source = kp_test::makeImage(10, 10, [](std::size_t x, std::size_t) {
      return x < 5 ? kp_test::kRed : kp_test::kBlue;
    });
    const UIImage result = kp::kp_drawRectWithRoundedCorner(source, 6, {40, 20});
    ASSERT_TRUE(result.cgImage());
    EXPECT_EQ(result.scale(), scale);
    EXPECT_EQ(result.size().width, 40);
    EXPECT_EQ(result.size().height, 20);
    const auto px = [&](double x, double y) {
      return pixelAt(*result.cgImage(), static_cast<std::size_t>(x * scale), static_cast<std::size_t>(y * scale));
    };
    for (auto corner : {std::pair{0.0, 0.0}, {39.5, 0.0}, {0.0, 19.5}, {39.5, 19.5}}) {
      EXPECT_EQ(px(corner.first, corner.second).a, 0) << corner.first << "," << corner.second;
    }
    EXPECT_EQ(px(10, 10), kp_test::kRed);   // stretched: the halves are 20 points wide
    EXPECT_EQ(px(30, 10), kp_test::kBlue);
    EXPECT_EQ(px(25, 0.2), kp_test::kBlue);  // the straight top edge is kept
  }
  EXPECT_EQ(kp::kp_drawRectWithRoundedCorner(kp_test::makeImage(2, 2, kp_test::distinctPixel), 4, {0, 10}), UIImage());
}

TEST_F(RoundedCornersTest, SnappedWidth) {
  const struct {
    double width, snapped;
  } rows[] = {{100, 100}, {100.2, 100}, {100.49, 100}, {100.5, 101}, {100.8, 101}, {2.3, 2}, {1.6, 1.6}, {0, 0}};
  for (const auto& row : rows) EXPECT_EQ(kp::imaging_internal::snappedWidth(row.width), row.snapped) << row.width;
}

TEST_F(RoundedCornersTest, BorderedRectangleStaysInsideTheImage) {
  ios::testing::setMainScreenScale(1);
  const UIImage framed = kp::imaging_internal::roundedRectImage({100, 40}, 8, 1, UIColor::clear(), UIColor::black());
  ASSERT_TRUE(framed.cgImage());
  EXPECT_EQ(framed.size().width, 100);
  const auto& bitmap = *framed.cgImage();
  EXPECT_EQ(pixelAt(bitmap, 50, 0), kp_test::kBlack);    // the one-point border, mid-edge
  EXPECT_EQ(pixelAt(bitmap, 0, 20), kp_test::kBlack);
  EXPECT_EQ(pixelAt(bitmap, 99, 20), kp_test::kBlack);
  EXPECT_EQ(pixelAt(bitmap, 50, 20), kp_test::kClear);   // transparent inside
  EXPECT_EQ(pixelAt(bitmap, 0, 0), kp_test::kClear);     // beyond the corner arc
  // Radius 0: a plain rectangle, its corners black too.
  const UIImage square = kp::imaging_internal::roundedRectImage({20, 10}, 0, 1, UIColor::red(), UIColor::black());
  EXPECT_EQ(pixelAt(*square.cgImage(), 0, 0), kp_test::kBlack);
  EXPECT_EQ(pixelAt(*square.cgImage(), 10, 5), kp_test::kRed);
  // A 4-point border lies wholly inside: the outer row is covered, nothing is lost.
  const UIImage thick = kp::imaging_internal::roundedRectImage({40, 40}, 6, 4, UIColor::clear(), UIColor::blue());
  EXPECT_EQ(pixelAt(*thick.cgImage(), 20, 0), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*thick.cgImage(), 20, 3), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*thick.cgImage(), 20, 4), kp_test::kClear);
  // A radius too large for the size is limited, and no size gives the empty image.
  const UIImage round = kp::imaging_internal::roundedRectImage({20, 20}, 500, 2, UIColor::red(), UIColor::black());
  EXPECT_EQ(pixelAt(*round.cgImage(), 10, 10), kp_test::kRed);
  EXPECT_EQ(pixelAt(*round.cgImage(), 0, 0), kp_test::kClear);
  EXPECT_EQ(kp::imaging_internal::roundedRectImage({0, 20}, 4, 1, UIColor::red(), UIColor::black()), UIImage());
}

TEST_F(RoundedCornersTest, PathRunsHalfTheBorderInside) {
  const ios::CGMutablePath path = kp::imaging_internal::roundedRectPath({100, 40}, 8, 4);
  const auto& e = path.elements();
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].p0.x, 98);
  EXPECT_EQ(e[0].p0.y, 10);
  EXPECT_EQ(e[1].p0.x, 98);  // bottom-right corner
  EXPECT_EQ(e[1].p0.y, 38);
  EXPECT_EQ(e[3].p0.x, 2);   // top-left corner
  EXPECT_EQ(e[3].p0.y, 2);
  EXPECT_EQ(e[4].p1.y, 10);  // back where it began
  EXPECT_EQ(e[1].radius, 8);
  EXPECT_EQ(kp::imaging_internal::roundedRectPath({100, 40}, 50, 4).elements()[1].radius, 18);
}

}  // namespace
