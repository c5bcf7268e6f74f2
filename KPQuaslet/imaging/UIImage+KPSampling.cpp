#include "KPQuaslet/imaging/UIImage+KPSampling.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "platform/dispatch/DispatchQueue.h"

namespace kp {

using ios::CGFloat;
using ios::UIColor;

namespace {

// One pixel of `bytesPerPixel` bytes in the layout `info` of `space` as a colour.
std::optional<UIColor> decodePixel(const std::uint8_t* p, std::size_t bytesPerPixel,
                                   std::optional<ios::CGColorSpace> space, ios::CGBitmapInfo info) {
  const auto alphaInfo = static_cast<ios::CGImageAlphaInfo>(info & ios::kCGBitmapAlphaInfoMask);
  switch (bytesPerPixel) {
    case 1:
      if (!space) return UIColor::colorWithRed(0, 0, 0, p[0] / 255.0);
      return UIColor::colorWithRed(p[0] / 255.0, p[0] / 255.0, p[0] / 255.0, 1);
    case 3: return UIColor::colorWithRed(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, 1);
    case 4: break;
    default: return std::nullopt;
  }
  using A = ios::CGImageAlphaInfo;
  const bool first = alphaInfo == A::premultipliedFirst || alphaInfo == A::first || alphaInfo == A::noneSkipFirst;
  const bool skip = alphaInfo == A::noneSkipFirst || alphaInfo == A::noneSkipLast || alphaInfo == A::none;
  const bool premultiplied = alphaInfo == A::premultipliedFirst || alphaInfo == A::premultipliedLast;
  // Offsets in big-endian order, mirrored for 32-bit little-endian words.
  int a = first ? 0 : 3, r = first ? 1 : 0, g = r + 1, b = r + 2;
  if ((info & ios::kCGBitmapByteOrderMask) == ios::kCGBitmapByteOrder32Little) a = 3 - a, r = 3 - r, g = 3 - g, b = 3 - b;
  const std::uint32_t alpha = skip ? 255 : p[a];
  if (premultiplied) return imaging_internal::colorFromPremultiplied(p[r], p[g], p[b], alpha);
  return UIColor::colorWithRed(p[r] / 255.0, p[g] / 255.0, p[b] / 255.0, alpha / 255.0);
}

// The stored pixel (x, y) of `bitmap`, whose bytes are `data`, rows bytesPerRow apart;
// nothing when it lies outside them.
std::optional<UIColor> storedPixel(const ios::CGImage& bitmap, const std::vector<std::uint8_t>& data, std::size_t x,
                                   std::size_t y) {
  const std::size_t bytesPerPixel = bitmap.bitsPerPixel() / 8;
  if (x >= bitmap.width() || y >= bitmap.height() || bytesPerPixel == 0) return std::nullopt;
  const std::size_t index = y * bitmap.bytesPerRow() + x * bytesPerPixel;
  if (index + bytesPerPixel > data.size()) return std::nullopt;
  return decodePixel(data.data() + index, bytesPerPixel, bitmap.colorSpace(), bitmap.bitmapInfo());
}

bool inside(ios::CGSize size, ios::CGPoint point) {
  return point.x >= 0 && point.x < size.width && point.y >= 0 && point.y < size.height;
}

// The colour at `point` of a bitmap read as `size` pixels, packed; nothing when its bytes
// are not exactly that many whole pixels or the point lies outside.
std::optional<UIColor> pixelOfPointSizedBitmap(const ios::CGImageRef& bitmap, ios::CGSize size, ios::CGPoint point) {
  if (!bitmap || !inside(size, point)) return std::nullopt;
  const auto width = imaging_internal::truncated(size.width);
  const auto count = imaging_internal::truncated(size.width * size.height);
  if (!width || !count || *width == 0) return std::nullopt;
  const auto data = ios::CGDataProviderCopyData(bitmap->dataProvider());
  if (!data) return std::nullopt;
  const std::size_t bytesPerPixel = bitmap->bitsPerPixel() / 8;
  if (static_cast<std::uint64_t>(*count) * bytesPerPixel != data->size()) return std::nullopt;
  // Rows of the point width, packed.
  const std::size_t index =
      (static_cast<std::size_t>(*width) * static_cast<std::size_t>(point.y) + static_cast<std::size_t>(point.x)) *
      bytesPerPixel;
  if (index + bytesPerPixel > data->size()) return std::nullopt;
  return decodePixel(data->data() + index, bytesPerPixel, bitmap->colorSpace(), bitmap->bitmapInfo());
}

// The colour of the pixel under `point` of the image as it shows (its scale and
// orientation applied); nothing when the point lies outside or there is no bitmap.
std::optional<UIColor> pixelUnderPoint(const ios::UIImage& image, ios::CGPoint point) {
  if (!inside(image.size(), point)) return std::nullopt;
  const ios::CGImageRef upright = imaging_internal::uprightBitmap(image);
  if (!upright) return std::nullopt;
  const auto data = ios::CGDataProviderCopyData(upright->dataProvider());
  if (!data) return std::nullopt;
  // The point's pixel, kept inside the bitmap where a fractional size rounds.
  const auto column = std::min(static_cast<std::size_t>(point.x * image.scale()), upright->width() - 1);
  const auto row = std::min(static_cast<std::size_t>(point.y * image.scale()), upright->height() - 1);
  return storedPixel(*upright, *data, column, row);
}

// The bitmap averaged into one R,G,B,A premultiplied pixel of a bitmap context over
// `buffer` (or its own bytes), read back as a colour.
std::optional<UIColor> onePixelMean(const ios::UIImage& image, void* buffer, ios::CGBitmapInfo info) {
  if (!image.cgImage()) return std::nullopt;
  auto context = ios::CGContext::make(buffer, 1, 1, 8, 4, ios::CGColorSpaceCreateDeviceRGB(), info);
  if (!context) return std::nullopt;
  context->draw(*image.cgImage(), ios::CGRect{{0, 0}, {1, 1}});
  return decodePixel(static_cast<const std::uint8_t*>(context->data()), 4, context->colorSpace(), info);
}

}  // namespace

UIColor color(const ios::UIImage& image, ios::CGPoint point) {
  return pixelOfPointSizedBitmap(image.cgImage(), image.size(), point).value_or(UIColor::clear());
}

void color(const ios::UIImage& image, ios::CGPoint point, std::function<void(std::optional<UIColor>)> completion) {
  ios::DispatchQueue::global(ios::DispatchQoS::userInteractive)
      .async([image, point, completion = std::move(completion)] {
        auto found = pixelUnderPoint(image, point);
        if (!found) {
          completion(std::nullopt);
          return;
        }
        ios::DispatchQueue::main().async([completion, found] { completion(found); });
      });
}

UIColor kp_avarageColor(const ios::UIImage& image) {
  std::array<std::uint8_t, 4> pixel{};
  const std::optional<UIColor> mean = onePixelMean(image, pixel.data(), ios::kCGImageAlphaPremultipliedLast);
  if (!mean) return UIColor::colorWithRed(0, 0, 0, 0);
  // A zero alpha byte reads as alpha 1, over the colour bytes as they stand.
  if (pixel[3] == 0) return UIColor::colorWithRed(pixel[0] / 255.0, pixel[1] / 255.0, pixel[2] / 255.0, 1);
  return *mean;
}

std::optional<UIColor> averageColor(const ios::UIImage& image) {
  return onePixelMean(image, nullptr, ios::kCGImageAlphaPremultipliedLast | ios::kCGBitmapByteOrder32Big);
}

std::optional<UIColor> mergedColor(const ios::UIImage& image) {
  imaging_internal::ImageContext context({1, 1}, false, 1);
  if (!context || !context->data()) return std::nullopt;
  context->setInterpolationQuality(ios::CGInterpolationQuality::medium);
  image.draw(ios::CGRect{{0, 0}, {1, 1}}, ios::CGBlendMode::copy, 1);
  return decodePixel(static_cast<const std::uint8_t*>(context->data()), 4, context->colorSpace(),
                     context->bitmapInfo());
}

}  // namespace kp
