#include "platform/uikit/UIBezierPath.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIBezierPath;
using kp_test::pixelAt;

class UIBezierPathTest : public ios::testing::PlatformFixture {
 protected:
  // Fills `path` red in a 40 × 20 context at scale 1.
  static ios::CGImageRef filled(const UIBezierPath& path) {
    ios::UIGraphicsBeginImageContextWithOptions({40, 20}, false, 1);
    ios::UIColor::red().setFill();
    path.fill();
    auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    return image->cgImage();
  }
};

TEST_F(UIBezierPathTest, RoundedRectCutsOnlyTheCorners) {
  auto image = filled(*UIBezierPath::make({{0, 0}, {40, 20}}, 8));
  EXPECT_EQ(pixelAt(*image, 0, 0).a, 0);
  EXPECT_EQ(pixelAt(*image, 39, 19).a, 0);
  EXPECT_EQ(pixelAt(*image, 20, 0), kp_test::kRed);   // middle of the top edge
  EXPECT_EQ(pixelAt(*image, 0, 10), kp_test::kRed);   // middle of the left edge
  EXPECT_EQ(pixelAt(*image, 3, 3), kp_test::kRed);    // inside the corner's arc
  // A radius above half the shorter side is limited to it: a capsule.
  auto capsule = filled(*UIBezierPath::make({{0, 0}, {40, 20}}, 100));
  EXPECT_EQ(pixelAt(*capsule, 1, 1).a, 0);
  EXPECT_EQ(pixelAt(*capsule, 1, 10).a, 255);
  EXPECT_EQ(pixelAt(*capsule, 20, 1).a, 255);
}

TEST_F(UIBezierPathTest, CornerMaskRoundsOnlyTheNamedCorners) {
  using C = ios::UIRectCorner;
  auto image = filled(*UIBezierPath::make({{0, 0}, {40, 20}}, C::topLeft | C::bottomRight, {8, 8}));
  EXPECT_EQ(pixelAt(*image, 0, 0).a, 0);
  EXPECT_EQ(pixelAt(*image, 39, 19).a, 0);
  EXPECT_EQ(pixelAt(*image, 39, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image, 0, 19), kp_test::kRed);
}

TEST_F(UIBezierPathTest, ArcsTurnClockwiseOnScreen) {
  // Clockwise from 0 to π/2 on screen (y down) sweeps the lower right quarter.
  auto path = UIBezierPath::make({20, 10}, 10, 0, M_PI / 2, true);
  path->addLine({20, 10});
  path->close();
  auto image = filled(*path);
  EXPECT_EQ(pixelAt(*image, 24, 13), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image, 24, 6).a, 0);
  EXPECT_EQ(pixelAt(*image, 16, 13).a, 0);
}

TEST_F(UIBezierPathTest, AddClipLimitsLaterDrawingAndNeedsAContext) {
  UIBezierPath::make({{0, 0}, {1, 1}})->addClip();  // no context: nothing happens
  ios::UIGraphicsBeginImageContextWithOptions({10, 10}, false, 1);
  UIBezierPath::make({{0, 0}, {5, 10}})->addClip();
  ios::UIColor::blue().setFill();
  ios::UIRectFill({{0, 0}, {10, 10}});
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(pixelAt(*image->cgImage(), 4, 5), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*image->cgImage(), 5, 5), kp_test::kClear);
}

// The corner radii a rounded rectangle ends up with, read from its outline: the first
// point lies rx after the top-left corner, the first corner ends ry below the top edge.
TEST_F(UIBezierPathTest, RadiiThatDoNotFitShrinkKeepingTheCornersShape) {
  struct Row {
    const char* name;
    ios::CGRect rect;
    bool uniform;  // the cornerRadius form
    ios::CGSize radii;
    ios::CGSize expected;
  };
  using ios::CGRect, ios::CGSize;
  const Row rows[] = {
      {"fits", CGRect(0, 0, 40, 20), true, {8, 8}, {8, 8}},
      {"wide capsule", CGRect(0, 0, 40, 20), true, {100, 100}, {10, 10}},
      {"tall capsule", CGRect(5, 5, 20, 40), true, {15, 15}, {10, 10}},
      {"hover band", CGRect(5, 45, 90, 15), true, {10, 10}, {7.5, 7.5}},
      {"corners, equal radii", CGRect(0, 0, 40, 20), false, {100, 100}, {10, 10}},
      {"corners, elliptical", CGRect(0, 0, 100, 40), false, {10, 40}, {5, 20}},
      {"corners, elliptical fits", CGRect(0, 0, 100, 40), false, {8, 4}, {8, 4}},
  };
  for (const Row& row : rows) {
    auto path = row.uniform ? UIBezierPath::make(row.rect, row.radii.width)
                            : UIBezierPath::make(row.rect, ios::UIRectCorner::allCorners, row.radii);
    const auto& e = path->cgPath().elements();
    ASSERT_GE(e.size(), 3u) << row.name;
    EXPECT_DOUBLE_EQ(e[0].p0.x - row.rect.minX(), row.expected.width) << row.name;
    ASSERT_EQ(e[2].kind, ios::CGPathElement::Kind::curve) << row.name;
    EXPECT_DOUBLE_EQ(e[2].p0.y - row.rect.minY(), row.expected.height) << row.name;
  }
}

}  // namespace
