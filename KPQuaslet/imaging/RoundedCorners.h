// File: KPQuaslet/imaging/RoundedCorners.h
//
// Rounded corners drawn into bitmaps instead of masking layers: an image redrawn into a
// size, clipped to a rounded rectangle.
//
//   ios::UIImage avatar = kp::kp_drawRectWithRoundedCorner(photo, 8, {40, 40});
//
// The image is drawn in an image context at the main screen's scale and is not cached.
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// kp_drawRectWithRoundedCorner()
//
// The image stretched to `size` points (its aspect ratio not kept) and clipped to a
// rectangle of that size whose four corners are rounded by `radius` (at most half the
// shorter side), at the main screen's scale; outside the corners it is transparent. The
// empty UIImage() for a size without area (no bitmap can be drawn).
[[nodiscard]] ios::UIImage kp_drawRectWithRoundedCorner(const ios::UIImage& image, ios::CGFloat radius,
                                                        ios::CGSize size);

}  // namespace kp
