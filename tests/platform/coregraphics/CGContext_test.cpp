#include "platform/coregraphics/CGContext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/uikit/UIColor.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGContext;
using kp_test::pixelAt;
using kp_test::Rgba;
using ::testing::ElementsAre;

std::shared_ptr<CGContext> rgbaContext(std::size_t w, std::size_t h,
                                       ios::CGBitmapInfo info = ios::kCGImageAlphaPremultipliedLast) {
  return CGContext::make(nullptr, w, h, 8, 0, ios::CGColorSpaceCreateDeviceRGB(), info);
}

std::vector<std::uint8_t> bytesOf(CGContext& ctx) {
  const auto* p = static_cast<const std::uint8_t*>(ctx.data());
  return {p, p + ctx.bytesPerRow() * ctx.height()};
}

TEST(CGContext, ByteOrderFollowsTheBitmapInfo) {
  struct Row {
    const char* name;
    ios::CGBitmapInfo info;
    std::vector<std::uint8_t> expected;  // one half-transparent red pixel
  };
  const std::vector<Row> rows = {
      {"premultipliedFirst (A,R,G,B)", ios::kCGImageAlphaPremultipliedFirst, {128, 128, 0, 0}},
      {"premultipliedLast (R,G,B,A)", ios::kCGImageAlphaPremultipliedLast, {128, 0, 0, 128}},
      {"premultipliedFirst little (B,G,R,A)",
       ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
       {0, 0, 128, 128}},
      {"premultipliedLast little (A,B,G,R)",
       ios::kCGImageAlphaPremultipliedLast | ios::kCGBitmapByteOrder32Little,
       {128, 0, 0, 128}},
      {"noneSkipLast (R,G,B,X)", ios::kCGImageAlphaNoneSkipLast, {128, 0, 0, 255}},
      {"noneSkipFirst (X,R,G,B)", ios::kCGImageAlphaNoneSkipFirst, {255, 128, 0, 0}},
  };
  for (const Row& row : rows) {
    auto ctx = rgbaContext(1, 1, row.info);
    ASSERT_TRUE(ctx) << row.name;
    ctx->setFillColor(ios::CGColor(ios::CGColorSpaceCreateDeviceRGB(), {1, 0, 0, 128.0 / 255}));
    ctx->fill({{0, 0}, {1, 1}});
    EXPECT_EQ(bytesOf(*ctx), row.expected) << row.name;
  }
}

TEST(CGContext, GreyAndAlphaOnlyContexts) {
  auto grey = CGContext::make(nullptr, 2, 1, 8, 0, ios::CGColorSpaceCreateDeviceGray(), ios::kCGImageAlphaNone);
  ASSERT_TRUE(grey);
  grey->setFillColor(ios::UIColor::white().cgColor());
  grey->fill({{0, 0}, {1, 1}});
  EXPECT_THAT(bytesOf(*grey), ElementsAre(255, 0));

  auto mask = CGContext::make(nullptr, 2, 1, 8, 0, std::nullopt, ios::kCGImageAlphaOnly);
  ASSERT_TRUE(mask);
  mask->setFillColor(ios::UIColor::colorWithRed(0, 1, 0, 0.2).cgColor());
  mask->fill({{1, 0}, {1, 1}});
  EXPECT_THAT(bytesOf(*mask), ElementsAre(0, 51));
}

TEST(CGContext, RefusesWhatCannotBeABitmap) {
  EXPECT_FALSE(rgbaContext(0, 4));
  EXPECT_FALSE(rgbaContext(4, 40000));
  EXPECT_FALSE(rgbaContext(2, 2, ios::kCGImageAlphaLast));  // straight alpha cannot be drawn into
  EXPECT_FALSE(CGContext::make(nullptr, 2, 2, 8, 4, ios::CGColorSpaceCreateDeviceRGB(),
                               ios::kCGImageAlphaPremultipliedLast));  // row shorter than 8 bytes
  EXPECT_FALSE(CGContext::make(nullptr, 2, 2, 16, 0, ios::CGColorSpaceCreateDeviceRGB(),
                               ios::kCGImageAlphaPremultipliedLast));
}

