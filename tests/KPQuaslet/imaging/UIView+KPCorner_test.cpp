#include "KPQuaslet/imaging/UIView+KPCorner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGRect;
using ios::UIColor;
using ios::UIImageView;
using ios::UIView;
using kp_test::pixelAt;

class UIViewKPCorner : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u); }
};

TEST_F(UIViewKPCorner, AddCornerPutsABorderedImageBehindTheContent) {
  for (double scale : {1.0, 2.0, 3.0}) {
    SCOPED_TRACE(scale);
    ios::testing::setMainScreenScale(scale);
    auto card = UIView::make(CGRect(5, 5, 100, 40));
    auto content = UIView::make(CGRect(10, 10, 20, 20));
    card->addSubview(content);
    kp::kp_addCorner(*card, 8);
    const auto subviews = card->subviews();
    ASSERT_EQ(subviews.size(), 2u);
    EXPECT_EQ(subviews[1], content);
    auto* frame = dynamic_cast<UIImageView*>(subviews[0].get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->frame(), CGRect(0, 0, 100, 40));
    ASSERT_TRUE(frame->image().has_value());
    const ios::UIImage& image = *frame->image();
    EXPECT_EQ(image.size(), ios::CGSize(100, 40));
    EXPECT_EQ(image.scale(), scale);
    const auto px = [&](double x, double y) {
      return pixelAt(*image.cgImage(), static_cast<std::size_t>(x * scale), static_cast<std::size_t>(y * scale));
    };
    EXPECT_EQ(px(50, 0), kp_test::kBlack);   // a one-point black border mid-edge
    EXPECT_EQ(px(0, 20), kp_test::kBlack);
    EXPECT_EQ(px(50, 20), kp_test::kClear);  // a transparent inside
    EXPECT_EQ(px(0, 0), kp_test::kClear);    // beyond the rounded corner
    // The layer itself is left as it was: no mask, no corner radius.
    EXPECT_EQ(card->layer()->cornerRadius(), 0);
    EXPECT_FALSE(card->layer()->masksToBounds());
  }
}

TEST_F(UIViewKPCorner, EachCallAddsOneMoreImageViewBehindTheOthers) {
  ios::testing::setMainScreenScale(2);
  auto card = UIView::make(CGRect(0, 0, 60, 30));
  auto content = UIView::make(CGRect(0, 0, 10, 10));
  card->addSubview(content);
  kp::kp_addCorner(*card, 4);
  auto first = card->subviews()[0];
  kp::kp_addCorner(*card, 6, 2, UIColor::red(), UIColor::blue());
  const auto subviews = card->subviews();
  ASSERT_EQ(subviews.size(), 3u);
  EXPECT_EQ(subviews[1], first);
  EXPECT_EQ(subviews[2], content);
  const auto& second = *dynamic_cast<UIImageView&>(*subviews[0]).image();
  EXPECT_EQ(pixelAt(*second.cgImage(), 60, 0), kp_test::kBlue);   // 2-point border at 2x: rows 0...3
  EXPECT_EQ(pixelAt(*second.cgImage(), 60, 3), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*second.cgImage(), 60, 30), kp_test::kRed);   // the filled inside
}

TEST_F(UIViewKPCorner, DrawRectSnapsTheWidthAndLeavesTheViewAlone) {
  ios::testing::setMainScreenScale(1);
  const struct {
    double width, imageWidth;
  } rows[] = {{100.3, 100}, {100.5, 101}, {100, 100}, {1.5, 2}};  // under 2 points: not snapped, its bitmap covers it
  for (const auto& row : rows) {
    auto view = UIView::make(CGRect(0, 0, row.width, 20.4));
    const ios::UIImage image =
        kp::kp_drawRectWithRoundedCorner(*view, 0, 1, UIColor::white(), UIColor::black());
    EXPECT_EQ(image.size().width, row.imageWidth) << row.width;
    EXPECT_EQ(image.size().height, 21) << row.width;  // the height is not snapped; its bitmap covers it
    EXPECT_TRUE(view->subviews().empty());
  }
}

TEST_F(UIViewKPCorner, ViewWithoutAreaGetsNothing) {
  ios::testing::setMainScreenScale(2);
  for (CGRect bounds : {CGRect(0, 0, 0, 40), CGRect(0, 0, 100, 0), CGRect()}) {
    auto view = UIView::make(bounds);
    EXPECT_EQ(kp::kp_drawRectWithRoundedCorner(*view, 8, 1, UIColor::clear(), UIColor::black()), ios::UIImage());
    kp::kp_addCorner(*view, 8);
    EXPECT_TRUE(view->subviews().empty());
  }
}

}  // namespace
