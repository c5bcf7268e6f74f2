// File: platform/coregraphics/internal/ImageDrawing.h
//
// What platform/uikit needs from the drawing engine, without cairo types: UIKit image
// contexts and drawing an image through an arbitrary placement.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/coregraphics/CGContext.h"

namespace ios::cg_internal {

// An affine map x' = a·x + c·y + tx, y' = b·x + d·y + ty.
struct AffineMatrix {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

// A UIKit image context: `pixelWidth` × `pixelHeight` B,G,R,A premultiplied pixels (B,G,R,X
// when opaque), user space in points, y down, `scale` pixels a point.
[[nodiscard]] std::shared_ptr<CGContext> makeImageContext(std::size_t pixelWidth, std::size_t pixelHeight,
                                                          double scale, bool opaque);

// Draws `image` into `context` with `imageToUser` mapping its pixels (first row at v = 0)
// to user space, with the context's blend mode, alpha, clip and interpolation quality.
void drawImageInContext(CGContext& context, const CGImage& image, const AffineMatrix& imageToUser);

}  // namespace ios::cg_internal