TEST(CGContext, UserSpaceIsYUpWithTheOriginAtTheBottomLeft) {
  auto ctx = rgbaContext(2, 2);
  ctx->setFillColor(ios::UIColor::red().cgColor());
  ctx->fill({{0, 0}, {1, 1}});
  auto image = ctx->makeImage();
  EXPECT_EQ(pixelAt(*image, 0, 1), kp_test::kRed);  // bottom row in memory
  EXPECT_EQ(pixelAt(*image, 0, 0), kp_test::kClear);
  EXPECT_EQ(ctx->convertToDeviceSpace({0, 0}).y, 2);
}

TEST(CGContext, DrawnImagesComeOutUprightAndExactAtOneToOne) {
  // Rows: red on top, blue at the bottom; the left column green on the top row.
  auto image = kp_test::makeBGRAImage(2, 2, [](std::size_t x, std::size_t y) {
    if (y == 0) return x == 0 ? kp_test::kGreen : kp_test::kRed;
    return kp_test::kBlue;
  });
  auto ctx = rgbaContext(2, 2);
  ctx->draw(*image, {{0, 0}, {2, 2}});
  auto out = ctx->makeImage();
  EXPECT_EQ(pixelAt(*out, 0, 0), kp_test::kGreen);
  EXPECT_EQ(pixelAt(*out, 1, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(*out, 0, 1), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*out, 1, 1), kp_test::kBlue);
}

TEST(CGContext, StrongDownscalesAverageTheWholeImage) {
  // 256 × 256: the left quarter white, the rest black. A few-pixel filter would see
  // only the black centre.
  auto image = kp_test::makeBGRAImage(256, 256, [](std::size_t x, std::size_t) {
    return x < 64 ? kp_test::kWhite : kp_test::kBlack;
  });
  auto ctx = rgbaContext(1, 1);
  ctx->draw(*image, {{0, 0}, {1, 1}});
  const Rgba mean = pixelAt(*ctx->makeImage(), 0, 0);
  EXPECT_NEAR(mean.r, 64, 1);
  EXPECT_EQ(mean.a, 255);
}

TEST(CGContext, CallerBufferIsReadAtCreationAndWrittenAfterEachOperation) {
  // A,R,G,B bytes (not the engine's own layout).
  std::vector<std::uint8_t> buffer = {255, 0, 0, 255, 0, 0, 0, 0};
  auto ctx = CGContext::make(buffer.data(), 2, 1, 8, 8, ios::CGColorSpaceCreateDeviceRGB(),
                             ios::kCGImageAlphaPremultipliedFirst);
  ASSERT_TRUE(ctx);
  ctx->setFillColor(ios::UIColor::red().cgColor());
  ctx->fill({{1, 0}, {1, 1}});
  EXPECT_THAT(buffer, ElementsAre(255, 0, 0, 255, 255, 255, 0, 0));
}

TEST(CGContext, ClipsToRectsPathsAndImageMasks) {
  auto ctx = rgbaContext(4, 1);
  ctx->saveGState();
  ctx->clip({{1, 0}, {2, 1}});
  ctx->setFillColor(ios::UIColor::red().cgColor());
  ctx->fill({{0, 0}, {4, 1}});
  ctx->restoreGState();
  auto image = ctx->makeImage();
  EXPECT_EQ(pixelAt(*image, 0, 0), kp_test::kClear);
  EXPECT_EQ(pixelAt(*image, 1, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image, 3, 0), kp_test::kClear);

  // A mask whose alpha is 255, 128, 0, 255 left to right.
  auto mask = kp_test::makeBGRAImage(4, 1, [](std::size_t x, std::size_t) {
    const std::uint8_t a[] = {255, 128, 0, 255};
    return Rgba{0, 0, 0, a[x]};
  });
  auto masked = rgbaContext(4, 1);
  masked->clip({{0, 0}, {4, 1}}, *mask);
  masked->setFillColor(ios::UIColor::blue().cgColor());
  masked->fill({{0, 0}, {4, 1}});
  auto out = masked->makeImage();
  EXPECT_EQ(pixelAt(*out, 0, 0), kp_test::kBlue);
  EXPECT_EQ(pixelAt(*out, 1, 0), (Rgba{0, 0, 128, 128}));
  EXPECT_EQ(pixelAt(*out, 2, 0), kp_test::kClear);
}

