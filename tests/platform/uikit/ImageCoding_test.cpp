#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/imageio/ImageIO.h"
#include "platform/imageio/internal/Codecs.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::UIImage;
using kp_test::Rgba;

UIImage quadrants() {
  return kp_test::makeImage(16, 16, [](std::size_t x, std::size_t y) {
    if (y < 8) return x < 8 ? kp_test::kRed : kp_test::kGreen;
    return x < 8 ? kp_test::kBlue : kp_test::kWhite;
  });
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
  EXPECT_TRUE(kp_test::near(kp_test::pixelAt(*decoded->cgImage(), 2, 2), kp_test::kRed, 8));
  EXPECT_TRUE(kp_test::near(kp_test::pixelAt(*decoded->cgImage(), 13, 13), kp_test::kWhite, 8));
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

TEST(ImageCoding, ImageFromAFile) {
  kp_test::TemporaryDirectory folder;
  const std::string path = folder.path() + "/quadrants.png";
  const auto data = ios::UIImagePNGRepresentation(quadrants());
  ASSERT_TRUE(data);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data->data()),
                                              static_cast<std::streamsize>(data->size()));
  const auto read = UIImage::fromFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), ios::CGSize(16, 16));
  EXPECT_EQ(kp_test::pixelAt(*read->cgImage(), 12, 12), kp_test::kWhite);
  std::ofstream(folder.path() + "/notes.txt") << "not an image";
  for (const std::string& bad : {folder.path() + "/missing.png", folder.path(), folder.path() + "/notes.txt"}) {
    EXPECT_FALSE(UIImage::fromFile(bad)) << bad;
  }
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

TEST(ImageCoding, JPEGKeepsTheOrientationInExif) {
  using O = ios::UIImageOrientation;
  const struct {
    O orientation;
    int exif;
  } rows[] = {{O::up, 1},         {O::down, 3},         {O::left, 8},         {O::right, 6},
              {O::upMirrored, 2}, {O::downMirrored, 4}, {O::leftMirrored, 5}, {O::rightMirrored, 7}};
  for (const auto& row : rows) {
    const UIImage image(quadrants().cgImage(), 2, row.orientation);
    auto data = ios::UIImageJPEGRepresentation(image, 0.9);
    ASSERT_TRUE(data);
    EXPECT_EQ(hasMarker(*data, 0xE1), row.orientation != O::up) << row.exif;
    auto properties = ios::CGImageSourceCopyPropertiesAtIndex(ios::CGImageSourceCreateWithData(*data), 0);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->orientation, row.exif);
    EXPECT_EQ(properties->pixelWidth, 16u);
    EXPECT_FALSE(properties->isProgressive);
    auto decoded = UIImage::fromData(*data, 2);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->imageOrientation(), row.orientation) << row.exif;
  }
}

TEST(ImageCoding, ExifReaderRefusesMalformedBlocks) {
  // Little-endian TIFF, one SHORT orientation entry of value 6.
  const std::vector<std::uint8_t> good = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0};
  EXPECT_EQ(ios::imageio_internal::exifOrientation(good), 6);
  auto bad = good;
  bad[18] = 9;  // no such orientation
  EXPECT_EQ(ios::imageio_internal::exifOrientation(bad), std::nullopt);
  bad = good;
  bad[4] = 200;  // IFD beyond the block
  EXPECT_EQ(ios::imageio_internal::exifOrientation(bad), std::nullopt);
  bad = good;
  bad[8] = 0xFF;  // more entries than bytes
  EXPECT_EQ(ios::imageio_internal::exifOrientation(bad), std::nullopt);
  bad = good;
  bad[0] = 'X';
  EXPECT_EQ(ios::imageio_internal::exifOrientation(bad), std::nullopt);
  EXPECT_EQ(ios::imageio_internal::exifOrientation(std::vector<std::uint8_t>(good.begin(), good.begin() + 6)),
            std::nullopt);
}

TEST(ImageCoding, EncodeCounterAndInjectedFailures) {
  ios::testing::resetImageIO();
  (void)ios::UIImageJPEGRepresentation(quadrants(), 0.5);
  ios::testing::failNextJPEGEncode();
  EXPECT_FALSE(ios::UIImageJPEGRepresentation(quadrants(), 0.5));
  EXPECT_TRUE(ios::UIImageJPEGRepresentation(quadrants(), 0.5));
  EXPECT_EQ(ios::testing::jpegEncodeCount(), 3u);
  (void)ios::UIImagePNGRepresentation(quadrants());
  EXPECT_EQ(ios::testing::jpegEncodeCount(), 3u);
  ios::testing::resetImageIO();
  EXPECT_EQ(ios::testing::jpegEncodeCount(), 0u);
}

}  // namespace
