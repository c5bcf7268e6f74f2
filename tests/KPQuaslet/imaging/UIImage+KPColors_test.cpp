#include "KPQuaslet/imaging/UIImage+KPColors.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using kp_test::Rgba;

UIColor opaque(int r, int g, int b) { return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1); }

const UIColor kBlackRGB = opaque(0, 0, 0);
const UIColor kWhiteRGB = opaque(255, 255, 255);

class UIImageKPColorsTest : public ios::testing::PlatformFixture {
 protected:
  // A w × h pixel image at scale 2; drawn at its own point size the extractor sees its
  // pixels one to one.
  static ios::UIImage image(std::size_t w, std::size_t h, const std::function<Rgba(std::size_t, std::size_t)>& pixel) {
    return kp_test::makeImage(w, h, pixel, 2);
  }

  static kp::EdgeColors palette(const ios::UIImage& img) { return kp::colors(img, img.size()); }

  // An image of `h` rows whose edge columns 5 to 10 hold `counts` of each colour, in
  // this order from the top of column 5 on, then colours met only once; columns 0 to 4
  // are `filler`.
  static ios::UIImage edges(std::size_t h, const std::vector<std::pair<Rgba, std::size_t>>& counts,
                            Rgba filler = kp_test::kBlack) {
    return image(11, h, [=](std::size_t x, std::size_t y) {
      if (x < 5) return filler;
      std::size_t n = (x - 5) * h + y;
      for (const auto& [color, count] : counts) {
        if (n < count) return color;
        n -= count;
      }
      // Unique colours, each below any threshold of 2.
      return Rgba{static_cast<std::uint8_t>(60 + n % 100), static_cast<std::uint8_t>(60 + n / 100 % 100), 120, 255};
    });
  }
};

TEST_F(UIImageKPColorsTest, BackgroundIsTheLeastFrequentEdgeColour) {
  // h = 200: threshold 2.
  EXPECT_EQ(palette(edges(200, {{kp_test::kBlack, 40}, {kp_test::kRed, 10}, {kp_test::kGreen, 5}})).background,
            opaque(0, 255, 0));
  EXPECT_EQ(palette(edges(200, {{kp_test::kWhite, 10}, {kp_test::kRed, 40}})).background, opaque(255, 0, 0));
  EXPECT_EQ(palette(edges(200, {{kp_test::kWhite, 10}, {kp_test::kBlack, 40}})).background, kWhiteRGB);
  // A count equal to the threshold qualifies; ties keep the order of the first pixel.
  EXPECT_EQ(palette(edges(200, {{kp_test::kBlue, 2}, {kp_test::kRed, 2}, {kp_test::kWhite, 30}})).background,
            opaque(0, 0, 255));
  // With a threshold of 3 the blue and red pairs no longer count.
  EXPECT_EQ(palette(edges(300, {{kp_test::kBlue, 2}, {kp_test::kRed, 2}, {kp_test::kWhite, 30}})).background,
            kWhiteRGB);
}

TEST_F(UIImageKPColorsTest, OnlyColumnsFiveToTenAreEdges) {
  const auto img = image(12, 10, [](std::size_t x, std::size_t) {
    return (x == 4 || x == 11) ? kp_test::kBlue : Rgba{200, 30, 30, 255};
  });
  EXPECT_EQ(palette(img).background, opaque(200, 30, 30));
}

TEST_F(UIImageKPColorsTest, NarrowImagesHaveNoEdgeAndGetABlackBackground) {
  const auto colors = palette(image(5, 10, [](std::size_t, std::size_t) { return kp_test::kWhite; }));
  EXPECT_EQ(colors.background, kBlackRGB);
  EXPECT_EQ(colors.background.cgColor().numberOfComponents(), 4u);  // RGB, so every reading is defined
  // White raised to saturation 0.15 is light: it contrasts with black, although no pixel has it.
  EXPECT_EQ(colors.primary, UIColor::colorWithHue(0, 0.15, 1, 1));
  EXPECT_EQ(colors.secondary, kWhiteRGB);
  EXPECT_EQ(colors.detail, kWhiteRGB);
}

TEST_F(UIImageKPColorsTest, AlphaIsIgnoredAndPremultipliedBytesCount) {
  // Half-transparent red is stored as (128, 0, 0, 128) and counted as (128, 0, 0).
  EXPECT_EQ(palette(image(11, 10, [](std::size_t, std::size_t) { return Rgba{128, 0, 0, 128}; })).background,
            opaque(128, 0, 0));
  const auto clear = palette(image(11, 10, [](std::size_t, std::size_t) { return kp_test::kClear; }));
  EXPECT_EQ(clear.background, kBlackRGB);
  EXPECT_EQ(clear.primary, kWhiteRGB);
}

TEST_F(UIImageKPColorsTest, PrimarySecondaryAndDetailByIncreasingCount) {
  // A white edge (light background); dark colours elsewhere, fewest first:
  // navy 4, dark red 6, dark green 8, a navy-like blue 10 (not distinct from navy).
  std::map<std::size_t, Rgba> cells;
  const auto img = image(20, 10, [](std::size_t x, std::size_t y) {
    if (x >= 5 && x <= 10) return kp_test::kWhite;
    const std::size_t n = (x < 5 ? x : x - 6) * 10 + y;  // 0 ... 139 over the other columns
    if (n < 4) return Rgba{0, 0, 100, 255};
    if (n < 10) return Rgba{120, 0, 0, 255};
    if (n < 18) return Rgba{0, 110, 0, 255};
    if (n < 28) return Rgba{0, 20, 120, 255};
    return kp_test::kWhite;
  });
  const auto colors = palette(img);
  EXPECT_EQ(colors.background, kWhiteRGB);
  EXPECT_EQ(colors.primary, opaque(0, 0, 100));
  EXPECT_EQ(colors.secondary, opaque(120, 0, 0));
  EXPECT_EQ(colors.detail, opaque(0, 110, 0));
}

TEST_F(UIImageKPColorsTest, ImagesThatCannotBeDrawnGiveTheFallback) {
  for (const auto& colors : {kp::colors(ios::UIImage(), std::nullopt), kp::colors(ios::UIImage(), ios::CGSize{0, 10})}) {
    EXPECT_EQ(colors.background, kBlackRGB);
    EXPECT_EQ(colors.primary, kWhiteRGB);
    EXPECT_EQ(colors.detail, kWhiteRGB);
  }
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
}

TEST_F(UIImageKPColorsTest, WithoutASizeTheImageIsRedrawn250PointsWide) {
  // 2 × 1 points become 500 × 250 pixels: the edge columns 5 to 10 lie deep inside the
  // left (blue) half, far from the blend in the middle.
  const auto img = kp_test::makeImage(2, 1, [](std::size_t x, std::size_t) {
    return x == 0 ? kp_test::kBlue : kp_test::kWhite;
  });
  const auto colors = kp::colors(img, std::nullopt);
  EXPECT_EQ(colors.background, opaque(0, 0, 255));
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
}

}  // namespace
