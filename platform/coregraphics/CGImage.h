// File: platform/coregraphics/CGImage.h
//
// Bitmap images: the pixel layout (bits per pixel, colour space, alpha and byte order),
// the bytes behind a data provider, and cropping.
//
//   auto image = ios::CGImage::make(2, 1, 8, 32, 8, ios::CGColorSpaceCreateDeviceRGB(),
//       ios::kCGImageAlphaPremultipliedLast, {255, 0, 0, 255, 0, 0, 255, 255});
//   ios::CGDataProviderCopyData(image->dataProvider())->size();      // 8
//
// Fidelity: 8 bits a component only. The layouts kept are 32-bit RGB with any alpha
// placement (premultiplied, straight or skipped, first or last) in the default
// (big-endian) or 32-bit little-endian byte order; 24-bit RGB without alpha; 8-bit grey;
// 8-bit alpha only (no colour space). Rows may be padded. Images are immutable and shared
// (CGImageRef); their bytes are never copied between images that share them. Decode
// arrays, rendering intents and masks made with CGImageMaskCreate are absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/coregraphics/CGColorSpace.h"
#include "platform/coregraphics/CGGeometry.h"

namespace ios {

// Where a pixel keeps its alpha, in the low five bits of a CGBitmapInfo.
enum class CGImageAlphaInfo : std::uint32_t {
  none = 0,
  premultipliedLast = 1,
  premultipliedFirst = 2,
  last = 3,
  first = 4,
  noneSkipLast = 5,
  noneSkipFirst = 6,
  alphaOnly = 7,
};

// A bitmap's alpha info or'ed with its byte order.
using CGBitmapInfo = std::uint32_t;

inline constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
inline constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;
inline constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 2 << 12;
inline constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 4 << 12;

inline constexpr CGBitmapInfo kCGImageAlphaNone = 0;
inline constexpr CGBitmapInfo kCGImageAlphaPremultipliedLast = 1;
inline constexpr CGBitmapInfo kCGImageAlphaPremultipliedFirst = 2;
inline constexpr CGBitmapInfo kCGImageAlphaLast = 3;
inline constexpr CGBitmapInfo kCGImageAlphaFirst = 4;
inline constexpr CGBitmapInfo kCGImageAlphaNoneSkipLast = 5;
inline constexpr CGBitmapInfo kCGImageAlphaNoneSkipFirst = 6;
inline constexpr CGBitmapInfo kCGImageAlphaOnly = 7;

// The bytes behind an image, shared and never changed.
class CGDataProvider {
 public:
  explicit CGDataProvider(std::vector<std::uint8_t> bytes)
      : bytes_(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes))) {}

  // The bytes without a copy (the stand-in's own access; callers copy with
  // CGDataProviderCopyData()).
  [[nodiscard]] std::span<const std::uint8_t> bytes() const { return *bytes_; }

 private:
  std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
};

using CGDataProviderRef = std::shared_ptr<const CGDataProvider>;

// CGDataProviderCopyData()
//
// A copy of the provider's bytes; nothing for a null provider (or when a test made the
// copy fail through ios::testing::failNextDataProviderCopy()).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> CGDataProviderCopyData(const CGDataProviderRef& provider);

class CGImage;
using CGImageRef = std::shared_ptr<const CGImage>;

class CGImage {
 public:
  // make()
  //
  // An image over `bytes`, or null when the layout is not one of those kept (see the
  // top of this file), a size is 0, `bytesPerRow` is shorter than a row, or `bytes` is
  // shorter than bytesPerRow × height. `space` is empty only for alpha-only images.
  [[nodiscard]] static CGImageRef make(std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                                       std::size_t bitsPerPixel, std::size_t bytesPerRow,
                                       std::optional<CGColorSpace> space, CGBitmapInfo bitmapInfo,
                                       std::vector<std::uint8_t> bytes);

  [[nodiscard]] std::size_t width() const { return width_; }
  [[nodiscard]] std::size_t height() const { return height_; }
  [[nodiscard]] std::size_t bitsPerComponent() const { return 8; }
  [[nodiscard]] std::size_t bitsPerPixel() const { return bitsPerPixel_; }
  [[nodiscard]] std::size_t bytesPerRow() const { return bytesPerRow_; }
  [[nodiscard]] std::optional<CGColorSpace> colorSpace() const { return space_; }
  [[nodiscard]] CGBitmapInfo bitmapInfo() const { return bitmapInfo_; }
  [[nodiscard]] CGImageAlphaInfo alphaInfo() const {
    return static_cast<CGImageAlphaInfo>(bitmapInfo_ & kCGBitmapAlphaInfoMask);
  }
  [[nodiscard]] const CGDataProviderRef& dataProvider() const { return provider_; }

  // cropping()
  //
  // The part of the image inside `rect` (pixels, origin at the top-left corner), with
  // the same layout. The rect is first made integral (origin floored, far edges
  // ceiled) and intersected with the image; null when nothing is left.
  [[nodiscard]] CGImageRef cropping(CGRect rect) const;

 private:
  CGImage() = default;

  std::size_t width_ = 0, height_ = 0, bitsPerPixel_ = 0, bytesPerRow_ = 0;
  std::optional<CGColorSpace> space_;
  CGBitmapInfo bitmapInfo_ = 0;
  CGDataProviderRef provider_;
};

namespace testing {

// Makes the next `count` calls of CGDataProviderCopyData() answer nothing.
void failNextDataProviderCopy(int count = 1);
void resetDataProviderFailures();

}  // namespace testing
}  // namespace ios
