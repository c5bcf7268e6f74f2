// File: KPQuaslet/imaging/internal/DrawingSupport.h
//
// What the image extensions share: an image context that is always ended, bitmaps in
// an image's own pixel layout, the upright bitmap of a turned image, and colours read
// back from premultiplied bytes.
//
//   kp::imaging_internal::ImageContext context(size, false, 0);
//   if (!context) return fallback;
//   image.draw({{0, 0}, size});
//   return context.image().value_or(fallback);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp::imaging_internal {

// A UIKit image context that lives as long as this object: begun on construction,
// ended on destruction, whatever path the caller leaves by.
class ImageContext {
 public:
  ImageContext(ios::CGSize size, bool opaque, ios::CGFloat scale);
  ~ImageContext();
  ImageContext(const ImageContext&) = delete;
  ImageContext& operator=(const ImageContext&) = delete;

  // Whether the context could be made (there is a current context to draw in).
  explicit operator bool() const { return context_ != nullptr; }
  ios::CGContext* operator->() const { return context_.get(); }
  // The image drawn so far, at the context's scale.
  [[nodiscard]] std::optional<ios::UIImage> image() const;

 private:
  ios::CGContextRef context_;
};

// True for the orientations that show the bitmap turned by a quarter.
[[nodiscard]] bool isTurned(ios::UIImageOrientation orientation);

// A bitmap context of `width` × `height` pixels in the layout of `image`, or, when that
// layout cannot be drawn into (straight alpha, 24-bit RGB), in R,G,B,A premultiplied.
// Null when no context of that size can be made.
[[nodiscard]] ios::CGContextRef contextLike(const ios::CGImage& image, std::size_t width, std::size_t height);

// The bitmap of `image` as it shows (its orientation applied), at its pixel size; its
// own bitmap when it is up. Null without a bitmap.
[[nodiscard]] ios::CGImageRef uprightBitmap(const ios::UIImage& image);

// The colour of premultiplied 8-bit components: each colour byte divided by alpha, and
// alpha/255; transparent black when alpha is 0.
[[nodiscard]] ios::UIColor colorFromPremultiplied(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                                  std::uint32_t alpha);

// Checked conversion to a whole number: the value truncated toward zero, or nothing
// when it is not finite or does not fit in 64 bits.
[[nodiscard]] std::optional<std::int64_t> truncated(double value);

}  // namespace kp::imaging_internal
