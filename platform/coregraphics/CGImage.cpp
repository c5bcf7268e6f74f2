#include "platform/coregraphics/CGImage.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/coregraphics/internal/PixelFormat.h"

namespace ios {
namespace {

std::atomic<int>& pendingCopyFailures() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> CGDataProviderCopyData(const CGDataProviderRef& provider) {
  if (!provider) return std::nullopt;
  int pending = pendingCopyFailures().load();
  while (pending > 0) {
    if (pendingCopyFailures().compare_exchange_weak(pending, pending - 1)) return std::nullopt;
  }
  auto bytes = provider->bytes();
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

CGImageRef CGImage::make(std::size_t width, std::size_t height, std::size_t bitsPerComponent,
                         std::size_t bitsPerPixel, std::size_t bytesPerRow, std::optional<CGColorSpace> space,
                         CGBitmapInfo bitmapInfo, std::vector<std::uint8_t> bytes) {
  if (width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
  const auto layout = cg_internal::layoutFor(bitsPerPixel, space, bitmapInfo);
  if (!layout) return nullptr;
  if (width > SIZE_MAX / static_cast<std::size_t>(layout->bytesPerPixel)) return nullptr;
  if (bytesPerRow < width * static_cast<std::size_t>(layout->bytesPerPixel)) return nullptr;
  if (height > SIZE_MAX / bytesPerRow || bytes.size() < bytesPerRow * height) return nullptr;
  auto image = std::shared_ptr<CGImage>(new CGImage());
  image->width_ = width;
  image->height_ = height;
  image->bitsPerPixel_ = bitsPerPixel;
  image->bytesPerRow_ = bytesPerRow;
  image->space_ = space;
  image->bitmapInfo_ = bitmapInfo;
  image->provider_ = std::make_shared<const CGDataProvider>(std::move(bytes));
  return image;
}

CGImageRef CGImage::cropping(CGRect rect) const {
  const double x0 = std::floor(std::min(rect.origin.x, rect.origin.x + rect.size.width));
  const double y0 = std::floor(std::min(rect.origin.y, rect.origin.y + rect.size.height));
  const double x1 = std::ceil(std::max(rect.origin.x, rect.origin.x + rect.size.width));
  const double y1 = std::ceil(std::max(rect.origin.y, rect.origin.y + rect.size.height));
  if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return nullptr;
  const double left = std::max(x0, 0.0), top = std::max(y0, 0.0);
  const double right = std::min(x1, static_cast<double>(width_));
  const double bottom = std::min(y1, static_cast<double>(height_));
  if (right <= left || bottom <= top) return nullptr;
  const auto cx = static_cast<std::size_t>(left), cy = static_cast<std::size_t>(top);
  const auto cw = static_cast<std::size_t>(right - left), ch = static_cast<std::size_t>(bottom - top);
  const std::size_t pixelBytes = bitsPerPixel_ / 8;
  const std::size_t rowBytes = cw * pixelBytes;
  std::vector<std::uint8_t> bytes(rowBytes * ch);
  const auto source = provider_->bytes();
  for (std::size_t y = 0; y < ch; ++y) {
    std::memcpy(bytes.data() + y * rowBytes, source.data() + (cy + y) * bytesPerRow_ + cx * pixelBytes, rowBytes);
  }
  return make(cw, ch, 8, bitsPerPixel_, rowBytes, space_, bitmapInfo_, std::move(bytes));
}

namespace testing {

void failNextDataProviderCopy(int count) { pendingCopyFailures().store(count); }
void resetDataProviderFailures() { pendingCopyFailures().store(0); }

}  // namespace testing
}  // namespace ios
