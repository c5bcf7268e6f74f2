#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/imageio/ImageIO.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIImage;
using kp_test::Rgba;

UIImage quadrants() {
  return kp_test::makeImage(16, 16, [](std::size_t x, std::size_t y) {
    if (y < 8) return x < 8 ? kp_test::kRed : kp_test::kGreen;
    return x < 8 ? kp_test::kBlue : kp_test::kWhite;
  });
}

bool near(Rgba a, Rgba b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

bool hasMarker(const std::vector<std::uint8_t>& data, std::uint8_t marker) {
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] == 0xFF && data[i + 1] == marker) return true;
  }
  return false;
}

TEST(ImageCoding, JPEGRoundTripKeepsTheColours) {
  auto data = ios::UIImageJPEGRepresentation(quadrants(), 1.0);
  ASSERT_TRUE(data);
  auto decoded = UIImage::fromData(*data);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->cgImage()->width(), 16u);
  EXPECT_EQ(decoded->cgImage()->alphaInfo(), ios::CGImageAlphaInfo::noneSkipLast);
  EXPECT_TRUE(near(kp_test::pixelAt(*decoded->cgImage(), 2, 2), kp_test::kRed, 8));
  EXPECT_TRUE(near(kp_test::pixelAt(*decoded->cgImage(), 13, 13), kp_test::kWhite, 8));
  EXPECT_LT(ios::UIImageJPEGRepresentation(quadrants(), 0.1)->size(), data->size());
  EXPECT_FALSE(ios::UIImageJPEGRepresentation(UIImage(), 1.0));
}

TEST(ImageCoding, ProgressiveJPEGWithDensity) {
  auto data = std::make_shared<std::vector<std::uint8_t>>();
  auto destination = ios::CGImageDestinationCreateWithData(data, ios::kUTTypeJPEG, 1);
  ios::CGImageDestinationProperties properties;
  properties.lossyCompressionQuality = 0.9;
  properties.isProgressive = true;
  properties.xDensity = 72, properties.yDensity = 72, properties.densityUnit = 1;
  ios::CGImageDestinationAddImage(destination, quadrants().cgImage(), properties);
  ASSERT_TRUE(ios::CGImageDestinationFinalize(destination));
  EXPECT_TRUE(hasMarker(*data, 0xC2));   // progressive start of frame
  EXPECT_FALSE(hasMarker(*data, 0xC0));  // no baseline frame
  // JFIF APP0: "JFIF\0", version, unit, X density, Y density.
  const std::vector<std::uint8_t> jfif(data->begin() + 6, data->begin() + 18);
  EXPECT_THAT(jfif, ::testing::ElementsAre('J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 72, 0, 72));
  EXPECT_TRUE(UIImage::fromData(*data));

  EXPECT_FALSE(ios::CGImageDestinationCreateWithData(data, "public.tiff", 1));
  EXPECT_FALSE(ios::CGImageDestinationFinalize(ios::CGImageDestinationCreateWithData(data, ios::kUTTypeJPEG, 1)));
}

TEST(ImageCoding, PNGRoundTripKeepsAlpha) {
  auto image = kp_test::makeImage(2, 1, [](std::size_t x, std::size_t) {
    return x == 0 ? Rgba{0, 0, 128, 128} : kp_test::kRed;  // half-transparent blue, premultiplied
  });
  auto data = ios::UIImagePNGRepresentation(image);
  ASSERT_TRUE(data);
  auto decoded = UIImage::fromData(*data, 2);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->scale(), 2);
  EXPECT_EQ(decoded->size().width, 1);
  EXPECT_EQ(kp_test::pixelAt(*decoded->cgImage(), 0, 0), (Rgba{0, 0, 255, 128}));  // straight alpha
  EXPECT_EQ(kp_test::pixelAt(*decoded->cgImage(), 1, 0), kp_test::kRed);
}

TEST(ImageCoding, BrokenDataGivesNoImage) {
  const std::vector<std::vector<std::uint8_t>> inputs = {
      {}, {1, 2, 3}, {0xFF, 0xD8, 0xFF, 0xE0, 0, 0}, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0}};
  for (const auto& input : inputs) EXPECT_FALSE(UIImage::fromData(input)) << input.size();
  auto truncated = *ios::UIImageJPEGRepresentation(quadrants(), 0.8);
  truncated.resize(truncated.size() / 3);
  // libjpeg fills a cut-off file with grey; it must not crash or read past the data.
  (void)UIImage::fromData(truncated);
}

}  // namespace
