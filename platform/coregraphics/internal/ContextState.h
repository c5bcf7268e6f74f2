// File: platform/coregraphics/internal/ContextState.h
//
// What a CGContext is made of: the cairo surface and its drawing state, the caller's or
// the context's own bytes in the context's layout, and the graphics-state stack.
// Drawing code of platform/coregraphics and platform/uikit only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/internal/Cairo.h"
#include "platform/coregraphics/internal/ImageDrawing.h"
#include "platform/coregraphics/internal/PixelFormat.h"

namespace ios::cg_internal {

// The parts of the graphics state that cairo does not keep for us.
struct GraphicsState {
  CGColor fill = CGColor(CGColorSpaceCreateDeviceRGB(), {0, 0, 0, 1});
  CGColor stroke = CGColor(CGColorSpaceCreateDeviceRGB(), {0, 0, 0, 1});
  CGFloat alpha = 1;
  CGBlendMode blendMode = CGBlendMode::normal;
  CGInterpolationQuality quality = CGInterpolationQuality::default_;
  // Device-space coverage (one byte a pixel, cairo A8 rows) of clip(to:mask:), if any.
  std::shared_ptr<const std::vector<std::uint8_t>> softMask;
};

struct ContextState {
  ~ContextState();

  // A context of `width` × `height` pixels whose user space starts as `base`.
  static std::shared_ptr<CGContext> create(void* data, std::size_t width, std::size_t height,
                                           std::size_t bytesPerRow, std::optional<CGColorSpace> space,
                                           CGBitmapInfo info, const cairo_matrix_t& base);

  // Runs one drawing operation with the blend mode, the soft mask and the alpha of the
  // graphics state, then writes the result out to the context's bytes.
  void paint(const std::function<void(cairo_t*)>& draw);
  // Makes `color` (times the global alpha) cairo's source; false for a pattern colour.
  bool setSourceColor(const CGColor& color);
  // Writes the drawing surface out to the bytes in the context's layout.
  void sync();

  std::size_t width = 0, height = 0, bytesPerRow = 0;
  CGBitmapInfo info = 0;
  std::optional<CGColorSpace> space;
  PixelLayout layout;
  std::uint8_t* bytes = nullptr;         // the context's bytes (caller's or ownBytes)
  std::vector<std::uint8_t> ownBytes;
  std::vector<std::uint32_t> words;      // drawing surface when it is not `bytes` itself
  bool direct = false;                   // cairo draws straight into `bytes`
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  GraphicsState g;
  std::vector<GraphicsState> saved;
};

// Draws `image` on `cr` with `imageToUser` mapping image pixels (first row at v = 0) to
// user space, through cairo's current operator and clip.
void drawImage(cairo_t* cr, const CGImage& image, const cairo_matrix_t& imageToUser, CGFloat alpha,
               CGInterpolationQuality quality);

// Whether areaAverage() takes these sides: destination sides 1...65535 (its weights are
// 16-bit) and a source height below 2^24 (a column's sum stays in 32 bits).
[[nodiscard]] inline bool areaAverageTakes(std::size_t srcHeight, std::size_t dstWidth, std::size_t dstHeight) {
  return dstWidth >= 1 && dstHeight >= 1 && dstWidth <= 65535 && dstHeight <= 65535 && srcHeight < (1u << 24);
}

// Averages `src` (premultiplied words, sides at least 1) over each destination pixel's
// footprint: the exact mean of the covered area, each channel rounded half up, colours
// capped at alpha. The process stops for sides areaAverageTakes() refuses.
void areaAverage(const std::uint32_t* src, std::size_t srcWidth, std::size_t srcHeight, std::size_t srcStride,
                 std::uint32_t* dst, std::size_t dstWidth, std::size_t dstHeight);

// The cairo operator for a blend mode (plus-darker has none and is composited by hand).
[[nodiscard]] cairo_operator_t cairoOperator(CGBlendMode mode);

// Composites `group` (premultiplied, with cairo's device offset) onto `target` with
// plus-darker, through the optional soft mask.
void compositePlusDarker(cairo_surface_t* target, cairo_surface_t* group, const std::vector<std::uint8_t>* mask);

}  // namespace ios::cg_internal
