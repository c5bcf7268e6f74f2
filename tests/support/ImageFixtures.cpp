#include "tests/support/ImageFixtures.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace kp_test {

ios::CGImageRef makeBGRAImage(std::size_t w, std::size_t h,
                              const std::function<Rgba(std::size_t, std::size_t)>& pixel) {
  std::vector<std::uint8_t> bytes(w * h * 4);
  for (std::size_t y = 0; y < h; ++y) {
    for (std::size_t x = 0; x < w; ++x) {
      const Rgba c = pixel(x, y);
      std::uint8_t* p = &bytes[(y * w + x) * 4];
      p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = c.a;
    }
  }
  return ios::CGImage::make(w, h, 8, 32, w * 4, ios::CGColorSpaceCreateDeviceRGB(),
                            ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little, std::move(bytes));
}

ios::UIImage makeImage(std::size_t w, std::size_t h, const std::function<Rgba(std::size_t, std::size_t)>& pixel,
                       double scale) {
  return ios::UIImage(makeBGRAImage(w, h, pixel), scale, ios::UIImageOrientation::up);
}

Rgba pixelAt(const ios::CGImage& image, std::size_t x, std::size_t y) {
  const auto bytes = image.dataProvider()->bytes();
  if (image.bitsPerPixel() != 32) throw std::invalid_argument("pixelAt reads 32-bit layouts only");
  const std::uint8_t* p = bytes.data() + y * image.bytesPerRow() + x * 4;
  const auto alpha = image.alphaInfo();
  const bool little = (image.bitmapInfo() & ios::kCGBitmapByteOrderMask) == ios::kCGBitmapByteOrder32Little;
  std::uint8_t q[4] = {p[0], p[1], p[2], p[3]};
  if (little) q[0] = p[3], q[1] = p[2], q[2] = p[1], q[3] = p[0];
  const bool alphaFirst = alpha == ios::CGImageAlphaInfo::premultipliedFirst || alpha == ios::CGImageAlphaInfo::first ||
                          alpha == ios::CGImageAlphaInfo::noneSkipFirst;
  const bool skip = alpha == ios::CGImageAlphaInfo::noneSkipFirst || alpha == ios::CGImageAlphaInfo::noneSkipLast;
  Rgba c = alphaFirst ? Rgba{q[1], q[2], q[3], q[0]} : Rgba{q[0], q[1], q[2], q[3]};
  if (skip) c.a = 255;
  return c;
}

Rgba shownPixel(const ios::UIImage& image, std::size_t x, std::size_t y) {
  const ios::CGImage& bitmap = *image.cgImage();
  const std::size_t w = bitmap.width(), h = bitmap.height();
  using O = ios::UIImageOrientation;
  switch (image.imageOrientation()) {
    case O::up: return pixelAt(bitmap, x, y);
    case O::down: return pixelAt(bitmap, w - 1 - x, h - 1 - y);
    case O::left: return pixelAt(bitmap, w - 1 - y, x);
    case O::right: return pixelAt(bitmap, y, h - 1 - x);
    case O::upMirrored: return pixelAt(bitmap, w - 1 - x, y);
    case O::downMirrored: return pixelAt(bitmap, x, h - 1 - y);
    case O::leftMirrored: return pixelAt(bitmap, y, x);
    case O::rightMirrored: return pixelAt(bitmap, w - 1 - y, h - 1 - x);
  }
  return {};
}

Rgba distinctPixel(std::size_t x, std::size_t y) {
  return Rgba{static_cast<std::uint8_t>(5 * x), static_cast<std::uint8_t>(5 * y), 200, 255};
}

bool near(Rgba a, Rgba b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance &&
         std::abs(a.a - b.a) <= tolerance;
}

}  // namespace kp_test
