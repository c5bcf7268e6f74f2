#include "KPQuaslet/imaging/KPImageColors.h"

#include <gtest/gtest.h>

#include <functional>
#include <unordered_set>

#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using kp::KPImageColorsQuality;
using kp::imaging_internal::PackedColor;
using kp_test::Rgba;

UIColor opaque(int r, int g, int b) { return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1); }

class KPImageColorsTest : public ios::testing::PlatformFixture {
 protected:
  void SetUp() override {
    PlatformFixture::SetUp();
    ios::testing::setMainScreenScale(1);  // .highest then counts the image's own pixels
  }

  // A w × h image whose pixel n (counted column by column, each top to bottom) is
  // pixel(n).
  static ios::UIImage byColumns(std::size_t w, std::size_t h, const std::function<Rgba(std::size_t)>& pixel) {
    return kp_test::makeImage(w, h, [&](std::size_t x, std::size_t y) { return pixel(x * h + y); });
  }
};

TEST_F(KPImageColorsTest, QualityRawValues) {
  EXPECT_EQ(kp::rawValue(KPImageColorsQuality::lowest), 50);
  EXPECT_EQ(kp::rawValue(KPImageColorsQuality::highest), 0);
  EXPECT_EQ(kp::fromRawValue<KPImageColorsQuality>(100.0), KPImageColorsQuality::low);
  EXPECT_EQ(kp::fromRawValue<KPImageColorsQuality>(250.0), KPImageColorsQuality::high);
  EXPECT_EQ(kp::fromRawValue<KPImageColorsQuality>(0.0), KPImageColorsQuality::highest);
  EXPECT_FALSE(kp::fromRawValue<KPImageColorsQuality>(75.0));
  EXPECT_FALSE(kp::fromRawValue<KPImageColorsQuality>(100.5));
  std::unordered_set<KPImageColorsQuality> set{KPImageColorsQuality::low, KPImageColorsQuality::low};
  EXPECT_EQ(set.size(), 1u);
}

TEST_F(KPImageColorsTest, PackedColoursAndTheirTests) {
  const PackedColor white = PackedColor::fromChannels(255, 255, 255);
  EXPECT_EQ(white.value, 255255255u);
  EXPECT_EQ(PackedColor{1002003}.red(), 1u);
  EXPECT_EQ(PackedColor{1002003}.green(), 2u);
  EXPECT_EQ(PackedColor{1002003}.blue(), 3u);
  struct Row {
    PackedColor in, out;
  };
  const Row rows[] = {
      {PackedColor::fromChannels(128, 128, 128), PackedColor::fromChannels(128, 108, 108)},
      {white, PackedColor::fromChannels(255, 216, 216)},
      {PackedColor{0}, PackedColor{0}},
      {PackedColor::fromChannels(49, 49, 49), PackedColor::fromChannels(48, 41, 41)},
      {PackedColor::fromChannels(200, 100, 50), PackedColor::fromChannels(200, 100, 50)},  // saturated already
      {PackedColor::fromChannels(100, 110, 100), PackedColor::fromChannels(93, 110, 93)},   // green is the maximum: hue 2
  };
  for (const Row& row : rows) {
    const PackedColor raised = row.in.withMinSaturation(0.15);
    EXPECT_EQ(raised, row.out) << row.in.value << " -> " << raised.value;
  }
  // Near grey on both sides: never distinct, however far apart.
  EXPECT_FALSE(PackedColor::fromChannels(10, 12, 14).isDistinct(PackedColor::fromChannels(74, 76, 78)));
  EXPECT_TRUE(PackedColor::fromChannels(10, 30, 14).isDistinct(PackedColor::fromChannels(74, 76, 78)));
  EXPECT_FALSE(PackedColor::fromChannels(100, 100, 100).isDistinct(PackedColor::fromChannels(163, 100, 100)));
  EXPECT_TRUE(PackedColor::fromChannels(233, 233, 233).isBlackOrWhite());
  EXPECT_FALSE(PackedColor::fromChannels(232, 233, 233).isBlackOrWhite());
  EXPECT_TRUE(PackedColor::fromChannels(22, 0, 22).isBlackOrWhite());
  EXPECT_TRUE(PackedColor::fromChannels(128, 127, 127).isDark());  // L = 127.2126
  EXPECT_FALSE(PackedColor::fromChannels(128, 128, 128).isDark());
  // Contrast needs (Lmax + 12.75) / (Lmin + 12.75) above 1.6.
  EXPECT_FALSE(PackedColor::fromChannels(7, 7, 7).isContrasting(PackedColor{0}));  // 19.75 / 12.75 = 1.55
  EXPECT_TRUE(PackedColor::fromChannels(8, 8, 8).isContrasting(PackedColor{0}));   // 20.75 / 12.75 = 1.63
}

