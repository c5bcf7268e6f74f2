// File: platform/coregraphics/internal/PixelFormat.h
//
// Conversions between the bitmap layouts a CGImage or CGContext may have and the one
// layout the drawing engine works in: 32-bit native words 0xAARRGGBB with premultiplied
// alpha (B, G, R, A in memory on little-endian hosts).
//
//   auto layout = ios::cg_internal::layoutFor(32, rgb, kCGImageAlphaPremultipliedLast);
//   std::uint32_t argb = ios::cg_internal::loadPixel(bytes, *layout);
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/coregraphics/CGColorSpace.h"
#include "platform/coregraphics/CGImage.h"

namespace ios::cg_internal {

static_assert(std::endian::native == std::endian::little, "the drawing engine expects a little-endian host");

// Where the channels of one pixel are, as byte offsets (-1 when absent).
struct PixelLayout {
  int bytesPerPixel = 4;
  int red = -1, green = -1, blue = -1, alpha = -1;
  bool gray = false;           // one luma byte at `red`
  bool premultiplied = false;  // colour bytes already multiplied by alpha
  bool skipsAlpha = false;     // an alpha byte exists but is ignored (reads as 255)

  // True for the layouts a bitmap context can draw into.
  [[nodiscard]] bool drawable() const { return bytesPerPixel == 1 || (bytesPerPixel == 4 && (premultiplied || skipsAlpha)); }
  // True when the layout is the engine's own (native premultiplied words).
  [[nodiscard]] bool native() const {
    return bytesPerPixel == 4 && !gray && premultiplied && blue == 0 && green == 1 && red == 2 && alpha == 3;
  }
};

// The layout for 8-bit components with `bitsPerPixel`, `space` and `info`, or nothing
// when the stand-in does not keep it.
[[nodiscard]] std::optional<PixelLayout> layoutFor(std::size_t bitsPerPixel, std::optional<CGColorSpace> space,
                                                   CGBitmapInfo info);

// One pixel read as a premultiplied native word.
[[nodiscard]] inline std::uint32_t loadPixel(const std::uint8_t* p, const PixelLayout& l) {
  std::uint32_t a = l.alpha >= 0 && !l.skipsAlpha ? p[l.alpha] : 255u;
  std::uint32_t r = 0, g = 0, b = 0;
  if (l.gray) {
    r = g = b = p[l.red];
  } else if (l.red >= 0) {
    r = p[l.red], g = p[l.green], b = p[l.blue];
  }
  if (l.red >= 0 && !l.premultiplied && a != 255) {
    r = (r * a + 127) / 255, g = (g * a + 127) / 255, b = (b * a + 127) / 255;
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// The luma of a native word's colour, 0-255 (Rec. 601 weights in eighths of 256).
[[nodiscard]] inline std::uint8_t luma(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return static_cast<std::uint8_t>((r * 77u + g * 150u + b * 29u + 128u) >> 8);
}

// One premultiplied native word written in a drawable layout.
inline void storePixel(std::uint32_t argb, std::uint8_t* p, const PixelLayout& l) {
  const std::uint8_t a = static_cast<std::uint8_t>(argb >> 24);
  const std::uint8_t r = static_cast<std::uint8_t>(argb >> 16);
  const std::uint8_t g = static_cast<std::uint8_t>(argb >> 8);
  const std::uint8_t b = static_cast<std::uint8_t>(argb);
  if (l.gray) {
    p[l.red] = luma(argb);
  } else if (l.red >= 0) {
    p[l.red] = r, p[l.green] = g, p[l.blue] = b;
  }
  if (l.alpha >= 0) p[l.alpha] = l.skipsAlpha ? 255 : a;
}

// Copies `width` × `height` pixels from bytes in `layout` to native words, and back.
void importPixels(const std::uint8_t* src, std::size_t srcBytesPerRow, const PixelLayout& layout,
                  std::uint32_t* dst, std::size_t dstWordsPerRow, std::size_t width, std::size_t height);
void exportPixels(const std::uint32_t* src, std::size_t srcWordsPerRow, std::uint8_t* dst,
                  std::size_t dstBytesPerRow, const PixelLayout& layout, std::size_t width, std::size_t height);

}  // namespace ios::cg_internal
