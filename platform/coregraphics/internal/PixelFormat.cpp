#include "platform/coregraphics/internal/PixelFormat.h"

#include <cstring>

namespace ios::cg_internal {

std::optional<PixelLayout> layoutFor(std::size_t bitsPerPixel, std::optional<CGColorSpace> space,
                                     CGBitmapInfo info) {
  const auto alpha = static_cast<CGImageAlphaInfo>(info & kCGBitmapAlphaInfoMask);
  const CGBitmapInfo order = info & kCGBitmapByteOrderMask;
  if ((info & ~(kCGBitmapAlphaInfoMask | kCGBitmapByteOrderMask)) != 0) return std::nullopt;
  PixelLayout l;
  if (!space) {
    if (bitsPerPixel != 8 || alpha != CGImageAlphaInfo::alphaOnly || order != kCGBitmapByteOrderDefault) {
      return std::nullopt;
    }
    l.bytesPerPixel = 1, l.alpha = 0, l.premultiplied = true;
    return l;
  }
  if (space->model() == CGColorSpaceModel::monochrome) {
    if (bitsPerPixel != 8 || alpha != CGImageAlphaInfo::none || order != kCGBitmapByteOrderDefault) {
      return std::nullopt;
    }
    l.bytesPerPixel = 1, l.red = 0, l.gray = true;
    return l;
  }
  if (space->model() != CGColorSpaceModel::rgb) return std::nullopt;
  if (bitsPerPixel == 24) {
    if (alpha != CGImageAlphaInfo::none || order != kCGBitmapByteOrderDefault) return std::nullopt;
    l.bytesPerPixel = 3, l.red = 0, l.green = 1, l.blue = 2;
    return l;
  }
  if (bitsPerPixel != 32) return std::nullopt;
  if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big && order != kCGBitmapByteOrder32Little) {
    return std::nullopt;
  }
  bool first = false;
  switch (alpha) {
    case CGImageAlphaInfo::premultipliedFirst: first = true, l.premultiplied = true; break;
    case CGImageAlphaInfo::premultipliedLast: l.premultiplied = true; break;
    case CGImageAlphaInfo::first: first = true; break;
    case CGImageAlphaInfo::last: break;
    case CGImageAlphaInfo::noneSkipFirst: first = true, l.skipsAlpha = true; break;
    case CGImageAlphaInfo::noneSkipLast: l.skipsAlpha = true; break;
    default: return std::nullopt;
  }
  // Offsets in the big-endian order, then mirrored for 32-bit little-endian words.
  if (first) {
    l.alpha = 0, l.red = 1, l.green = 2, l.blue = 3;
  } else {
    l.red = 0, l.green = 1, l.blue = 2, l.alpha = 3;
  }
  if (order == kCGBitmapByteOrder32Little) {
    l.alpha = 3 - l.alpha, l.red = 3 - l.red, l.green = 3 - l.green, l.blue = 3 - l.blue;
  }
  return l;
}

void importPixels(const std::uint8_t* src, std::size_t srcBytesPerRow, const PixelLayout& layout,
                  std::uint32_t* dst, std::size_t dstWordsPerRow, std::size_t width, std::size_t height) {
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* s = src + y * srcBytesPerRow;
    std::uint32_t* d = dst + y * dstWordsPerRow;
    if (layout.native()) {
      std::memcpy(d, s, width * 4);
      continue;
    }
    for (std::size_t x = 0; x < width; ++x, s += layout.bytesPerPixel) d[x] = loadPixel(s, layout);
  }
}

void exportPixels(const std::uint32_t* src, std::size_t srcWordsPerRow, std::uint8_t* dst,
                  std::size_t dstBytesPerRow, const PixelLayout& layout, std::size_t width, std::size_t height) {
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint32_t* s = src + y * srcWordsPerRow;
    std::uint8_t* d = dst + y * dstBytesPerRow;
    if (layout.native()) {
      std::memcpy(d, s, width * 4);
      continue;
    }
    for (std::size_t x = 0; x < width; ++x, d += layout.bytesPerPixel) storePixel(s[x], d, layout);
  }
}

}  // namespace ios::cg_internal
