// File: platform/coregraphics/CGContext.h
//
// Drawing into bitmaps: bitmap contexts over any drawable pixel layout, the graphics
// state (transform, colours, line, alpha, blend mode, clip), paths, images and linear
// gradients.
//
//   auto ctx = ios::CGContext::make(nullptr, 4, 4, 8, 0, ios::CGColorSpaceCreateDeviceRGB(),
//                                   ios::kCGImageAlphaPremultipliedLast);
//   ctx->setFillColor(ios::UIColor::red().cgColor());
//   ctx->fill({{0, 0}, {2, 4}});
//   ios::CGImageRef image = ctx->makeImage();
//
// Fidelity: drawn by cairo. A bitmap context made here is y-up with its origin at the
// bottom-left corner, one unit a pixel; UIKit image contexts (UIGraphics.h) are y-down in
// points. Drawable layouts: 32-bit RGB with premultiplied or skipped alpha in either byte
// order, 8-bit grey, 8-bit alpha only. Drawing an image places its first row at the top
// of the rectangle in user space (so it comes out upside down in a y-down context, as on
// the platform); strong downscales are averaged over the whole source area. All 28 blend
// modes are kept and bounded by the drawn shape (plus-darker is computed here). Shadows,
// text, dashes, radial gradients and PDF contexts are absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGColorSpace.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGGradient.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/coregraphics/CGAffineTransform.h"

namespace ios {

enum class CGBlendMode {
  normal, multiply, screen, overlay, darken, lighten, colorDodge, colorBurn, softLight, hardLight, difference,
  exclusion, hue, saturation, color, luminosity, clear, copy, sourceIn, sourceOut, sourceAtop, destinationOver,
  destinationIn, destinationOut, destinationAtop, xor_, plusDarker, plusLighter,
};

enum class CGInterpolationQuality { default_ = 0, none = 1, low = 2, high = 3, medium = 4 };
enum class CGPathFillRule { winding, evenOdd };
enum class CGPathDrawingMode { fill, eoFill, stroke, fillStroke, eoFillStroke };
enum class CGLineCap { butt, round, square };
enum class CGLineJoin { miter, round, bevel };

using CGGradientDrawingOptions = std::uint32_t;
inline constexpr CGGradientDrawingOptions kCGGradientDrawsBeforeStartLocation = 1;
inline constexpr CGGradientDrawingOptions kCGGradientDrawsAfterEndLocation = 2;

namespace cg_internal {
struct ContextState;
}

class CGContext {
 public:
  // make(data:width:height:bitsPerComponent:bytesPerRow:space:bitmapInfo:)
  //
  // A bitmap context, or null when a size is 0 or above 32767, the layout is not
  // drawable, or `bytesPerRow` is shorter than a row or longer than 2^31 - 1 bytes. With `data` the context draws over
  // the caller's bytes (read at creation, written after every drawing operation; they
  // must outlive the context); without it the context owns zeroed bytes. `bytesPerRow`
  // 0 picks packed rows.
  [[nodiscard]] static std::shared_ptr<CGContext> make(void* data, std::size_t width, std::size_t height,
                                                       std::size_t bitsPerComponent, std::size_t bytesPerRow,
                                                       std::optional<CGColorSpace> space, CGBitmapInfo bitmapInfo);
  ~CGContext();
  CGContext(const CGContext&) = delete;
  CGContext& operator=(const CGContext&) = delete;

  // The bitmap: size in pixels, row length, layout, and the bytes as last drawn.
  [[nodiscard]] std::size_t width() const;
  [[nodiscard]] std::size_t height() const;
  [[nodiscard]] std::size_t bytesPerRow() const;
  [[nodiscard]] CGBitmapInfo bitmapInfo() const;
  [[nodiscard]] std::optional<CGColorSpace> colorSpace() const;
  [[nodiscard]] void* data();

  // A snapshot of the bitmap as an image with the context's layout.
  [[nodiscard]] CGImageRef makeImage() const;

  // Graphics state.
  void saveGState();
  void restoreGState();
  void translateBy(CGFloat x, CGFloat y);
  void scaleBy(CGFloat x, CGFloat y);
  void rotate(CGFloat radians);
  // Applies `transform` before the current transformation matrix (a transform that
  // cannot be inverted is ignored).
  void concatenate(const CGAffineTransform& transform);
  void setFillColor(const CGColor& color);
  void setStrokeColor(const CGColor& color);
  void setLineWidth(CGFloat width);
  void setLineCap(CGLineCap cap);
  void setLineJoin(CGLineJoin join);
  void setMiterLimit(CGFloat limit);
  void setAlpha(CGFloat alpha);
  void setBlendMode(CGBlendMode mode);
  void setShouldAntialias(bool antialias);
  [[nodiscard]] CGInterpolationQuality interpolationQuality() const;
  void setInterpolationQuality(CGInterpolationQuality quality);
  // Maps a user-space point to device pixels (origin top-left of the bitmap).
  [[nodiscard]] CGPoint convertToDeviceSpace(CGPoint point) const;

  // The current path.
  void beginPath();
  void move(CGPoint to);
  void addLine(CGPoint to);
  void addQuadCurve(CGPoint to, CGPoint control);
  void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
  void addRect(CGRect rect);
  void addEllipse(CGRect in);
  void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
  void addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius);
  void closePath();
  void addPath(const CGPath& path);
  [[nodiscard]] bool isPathEmpty() const;

  // Painting; each consumes the current path.
  void fillPath(CGPathFillRule rule = CGPathFillRule::winding);
  void strokePath();
  void drawPath(CGPathDrawingMode mode);
  void fill(CGRect rect);
  void stroke(CGRect rect);
  void clear(CGRect rect);

  // Clipping (intersects the current clip; restored with the graphics state).
  void clip(CGPathFillRule rule = CGPathFillRule::winding);
  void clip(CGRect to);
  // Clips to `rect` and, inside it, to the alpha of `mask` placed as draw() places an
  // image. A mask without alpha lets the whole rect through.
  void clip(CGRect to, const CGImage& mask);

  // Draws `image` stretched to `in`, its first row at the top of the rect in user space.
  void draw(const CGImage& image, CGRect in);

  // Paints `gradient` from `start` to `end` across the clip; nothing beyond either end
  // unless `options` asks for it.
  void drawLinearGradient(const CGGradient& gradient, CGPoint start, CGPoint end, CGGradientDrawingOptions options);

  // The stand-in's own state, for the drawing code in this folder.
  [[nodiscard]] cg_internal::ContextState& state() const { return *state_; }

 private:
  explicit CGContext(std::unique_ptr<cg_internal::ContextState> state);
  friend struct cg_internal::ContextState;

  std::unique_ptr<cg_internal::ContextState> state_;
};

using CGContextRef = std::shared_ptr<CGContext>;

}  // namespace ios
