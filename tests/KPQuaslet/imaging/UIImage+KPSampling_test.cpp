#include "KPQuaslet/imaging/UIImage+KPSampling.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "KPQuaslet/imaging/UIImage+KPCreation.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIColor;
using ios::UIImage;
using kp_test::Rgba;

// The colour as 0...255 components, for exact comparisons.
Rgba bytes(const UIColor& c) {
  ios::CGFloat r = 0, g = 0, b = 0, a = 0;
  c.getRed(r, g, b, a);
  auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
  return {byte(r), byte(g), byte(b), byte(a)};
}

UIImage raw(std::size_t w, std::size_t h, std::size_t bitsPerPixel, std::optional<ios::CGColorSpace> space,
            ios::CGBitmapInfo info, std::vector<std::uint8_t> data, double scale = 1) {
  const std::size_t row = w * bitsPerPixel / 8;
  return UIImage(ios::CGImage::make(w, h, 8, bitsPerPixel, row, space, info, std::move(data)), scale,
                 ios::UIImageOrientation::up);
}

const auto kRGB = ios::CGColorSpaceCreateDeviceRGB();

class UIImageKPSamplingTest : public ios::testing::PlatformFixture {};

TEST_F(UIImageKPSamplingTest, ColorAtDecodesEachLayout) {
  const UIImage rgba = raw(2, 1, 32, kRGB, ios::kCGImageAlphaPremultipliedLast, {9, 9, 9, 255, 10, 20, 30, 255});
  EXPECT_EQ(bytes(kp::color(rgba, {1, 0})), (Rgba{10, 20, 30, 255}));  // bytes 4 to 7
  const UIImage argb = raw(1, 1, 32, kRGB, ios::kCGImageAlphaFirst, {128, 200, 100, 50});
  EXPECT_EQ(bytes(kp::color(argb, {0, 0})), (Rgba{200, 100, 50, 128}));  // straight alpha, as stored
  const UIImage rgb = raw(2, 1, 24, kRGB, ios::kCGImageAlphaNone, {1, 2, 3, 40, 50, 60});
  EXPECT_EQ(bytes(kp::color(rgb, {1, 0})), (Rgba{40, 50, 60, 255}));
  const UIImage mask = raw(2, 1, 8, std::nullopt, ios::kCGImageAlphaOnly, {0, 102});
  EXPECT_EQ(bytes(kp::color(mask, {1, 0})), (Rgba{0, 0, 0, 102}));
  const UIImage grey = raw(2, 1, 8, ios::CGColorSpaceCreateDeviceGray(), ios::kCGImageAlphaNone, {0, 77});
  EXPECT_EQ(bytes(kp::color(grey, {1, 0})), (Rgba{77, 77, 77, 255}));
  // The library's own images are B,G,R,A premultiplied: red stays red, and a
  // half-transparent pixel comes back unpremultiplied.
  EXPECT_EQ(bytes(kp::color(kp::makeImage(UIColor::red(), {3, 3}), {1, 1})), kp_test::kRed);
  const UIImage glass = kp_test::makeImage(1, 1, [](auto, auto) { return Rgba{0, 0, 102, 102}; });
  EXPECT_EQ(bytes(kp::color(glass, {0, 0})), (Rgba{0, 0, 255, 102}));
}

TEST_F(UIImageKPSamplingTest, ColorAtEveryCornerAndOutside) {
  const UIImage image = kp_test::makeImage(7, 5, kp_test::distinctPixel);
  const struct {
    double x, y;
    std::optional<Rgba> expected;
  } rows[] = {
      {0, 0, kp_test::distinctPixel(0, 0)},   {6, 0, kp_test::distinctPixel(6, 0)},
      {0, 4, kp_test::distinctPixel(0, 4)},   {6, 4, kp_test::distinctPixel(6, 4)},
      {6.9, 4.9, kp_test::distinctPixel(6, 4)},  // truncated
      {7, 0, std::nullopt},   {0, 5, std::nullopt},     {-1, 0, std::nullopt},    {-0.5, 0, std::nullopt},
      {NAN, 0, std::nullopt}, {1e300, 0, std::nullopt}, {0, INFINITY, std::nullopt},
  };
  for (const auto& row : rows) {
    const UIColor c = kp::color(image, {row.x, row.y});
    if (row.expected) {
      EXPECT_EQ(bytes(c), *row.expected) << row.x << "," << row.y;
    } else {
      EXPECT_EQ(c, UIColor::clear()) << row.x << "," << row.y;
    }
  }
}

