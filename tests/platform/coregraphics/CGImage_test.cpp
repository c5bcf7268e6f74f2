#include "platform/coregraphics/CGImage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/testing/PlatformFixture.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CGImage;
using ::testing::ElementsAre;

class CGImageTest : public ios::testing::PlatformFixture {};

TEST_F(CGImageTest, MakeKeepsTheLayoutsAndRefusesOthers) {
  const auto rgb = ios::CGColorSpaceCreateDeviceRGB();
  struct Row {
    const char* name;
    std::size_t bitsPerPixel, bytesPerRow;
    std::optional<ios::CGColorSpace> space;
    ios::CGBitmapInfo info;
    std::size_t bytes;
    bool made;
  };
  const Row rows[] = {
      {"RGBA", 32, 8, rgb, ios::kCGImageAlphaPremultipliedLast, 16, true},
      {"ARGB straight", 32, 8, rgb, ios::kCGImageAlphaFirst, 16, true},
      {"RGBX little", 32, 8, rgb, ios::kCGImageAlphaNoneSkipLast | ios::kCGBitmapByteOrder32Little, 16, true},
      {"RGB 24-bit padded rows", 24, 8, rgb, ios::kCGImageAlphaNone, 16, true},
      {"grey", 8, 2, ios::CGColorSpaceCreateDeviceGray(), ios::kCGImageAlphaNone, 4, true},
      {"alpha only", 8, 2, std::nullopt, ios::kCGImageAlphaOnly, 4, true},
      {"32-bit without alpha", 32, 8, rgb, ios::kCGImageAlphaNone, 16, false},
      {"24-bit with alpha", 24, 6, rgb, ios::kCGImageAlphaLast, 12, false},
      {"row too short", 32, 7, rgb, ios::kCGImageAlphaPremultipliedLast, 16, false},
      {"bytes too short", 32, 8, rgb, ios::kCGImageAlphaPremultipliedLast, 15, false},
      {"alpha only with a colour space", 8, 2, rgb, ios::kCGImageAlphaOnly, 4, false},
  };
  for (const Row& row : rows) {
    auto image = CGImage::make(2, 2, 8, row.bitsPerPixel, row.bytesPerRow, row.space, row.info,
                               std::vector<std::uint8_t>(row.bytes));
    EXPECT_EQ(image != nullptr, row.made) << row.name;
  }
  EXPECT_FALSE(CGImage::make(0, 2, 8, 32, 0, rgb, ios::kCGImageAlphaPremultipliedLast, {}));
}

TEST_F(CGImageTest, CroppingIsIntegralIntersectedAndKeepsTheLayout) {
  auto image = kp_test::makeBGRAImage(4, 3, [](std::size_t x, std::size_t y) {
    return kp_test::Rgba{static_cast<std::uint8_t>(x * 10 + y), 0, 0, 255};
  });
  auto crop = image->cropping({{1.5, 0.5}, {1, 1}});  // becomes (1, 0) to (3, 2)
  ASSERT_TRUE(crop);
  EXPECT_EQ(crop->width(), 2u);
  EXPECT_EQ(crop->height(), 2u);
  EXPECT_EQ(crop->bitmapInfo(), image->bitmapInfo());
  EXPECT_EQ(kp_test::pixelAt(*crop, 0, 0).r, 10);
  EXPECT_EQ(kp_test::pixelAt(*crop, 1, 1).r, 21);

  auto clipped = image->cropping({{3, 2}, {10, 10}});
  ASSERT_TRUE(clipped);
  EXPECT_EQ(clipped->width(), 1u);
  EXPECT_EQ(kp_test::pixelAt(*clipped, 0, 0).r, 32);

  EXPECT_FALSE(image->cropping({{4, 0}, {1, 1}}));
  EXPECT_FALSE(image->cropping({{0, 0}, {NAN, 1}}));
}

TEST_F(CGImageTest, DataProviderCopiesTheBytesAndCanBeMadeToFail) {
  auto image = CGImage::make(1, 2, 8, 8, 1, ios::CGColorSpaceCreateDeviceGray(), ios::kCGImageAlphaNone, {7, 9});
  EXPECT_THAT(*ios::CGDataProviderCopyData(image->dataProvider()), ElementsAre(7, 9));
  ios::testing::failNextDataProviderCopy();
  EXPECT_FALSE(ios::CGDataProviderCopyData(image->dataProvider()));
  EXPECT_TRUE(ios::CGDataProviderCopyData(image->dataProvider()));
  EXPECT_FALSE(ios::CGDataProviderCopyData(nullptr));
}

}  // namespace
