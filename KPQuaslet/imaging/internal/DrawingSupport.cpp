#include "KPQuaslet/imaging/internal/DrawingSupport.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/UIGraphics.h"

namespace kp::imaging_internal {

ImageContext::ImageContext(ios::CGSize size, bool opaque, ios::CGFloat scale) {
  ios::UIGraphicsBeginImageContextWithOptions(size, opaque, scale);
  context_ = ios::UIGraphicsGetCurrentContext();
}

ImageContext::~ImageContext() { ios::UIGraphicsEndImageContext(); }

std::optional<ios::UIImage> ImageContext::image() const { return ios::UIGraphicsGetImageFromCurrentImageContext(); }

bool isTurned(ios::UIImageOrientation o) {
  using O = ios::UIImageOrientation;
  return o == O::left || o == O::right || o == O::leftMirrored || o == O::rightMirrored;
}

ios::CGContextRef contextLike(const ios::CGImage& image, std::size_t width, std::size_t height) {
  auto context = ios::CGContext::make(nullptr, width, height, image.bitsPerComponent(), 0, image.colorSpace(),
                                      image.bitmapInfo());
  if (context) return context;
  return ios::CGContext::make(nullptr, width, height, 8, 0, ios::CGColorSpaceCreateDeviceRGB(),
                              ios::kCGImageAlphaPremultipliedLast);
}

ios::CGImageRef uprightBitmap(const ios::UIImage& image) {
  if (!image.cgImage() || image.imageOrientation() == ios::UIImageOrientation::up) return image.cgImage();
  const ios::CGSize size = image.size();
  ImageContext context(size, false, image.scale());
  if (!context) return nullptr;
  image.draw(ios::CGRect{{0, 0}, size});
  auto drawn = context.image();
  return drawn ? drawn->cgImage() : nullptr;
}

ios::UIColor colorFromPremultiplied(std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                                   std::uint32_t alpha) {
  if (alpha == 0) return ios::UIColor::colorWithRed(0, 0, 0, 0);
  auto straight = [alpha](std::uint32_t c) { return std::min(1.0, static_cast<double>(c) / alpha); };
  return ios::UIColor::colorWithRed(straight(red), straight(green), straight(blue), alpha / 255.0);
}

std::optional<std::int64_t> truncated(double value) {
  // 2^63 is the first double above the largest 64-bit integer.
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

}  // namespace kp::imaging_internal
