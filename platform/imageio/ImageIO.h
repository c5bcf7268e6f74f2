// File: platform/imageio/ImageIO.h
//
// Reading and writing image files: JPEG (libjpeg-turbo) and PNG (libpng).
//
//   auto data = std::make_shared<std::vector<std::uint8_t>>();
//   auto dest = ios::CGImageDestinationCreateWithData(data, ios::kUTTypeJPEG, 1);
//   ios::CGImageDestinationProperties props;
//   props.lossyCompressionQuality = 0.9;
//   props.isProgressive = true;
//   ios::CGImageDestinationAddImage(dest, image, props);
//   ios::CGImageDestinationFinalize(dest);                 // *data is now a JPEG file
//
// Fidelity: one image a file; the destination's properties are a struct instead of a
// dictionary (quality, progressive, JFIF density). JPEG images are written from their
// colour as it would show over black (alpha dropped) and read as R,G,B,X; PNG images are
// written and read as R,G,B,A with straight alpha. Of the metadata only the orientation
// is kept, and only in JPEG files (an EXIF block with the one orientation tag); colour
// profiles and other EXIF fields are neither written nor read. Other formats are absent.
// Images larger than kMaximumImagePixelCount (below) are not decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"

namespace ios {

inline constexpr std::string_view kUTTypeJPEG = "public.jpeg";
inline constexpr std::string_view kUTTypePNG = "public.png";

// kMaximumImagePixelCount
//
// The most pixels an image read from a file may have: 2^26 (67,108,864, such as
// 8192 × 8192; a 48-megapixel camera photo fits), 256 MB once decoded to 32-bit pixels.
// A file states its pixel size in a few header bytes and the pixels are allocated from
// that statement before any of them is read, so without a limit a file of a few hundred
// bytes that claims 32767 × 32767 pixels costs gigabytes. An image above the limit, or
// wider or taller than 32767 pixels (the most a bitmap context can draw), is refused
// before anything is allocated for it: CGImageSourceCreateImageAtIndex() answers null,
// while its header properties can still be read. The video reader (AVAsset.h) holds
// its frames to the same limit.
inline constexpr std::size_t kMaximumImagePixelCount = std::size_t{1} << 26;

// What CGImageDestinationAddImage() is asked to write.
struct CGImageDestinationProperties {
  // 0...1 (clamped); JPEG only. Without it the quality is 0.75.
  std::optional<CGFloat> lossyCompressionQuality;
  // JPEG only: progressive scans instead of one baseline scan.
  bool isProgressive = false;
  // JPEG only: the JFIF density (unit 0: aspect only, 1: dots an inch, 2: a centimetre).
  std::optional<int> xDensity, yDensity, densityUnit;
  // JPEG only: the EXIF orientation (kCGImagePropertyOrientation, 1...8; 1 is upright).
  // Without it, or outside 1...8, no EXIF block is written.
  std::optional<int> orientation;
};

// What CGImageSourceCopyPropertiesAtIndex() reads from a file's headers.
struct CGImageSourceProperties {
  std::size_t pixelWidth = 0, pixelHeight = 0;
  // The EXIF orientation, 1...8 (1 when the file has none or an unknown value).
  int orientation = 1;
  // JPEG only: progressive scans, and the JFIF density (unit 0, 1 or 2) when written.
  bool isProgressive = false;
  std::optional<int> xDensity, yDensity, densityUnit;
};

class CGImageDestination;
using CGImageDestinationRef = std::shared_ptr<CGImageDestination>;

// CGImageDestinationCreateWithData()
//
// A destination that writes a file of `type` into `data` when finalised; null for a
// type other than JPEG or PNG, a count other than 1, or no data.
[[nodiscard]] CGImageDestinationRef CGImageDestinationCreateWithData(std::shared_ptr<std::vector<std::uint8_t>> data,
                                                                     std::string_view type, std::size_t count);

// CGImageDestinationAddImage()
//
// Sets the image to write (a second call replaces the first).
void CGImageDestinationAddImage(const CGImageDestinationRef& destination, CGImageRef image,
                                const CGImageDestinationProperties& properties);

// CGImageDestinationFinalize()
//
// Encodes the image into the data; false (and the data unchanged) when there is no
// destination or image, or encoding fails.
[[nodiscard]] bool CGImageDestinationFinalize(const CGImageDestinationRef& destination);

class CGImageSource;
using CGImageSourceRef = std::shared_ptr<const CGImageSource>;

// CGImageSourceCreateWithData()
//
// A source over a copy of `data`; null when it is neither a JPEG nor a PNG file.
[[nodiscard]] CGImageSourceRef CGImageSourceCreateWithData(std::span<const std::uint8_t> data);

// CGImageSourceCreateImageAtIndex()
//
// The decoded image at `index` (only 0 exists); null when decoding fails or the image
// is larger than kMaximumImagePixelCount allows.
[[nodiscard]] CGImageRef CGImageSourceCreateImageAtIndex(const CGImageSourceRef& source, std::size_t index);

// CGImageSourceCopyPropertiesAtIndex()
//
// The size, orientation and JPEG details of the image at `index` (only 0 exists), read
// from the headers alone (the pixels are not decoded, so an image too large to decode
// still reports its size); nothing when the headers cannot be read.
[[nodiscard]] std::optional<CGImageSourceProperties> CGImageSourceCopyPropertiesAtIndex(
    const CGImageSourceRef& source, std::size_t index);

namespace testing {

// The number of JPEG files encoded since the last reset (every finalised JPEG
// destination counts, also one whose encoding failed).
[[nodiscard]] std::size_t jpegEncodeCount();
// Makes the next `count` JPEG encodings fail.
void failNextJPEGEncode(int count = 1);
void resetImageIO();

}  // namespace testing

}  // namespace ios