TEST(CGContext, PathsFillAndStroke) {
  auto ctx = rgbaContext(10, 10);
  ctx->setFillColor(ios::UIColor::red().cgColor());
  ctx->setStrokeColor(ios::UIColor::blue().cgColor());
  ctx->setLineWidth(2);
  ctx->addRect({{2, 2}, {6, 6}});
  ctx->drawPath(ios::CGPathDrawingMode::fillStroke);
  EXPECT_TRUE(ctx->isPathEmpty());
  auto image = ctx->makeImage();
  EXPECT_EQ(pixelAt(*image, 5, 5), kp_test::kRed);   // inside
  EXPECT_EQ(pixelAt(*image, 2, 5), kp_test::kBlue);  // on the edge x = 2 (covers 1...3)
  EXPECT_EQ(pixelAt(*image, 0, 0), kp_test::kClear);

  // A tangent arc from a corner: the line runs to the tangent point, then turns.
  ios::CGMutablePath path;
  path.move({0, 5});
  path.addArc({10, 5}, {10, 15}, 4);
  path.addLine({10, 15});
  auto stroked = rgbaContext(20, 20);
  stroked->setLineWidth(1);
  stroked->addPath(path);
  stroked->strokePath();
  auto out = stroked->makeImage();
  // y = 5 in user space is row 14 in memory; the line ends near x = 6, where the arc starts.
  EXPECT_GT(pixelAt(*out, 3, 14).a, 100);
  EXPECT_LT(pixelAt(*out, 9, 14).a, 64);  // the corner itself is cut by the arc
  EXPECT_GT(pixelAt(*out, 9, 8).a, 100);  // the vertical leg, x = 10, y = 11
}

TEST(CGContext, LinearGradientsPaintNothingBeyondTheirEnds) {
  auto ctx = rgbaContext(10, 1);
  const ios::CGFloat components[] = {1, 0, 0, 1, 0, 0, 1, 1};
  const ios::CGFloat locations[] = {0, 1};
  auto gradient = ios::CGGradient::make(ios::CGColorSpaceCreateDeviceRGB(), components, locations);
  ASSERT_TRUE(gradient);
  ctx->drawLinearGradient(*gradient, {2, 0}, {8, 0}, 0);
  auto image = ctx->makeImage();
  EXPECT_EQ(pixelAt(*image, 0, 0).a, 0);
  EXPECT_EQ(pixelAt(*image, 9, 0).a, 0);
  EXPECT_GT(pixelAt(*image, 2, 0).r, 200);
  EXPECT_GT(pixelAt(*image, 7, 0).b, 200);

  auto padded = rgbaContext(10, 1);
  padded->drawLinearGradient(*gradient, {2, 0}, {8, 0}, ios::kCGGradientDrawsBeforeStartLocation);
  auto out = padded->makeImage();
  EXPECT_EQ(pixelAt(*out, 0, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(*out, 9, 0).a, 0);
}

TEST(CGContext, BlendModesAreBoundedByTheShape) {
  auto ctx = rgbaContext(2, 1);
  ctx->setFillColor(ios::UIColor::red().cgColor());
  ctx->fill({{0, 0}, {2, 1}});
  ctx->setBlendMode(ios::CGBlendMode::destinationIn);
  ctx->setFillColor(ios::UIColor::colorWithRed(0, 0, 0, 0).cgColor());
  ctx->fill({{0, 0}, {1, 1}});
  auto image = ctx->makeImage();
  EXPECT_EQ(pixelAt(*image, 0, 0), kp_test::kClear);
  EXPECT_EQ(pixelAt(*image, 1, 0), kp_test::kRed);  // outside the shape: untouched
}

TEST(CGContext, PlusDarkerAddsDarknessAndKeepsWhatIsOutside) {
  auto ctx = rgbaContext(2, 1);
  ctx->setFillColor(ios::UIColor::colorWithRed(0.6, 0.8, 1, 1).cgColor());
  ctx->fill({{0, 0}, {2, 1}});
  ctx->setBlendMode(ios::CGBlendMode::plusDarker);
  ctx->setFillColor(ios::UIColor::colorWithRed(0.8, 0.4, 1, 1).cgColor());
  ctx->fill({{0, 0}, {1, 1}});
  auto image = ctx->makeImage();
  // max(0, 1 - ((1 - D) + (1 - S))) per channel
  const Rgba darkened = pixelAt(*image, 0, 0);
  EXPECT_NEAR(darkened.r, 102, 1);  // 0.4
  EXPECT_EQ(darkened.g, 51);        // 0.2
  EXPECT_EQ(darkened.b, 255);
  EXPECT_EQ(darkened.a, 255);
  EXPECT_EQ(pixelAt(*image, 1, 0), (Rgba{153, 204, 255, 255}));
}

}  // namespace