TEST_F(UIImageKPSamplingTest, UnreadableBitmapsGiveClear) {
  // A 2× image has four times as many pixels as points.
  EXPECT_EQ(kp::color(kp_test::makeImage(4, 4, kp_test::distinctPixel, 2), {1, 1}), UIColor::clear());
  // Padded rows.
  auto padded = ios::CGImage::make(1, 2, 8, 32, 8, kRGB, ios::kCGImageAlphaPremultipliedLast,
                                   std::vector<std::uint8_t>(16, 255));
  EXPECT_EQ(kp::color(UIImage(padded), {0, 1}), UIColor::clear());
  EXPECT_EQ(kp::color(UIImage(), {0, 0}), UIColor::clear());
  ios::testing::failNextDataProviderCopy();
  EXPECT_EQ(kp::color(kp_test::makeImage(1, 1, kp_test::distinctPixel), {0, 0}), UIColor::clear());
}

TEST_F(UIImageKPSamplingTest, AsynchronousColorArrivesOnMainAndNothingOnTheWorker) {
  ios::testing::ManualDispatch dispatch;
  std::vector<std::pair<std::string, std::optional<UIColor>>> received;
  auto record = [&](std::optional<UIColor> c) { received.emplace_back(ios::DispatchQueue::currentLabel(), c); };
  {
    const UIImage image = kp_test::makeImage(3, 2, kp_test::distinctPixel);
    kp::color(image, {2, 1}, record);
    kp::color(image, {3, 0}, record);   // x = width is outside
    kp::color(image, {-1, 0}, record);
    // An alpha-only image read at its last pixel: one byte a pixel, no read beyond it.
    kp::color(raw(10, 10, 8, std::nullopt, ios::kCGImageAlphaOnly, std::vector<std::uint8_t>(100, 51)), {9, 9},
              record);
  }  // the caller's images are gone; the queued work keeps what it needs
  EXPECT_TRUE(received.empty());
  dispatch.runPending();
  ASSERT_EQ(received.size(), 4u);
  const std::string worker = "com.apple.root.user-interactive-qos";
  EXPECT_EQ(received[0], std::make_pair(worker, std::optional<UIColor>()));
  EXPECT_EQ(received[1], std::make_pair(worker, std::optional<UIColor>()));
  EXPECT_EQ(received[2].first, "com.apple.main-thread");
  EXPECT_EQ(bytes(*received[2].second), kp_test::distinctPixel(2, 1));
  EXPECT_EQ(received[3].first, "com.apple.main-thread");
  EXPECT_EQ(bytes(*received[3].second), (Rgba{0, 0, 0, 51}));
}

