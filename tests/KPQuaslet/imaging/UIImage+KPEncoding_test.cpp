#include "KPQuaslet/imaging/UIImage+KPEncoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KPQuaslet/imaging/internal/Encoding.h"
#include "platform/imageio/ImageIO.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::UIImage;
using ios::testing::jpegEncodeCount;

// A busy 64 × 48 picture whose JPEG size falls clearly with the quality.
UIImage photo(double scale = 1, ios::UIImageOrientation o = ios::UIImageOrientation::up) {
  return UIImage(kp_test::makeBGRAImage(64, 48,
                                        [](std::size_t x, std::size_t y) {
                                          return kp_test::Rgba{static_cast<std::uint8_t>((x * 37 + y * 11) % 256),
                                                               static_cast<std::uint8_t>((x * x + y * 7) % 256),
                                                               static_cast<std::uint8_t>((y * y * 3 + x) % 256), 255};
                                        }),
                 scale, o);
}

std::size_t jpegSize(const UIImage& image, double quality) {
  return ios::UIImageJPEGRepresentation(image, quality)->size();
}

class UIImageKPEncodingTest : public ios::testing::PlatformFixture {};

TEST_F(UIImageKPEncodingTest, SizesOfTheBestJPEG) {
  const std::size_t best = jpegSize(photo(), 1.0);
  EXPECT_EQ(kp::bytesSize(photo()), static_cast<std::int64_t>(best));
  EXPECT_EQ(kp::kilobytesSize(photo()), static_cast<std::int64_t>(best / 1024));
  EXPECT_EQ(kp::bytesSize(UIImage()), 0);
  EXPECT_EQ(kp::kilobytesSize(UIImage()), 0);
}

TEST_F(UIImageKPEncodingTest, CompressionStopsAtTheFirstQualityUnderTheBudget) {
  const UIImage image = photo();
  // The sizes at 1.0, 0.9, ..., in the loop's own double steps.
  std::vector<std::size_t> sizes;
  for (double q = 1.0; q > 0; q -= 0.1) sizes.push_back(jpegSize(image, q));
  ASSERT_EQ(sizes.size(), 11u);
  ASSERT_GT(sizes[0], sizes[4]);
  const struct {
    std::int64_t budget;
    std::size_t attempts;
  } rows[] = {
      {static_cast<std::int64_t>(sizes[0]) + 1, 1},  // the best encoding fits
      {static_cast<std::int64_t>(sizes[0]), 2},      // equal is not under: one step down
      {static_cast<std::int64_t>(sizes[4]) + 1, 5},
  };
  for (const auto& row : rows) {
    std::size_t expected = 0;
    while (sizes[expected] >= static_cast<std::size_t>(row.budget)) ++expected;
    ASSERT_EQ(expected + 1, row.attempts) << row.budget;
    ios::testing::resetImageIO();
    const std::vector<std::uint8_t> data = kp::dataWithCompressTo(image, row.budget);
    EXPECT_EQ(jpegEncodeCount(), row.attempts) << row.budget;
    EXPECT_EQ(data.size(), sizes[expected]);
    EXPECT_LT(static_cast<std::int64_t>(data.size()), row.budget);
    ios::testing::resetImageIO();
    const UIImage small = kp::compressTo(image, row.budget);
    EXPECT_EQ(jpegEncodeCount(), row.attempts);
    EXPECT_NE(small.cgImage(), image.cgImage());
    EXPECT_EQ(small.size().width, 64);
  }
}

TEST_F(UIImageKPEncodingTest, UnreachableBudgetsFallBackAfterElevenAttempts) {
  const UIImage image = photo();
  const auto atPointNine = *ios::UIImageJPEGRepresentation(image, 0.9);
  // A budget of 1 byte takes all eleven attempts; the fallback is the loop's own attempt at
  // 0.9. A budget of 0 or less cannot be met by any encoding, so none is tried.
  const struct {
    std::int64_t budget;
    std::size_t compressAttempts, dataAttempts;
  } rows[] = {{1, 11, 11}, {0, 0, 1}, {-5, 0, 1}};
  for (const auto& row : rows) {
    ios::testing::resetImageIO();
    EXPECT_EQ(kp::compressTo(image, row.budget), image);  // the receiver itself
    EXPECT_EQ(jpegEncodeCount(), row.compressAttempts) << row.budget;
    ios::testing::resetImageIO();
    EXPECT_EQ(kp::dataWithCompressTo(image, row.budget), atPointNine);
    EXPECT_EQ(jpegEncodeCount(), row.dataAttempts) << row.budget;
  }
  // When the attempt at 0.9 failed (with the one at 1.0), the fallback encodes once more.
  ios::testing::resetImageIO();
  ios::testing::failNextJPEGEncode(2);
  EXPECT_EQ(kp::dataWithCompressTo(image, 1), atPointNine);
  EXPECT_EQ(jpegEncodeCount(), 12u);
  // An encoding that fails counts as too large: the next quality is tried.
  ios::testing::resetImageIO();
  ios::testing::failNextJPEGEncode();
  EXPECT_EQ(kp::dataWithCompressTo(image, 1 << 30), atPointNine);
  EXPECT_EQ(jpegEncodeCount(), 2u);  // the failure, then the 0.9 attempt
  EXPECT_TRUE(kp::dataWithCompressTo(UIImage(), 1 << 30).empty());
}

TEST_F(UIImageKPEncodingTest, CompressedImagesAreDecodedAtScaleOneWithTheirOrientation) {
  for (auto o : {ios::UIImageOrientation::up, ios::UIImageOrientation::right, ios::UIImageOrientation::downMirrored}) {
    const UIImage image = photo(2, o);
    const UIImage small = kp::compressTo(image, 1 << 30);
    EXPECT_EQ(small.scale(), 1);
    EXPECT_EQ(small.imageOrientation(), o);
    // Scale 1: the point size is the pixel size, twice the receiver's point size.
    EXPECT_EQ(small.size().width, 2 * image.size().width);
    EXPECT_EQ(small.size().height, 2 * image.size().height);
  }
}

TEST_F(UIImageKPEncodingTest, ProgressiveImage) {
  const UIImage image = photo(3, ios::UIImageOrientation::left);
  auto data = kp::imaging_internal::progressiveJPEG(image);
  ASSERT_TRUE(data);
  auto properties = ios::CGImageSourceCopyPropertiesAtIndex(ios::CGImageSourceCreateWithData(*data), 0);
  ASSERT_TRUE(properties);
  EXPECT_TRUE(properties->isProgressive);
  EXPECT_EQ(properties->densityUnit, 1);
  EXPECT_EQ(properties->xDensity, 72);
  EXPECT_EQ(properties->yDensity, 72);
  auto again = kp::kp_progressiveImage(image);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->scale(), 1);
  EXPECT_EQ(again->imageOrientation(), ios::UIImageOrientation::left);
  // Progressive scans hold the same coefficients as one baseline scan at that quality.
  auto baseline = UIImage::fromData(*ios::UIImageJPEGRepresentation(image, 0.9));
  for (std::size_t x : {0u, 31u, 63u}) {
    EXPECT_EQ(kp_test::pixelAt(*again->cgImage(), x, 20), kp_test::pixelAt(*baseline->cgImage(), x, 20)) << x;
  }
  EXPECT_FALSE(kp::kp_progressiveImage(UIImage()));
  ios::testing::failNextJPEGEncode();
  EXPECT_FALSE(kp::kp_progressiveImage(image));
}

}  // namespace
