// Files that declare more pixels than they hold: the decoders refuse the ones above the
// documented limit before allocating, and still read their headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/imageio/ImageIO.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

enum class Format { jpeg, png };

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (count - 1 - i)));
}

// A small image's file with its header rewritten to claim `width` × `height` pixels;
// the compressed data stays that of the 16 × 16 original.
std::vector<std::uint8_t> claimingSize(Format format, std::uint32_t width, std::uint32_t height) {
  const ios::UIImage small = kp_test::makeImage(16, 16, kp_test::distinctPixel);
  std::vector<std::uint8_t> file = format == Format::jpeg ? *ios::UIImageJPEGRepresentation(small, 0.9)
                                                          : *ios::UIImagePNGRepresentation(small);
  if (format == Format::jpeg) {
    // The start-of-frame segment: FF C0, length, precision, height, width.
    for (std::size_t i = 2; i + 9 < file.size(); ++i) {
      if (file[i] == 0xFF && file[i + 1] == 0xC0) {
        putBigEndian(file, i + 5, height, 2);
        putBigEndian(file, i + 7, width, 2);
        return file;
      }
    }
    ADD_FAILURE() << "no start of frame";
  } else {
    // Signature, then IHDR: length, "IHDR", width, height, ..., CRC over type and data.
    putBigEndian(file, 16, width, 4);
    putBigEndian(file, 20, height, 4);
    putBigEndian(file, 29, crc32(file.data() + 12, 17), 4);
  }
  return file;
}

struct Claim {
  const char* name;
  Format format;
  std::uint32_t width, height;
};

constexpr Claim kTooLarge[] = {
    {"JPEG 32767 x 32767", Format::jpeg, 32767, 32767},
    {"JPEG 16384 x 8192", Format::jpeg, 16384, 8192},
    {"JPEG one pixel past the limit", Format::jpeg, 8193, 8192},
    {"JPEG wider than a bitmap can be", Format::jpeg, 40000, 16},
    {"PNG 32767 x 32767", Format::png, 32767, 32767},
    {"PNG 16384 x 8192", Format::png, 16384, 8192},
    {"PNG wider than a bitmap can be", Format::png, 40000, 16},
};

TEST(ImageDecodingLimits, ImagesAboveThePixelLimitAreRefusedButKeepTheirHeaders) {
  kp_test::TemporaryDirectory dir;
  for (const Claim& claim : kTooLarge) {
    SCOPED_TRACE(claim.name);
    const std::vector<std::uint8_t> file = claimingSize(claim.format, claim.width, claim.height);
    const auto source = ios::CGImageSourceCreateWithData(file);
    ASSERT_TRUE(source);
    EXPECT_FALSE(ios::CGImageSourceCreateImageAtIndex(source, 0));
    const auto properties = ios::CGImageSourceCopyPropertiesAtIndex(source, 0);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->pixelWidth, claim.width);
    EXPECT_EQ(properties->pixelHeight, claim.height);
    EXPECT_FALSE(ios::UIImage::fromData(file));
    const std::string path = dir.path() + "/claim";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
    EXPECT_FALSE(ios::UIImage::fromFile(path));
  }
}

TEST(ImageDecodingLimits, AnImageAtTheLimitDecodes) {
  // 8192 × 8192 is exactly the limit; the missing data decodes as grey.
  static_assert(std::size_t{8192} * 8192 == ios::kMaximumImagePixelCount);
  const auto image = ios::UIImage::fromData(claimingSize(Format::jpeg, 8192, 8192));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->cgImage()->width(), 8192u);
  EXPECT_EQ(image->cgImage()->height(), 8192u);
}

TEST(ImageDecodingLimits, PNGPropertiesComeFromTheHeaderAlone) {
  // A file cut off where its pixel data begins: no image, but a size.
  std::vector<std::uint8_t> file = claimingSize(Format::png, 20, 10);
  const std::string_view idat = "IDAT";
  const auto at = std::search(file.begin(), file.end(), idat.begin(), idat.end());
  ASSERT_NE(at, file.end());
  file.erase(at + 6, file.end());
  const auto source = ios::CGImageSourceCreateWithData(file);
  ASSERT_TRUE(source);
  EXPECT_FALSE(ios::CGImageSourceCreateImageAtIndex(source, 0));
  const auto properties = ios::CGImageSourceCopyPropertiesAtIndex(source, 0);
  ASSERT_TRUE(properties);
  EXPECT_EQ(properties->pixelWidth, 20u);
  EXPECT_EQ(properties->pixelHeight, 10u);
  EXPECT_EQ(properties->orientation, 1);
}

}  // namespace