// The asynchronous read takes the point as points of the image as it shows: at scale 2
// or 3 and for a turned photo it answers the colour under the point, on the main queue.
TEST_F(UIImageKPSamplingTest, AsynchronousColorReadsThePixelUnderThePoint) {
  ios::testing::ManualDispatch dispatch;
  const Rgba a{200, 0, 0, 255}, b{0, 0, 200, 255};
  // Two stored pixels, shown turned: the picture is one pixel wide and two high, the
  // second stored pixel on top.
  const UIImage turned(kp_test::makeImage(2, 1, [&](std::size_t x, std::size_t) { return x == 0 ? a : b; }).cgImage(),
                       1, ios::UIImageOrientation::left);
  const struct {
    const char* name;
    UIImage image;
    ios::CGPoint point;
    Rgba expected;
  } rows[] = {
      {"scale 2", kp_test::makeImage(4, 4, kp_test::distinctPixel, 2), {1.5, 0.5}, kp_test::distinctPixel(3, 1)},
      {"scale 2, origin", kp_test::makeImage(4, 4, kp_test::distinctPixel, 2), {0, 0}, kp_test::distinctPixel(0, 0)},
      {"scale 3", kp_test::makeImage(6, 3, kp_test::distinctPixel, 3), {1.9, 0.4}, kp_test::distinctPixel(5, 1)},
      {"turned, top", turned, {0, 0.5}, b},
      {"turned, bottom", turned, {0, 1.5}, a},
  };
  std::vector<std::pair<std::string, std::optional<UIColor>>> received;
  for (const auto& row : rows) {
    kp::color(row.image, row.point, [&](std::optional<UIColor> c) {
      received.emplace_back(ios::DispatchQueue::currentLabel(), c);
    });
  }
  dispatch.runPending();
  ASSERT_EQ(received.size(), std::size(rows));
  for (std::size_t i = 0; i < received.size(); ++i) {
    EXPECT_EQ(received[i].first, "com.apple.main-thread") << rows[i].name;
    ASSERT_TRUE(received[i].second.has_value()) << rows[i].name;
    EXPECT_EQ(bytes(*received[i].second), rows[i].expected) << rows[i].name;
  }
}

TEST_F(UIImageKPSamplingTest, AveragesOfUniformHalfAndFullyTransparentImages) {
  const UIImage red = kp_test::makeImage(8, 8, [](auto, auto) { return kp_test::kRed; });
  const UIImage half = kp_test::makeImage(8, 8, [](auto, auto) { return Rgba{128, 0, 0, 128}; });
  const UIImage clear = kp_test::makeImage(8, 8, [](auto, auto) { return kp_test::kClear; });
  const struct {
    const char* name;
    const UIImage& image;
    Rgba expected;
    Rgba expectedByAvarage;  // kp_avarageColor reads a zero alpha as opaque
  } rows[] = {{"red", red, kp_test::kRed, kp_test::kRed},
              {"half", half, {255, 0, 0, 128}, {255, 0, 0, 128}},
              {"clear", clear, kp_test::kClear, kp_test::kBlack}};
  for (const auto& row : rows) {
    EXPECT_EQ(bytes(kp::kp_avarageColor(row.image)), row.expectedByAvarage) << row.name;
    ASSERT_TRUE(kp::averageColor(row.image)) << row.name;
    EXPECT_EQ(bytes(*kp::averageColor(row.image)), row.expected) << row.name;
    ASSERT_TRUE(kp::mergedColor(row.image)) << row.name;
    EXPECT_EQ(bytes(*kp::mergedColor(row.image)), row.expected) << row.name;
  }
  EXPECT_EQ(bytes(kp::kp_avarageColor(UIImage())), kp_test::kClear);
  EXPECT_FALSE(kp::averageColor(UIImage()));
  // mergedColor() draws whatever the image is into its pixel: nothing at all stays clear.
  EXPECT_EQ(bytes(*kp::mergedColor(UIImage())), kp_test::kClear);
}

TEST_F(UIImageKPSamplingTest, AveragesCoverTheWholeImage) {
  // A 1000 × 10 strip whose left tenth is red: far more pixels than any filter kernel.
  const UIImage strip = kp_test::makeImage(1000, 10, [](std::size_t x, std::size_t) {
    return x < 100 ? kp_test::kRed : kp_test::kBlack;
  });
  for (const UIColor& c : {kp::kp_avarageColor(strip), *kp::averageColor(strip), *kp::mergedColor(strip)}) {
    EXPECT_TRUE(kp_test::near(bytes(c), Rgba{26, 0, 0, 255}, 1)) << bytes(c);
  }
}

}  // namespace