TEST_F(KPImageColorsTest, TransparentImageGivesBlackAndWhites) {
  const auto colors = kp::getColors(byColumns(10, 10, [](std::size_t) { return kp_test::kClear; }),
                                    KPImageColorsQuality::highest);
  EXPECT_EQ(colors, (kp::KPImageColors{opaque(0, 0, 0), opaque(255, 255, 255), opaque(255, 255, 255),
                                       opaque(255, 255, 255)}));
}

TEST_F(KPImageColorsTest, AlphaBelow127IsSkippedAndPremultipliedBytesCount) {
  auto withAlpha = [](std::uint8_t a) {
    return byColumns(4, 4, [a](std::size_t n) { return n == 5 ? Rgba{a, 0, 0, a} : kp_test::kClear; });
  };
  EXPECT_EQ(kp::getColors(withAlpha(127), KPImageColorsQuality::highest).background, opaque(127, 0, 0));
  EXPECT_EQ(kp::getColors(withAlpha(126), KPImageColorsQuality::highest).background, opaque(0, 0, 0));
}

TEST_F(KPImageColorsTest, NearWhiteBackgroundGivesWayOnlyAboveAThirdOfItsCount) {
  auto whiteAndRed = [this](std::size_t reds) {
    return byColumns(10, 10, [reds](std::size_t n) { return n < reds ? kp_test::kRed : kp_test::kWhite; });
  };
  const auto eighty = kp::getColors(whiteAndRed(20), KPImageColorsQuality::highest);
  EXPECT_EQ(eighty, (kp::KPImageColors{opaque(255, 255, 255), opaque(255, 0, 0), opaque(0, 0, 0), opaque(0, 0, 0)}));
  const auto seventy = kp::getColors(whiteAndRed(30), KPImageColorsQuality::highest);
  EXPECT_EQ(seventy.background, opaque(255, 0, 0));
  // Red is dark (L = 54.2): the light colours are candidates; white raised to (255, 216, 216)
  // occurs nowhere but still contrasts.
  EXPECT_EQ(seventy.primary, opaque(255, 216, 216));
  EXPECT_EQ(seventy.secondary, opaque(255, 255, 255));
}

TEST_F(KPImageColorsTest, PicksBackgroundPrimarySecondaryAndDetail) {
  // 20 × 20: navy 200, yellow 100, cyan 60, white 40 pixels.
  const auto image = byColumns(20, 20, [](std::size_t n) {
    if (n < 200) return Rgba{0, 0, 128, 255};
    if (n < 300) return Rgba{255, 255, 0, 255};
    if (n < 360) return Rgba{0, 255, 255, 255};
    return kp_test::kWhite;
  });
  const auto colors = kp::getColors(image, KPImageColorsQuality::highest);
  EXPECT_EQ(colors, (kp::KPImageColors{opaque(0, 0, 128), opaque(255, 255, 0), opaque(0, 255, 255),
                                       opaque(255, 216, 216)}));
}

TEST_F(KPImageColorsTest, CountsMustExceedTheThresholdAndTiesKeepFirstSeenOrder) {
  // One column of distinct colours, each once: 100 rows make the threshold 1.
  auto column = [this](std::size_t h) {
    return byColumns(1, h, [](std::size_t n) { return Rgba{static_cast<std::uint8_t>(100 + n), 40, 200, 255}; });
  };
  EXPECT_EQ(kp::getColors(column(100), KPImageColorsQuality::highest).background, opaque(0, 0, 0));
  // 99 rows: threshold 0, all tie at 1, the first one met wins.
  EXPECT_EQ(kp::getColors(column(99), KPImageColorsQuality::highest).background, opaque(100, 40, 200));
  // Columns come before rows: the top pixel of column 0 is met first.
  const auto grid = kp_test::makeImage(2, 2, [](std::size_t x, std::size_t y) {
    const Rgba colors[2][2] = {{Rgba{10, 200, 10, 255}, Rgba{200, 10, 10, 255}},
                               {Rgba{10, 10, 200, 255}, Rgba{200, 200, 10, 255}}};
    return colors[y][x];
  });
  EXPECT_EQ(kp::getColors(grid, KPImageColorsQuality::highest).background, opaque(10, 200, 10));
  const auto again = kp::getColors(grid, KPImageColorsQuality::highest);
  EXPECT_EQ(again, kp::getColors(grid, KPImageColorsQuality::highest));
}

TEST_F(KPImageColorsTest, GreyImageFallsBackToBlack) {
  const auto colors = kp::getColors(byColumns(8, 8, [](std::size_t) { return Rgba{128, 128, 128, 255}; }),
                                    KPImageColorsQuality::highest);
  EXPECT_EQ(colors,
            (kp::KPImageColors{opaque(128, 128, 128), opaque(0, 0, 0), opaque(0, 0, 0), opaque(0, 0, 0)}));
}

TEST_F(KPImageColorsTest, TinyAndLargeImagesAtEveryQuality) {
  ios::testing::setMainScreenScale(2);
  const auto tiny = kp_test::makeImage(1, 1, [](std::size_t, std::size_t) { return Rgba{0, 0, 200, 255}; });
  const auto large = kp_test::makeImage(900, 600, [](std::size_t x, std::size_t y) {
    return x < 600 ? Rgba{0, 0, 200, 255} : (y < 300 ? kp_test::kWhite : Rgba{255, 255, 0, 255});
  });
  for (auto quality : {KPImageColorsQuality::lowest, KPImageColorsQuality::low, KPImageColorsQuality::high,
                       KPImageColorsQuality::highest}) {
    const auto small = kp::getColors(tiny, quality);
    EXPECT_EQ(small.background, opaque(0, 0, 200)) << kp::rawValue(quality);
    const auto big = kp::getColors(large, quality);
    EXPECT_EQ(big.background, opaque(0, 0, 200)) << kp::rawValue(quality);
    EXPECT_TRUE(big.primary && big.secondary && big.detail);
    // Yellow (a third of the area less than blue, half of the rest) is the most frequent light colour.
    EXPECT_EQ(big.primary, opaque(255, 255, 0)) << kp::rawValue(quality);
  }
}

TEST_F(KPImageColorsTest, FatalStops) {
  EXPECT_DEATH((void)kp::getColors(ios::UIImage(), KPImageColorsQuality::low),
               "Fatal error: KPImageColors.resizeForKPImageColors failed: "
               "UIGraphicsGetImageFromCurrentImageContext returned nil\\.");
  const auto image = kp_test::makeImage(2, 2, [](std::size_t, std::size_t) { return kp_test::kRed; });
  EXPECT_DEATH(
      {
        ios::testing::failNextDataProviderCopy();
        (void)kp::getColors(image, KPImageColorsQuality::highest);
      },
      "Fatal error: KPImageColors.getColors failed: could not get cgImage data\\.");
  EXPECT_DEATH(
      {
        ios::testing::dropNextContextImageBitmap();
        (void)kp::getColors(image, KPImageColorsQuality::highest);
      },
      "Fatal error: KPImageColors.getColors failed: could not get cgImage data\\.");
}

}  // namespace

namespace {

TEST_F(KPImageColorsTest, TheAsynchronousFormWorksOnAWorkerAndDeliversOnTheMainQueue) {
  ios::testing::ManualDispatch dispatch;
  const auto image = byColumns(10, 10, [](std::size_t) { return kp_test::kClear; });
  std::vector<std::string> labels;
  std::optional<kp::KPImageColors> delivered;
  kp::getColors(image, KPImageColorsQuality::highest, [&](kp::KPImageColors colors) {
    labels.push_back(ios::DispatchQueue::currentLabel());
    delivered = colors;
  });
  EXPECT_FALSE(delivered) << "returns at once";
  dispatch.runPending();
  ASSERT_TRUE(delivered);
  EXPECT_EQ(*delivered, kp::getColors(image, KPImageColorsQuality::highest));
  EXPECT_EQ(labels, std::vector<std::string>{"com.apple.main-thread"});
}

}  // namespace
