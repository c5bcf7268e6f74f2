// File: KPQuaslet/imaging/UIImage+KPGeometry.h
//
// Image geometry: aspect-fit resizing and scaling, rendering at a size, cropping
// (centred squares and aspect ratios), orientation normalisation, resizing through a
// transform, forced decoding and rounded corners.
//
//   ios::UIImage thumb = kp::resizeTo(photo, {100, 100});      // fits, screen pixels
//   std::optional<ios::UIImage> upright = kp::adjustOrientation(cameraShot);
//
// Sizes are in points unless said otherwise; pixels are points × scale. Every function
// runs on the caller's thread, draws in contexts of its own and ends them before
// returning.
#pragma once

#include <optional>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// resizeTo()
//
// The image fitted into `size` with its aspect ratio kept: w = floor(width × r),
// h = floor(height × r) points with r the smaller of the two ratios, drawn into a bitmap
// of the main screen's pixels for that size (floor(s × w) × floor(s × h)) and returned
// at scale 1. The receiver when nothing can be drawn.
[[nodiscard]] ios::UIImage resizeTo(const ios::UIImage& image, ios::CGSize size);

// scaledToHeight() / scaledToWidth()
//
// The image at `height` (or `width`) points with the other side following the aspect
// ratio, at the main screen's scale, opaque or not; nothing when it cannot be drawn.
[[nodiscard]] std::optional<ios::UIImage> scaledToHeight(const ios::UIImage& image, ios::CGFloat height,
                                                         bool opaque = false);
[[nodiscard]] std::optional<ios::UIImage> scaledToWidth(const ios::UIImage& image, ios::CGFloat width,
                                                        bool opaque = false);

// scaleToMinSideLength()
//
// The image shrunk so that its shorter side is `length` points on the main screen
// (length × screen scale pixels, sides floored); the receiver when that side is already
// that short or shorter, or nothing can be drawn. An image at the screen's scale keeps
// it; any other comes back at scale 1.
[[nodiscard]] ios::UIImage scaleToMinSideLength(const ios::UIImage& image, ios::CGFloat length);

// renderAtSize()
//
// The image stretched to `size` rounded up to whole points, drawn at the main screen's
// scale and returned at scale 1 (its point size is its pixel size). The receiver when
// nothing can be drawn.
[[nodiscard]] ios::UIImage renderAtSize(const ios::UIImage& image, ios::CGSize size);

// cropped()
//
// The part of the bitmap inside `rect`, in pixels of the stored bitmap (origin at its
// top-left corner, whatever the receiver's orientation), upright (orientation up) at
// scale 1: its size in points is the rect's size in pixels. Only a rect strictly
// narrower and strictly lower than the bitmap is cropped; otherwise, without a bitmap or
// when the rect misses it, the receiver. Mended: the rect is compared with the bitmap's
// pixel size, the unit it is taken in, not with the point size (which at scale 2 or
// for a photo stored sideways would refuse rects that fit).
[[nodiscard]] ios::UIImage cropped(const ios::UIImage& image, ios::CGRect rect);

// largestCenteredSquareImage()
//
// The largest square at the centre of the bitmap, keeping the receiver's scale and
// orientation; the receiver without a bitmap.
[[nodiscard]] ios::UIImage largestCenteredSquareImage(const ios::UIImage& image);

// cropToAspectRatio()
//
// The largest centred part of the image as it shows whose width / height is `ratio`, at
// scale 1; the receiver when its ratio is already that, without a bitmap, or for a
// ratio that is not positive and finite. Mended: the part is measured in pixels of the
// picture as it shows and keeps the receiver's orientation (the point size taken as
// pixel coordinates of the stored bitmap would cut off-centre at scale 2 and across
// the picture of a photo stored sideways). The cut side is the whole number of pixels
// nearest to the other side × `ratio` (or ÷ `ratio`), at least 1, and its offset is
// rounded down: the part is a pixel narrower or lower than a rect with fractional edges
// widened to whole pixels, and its ratio is the nearest whole pixels allow (a 20 × 10
// picture cut to ratio 4 is rows 2 to 6, 20 × 5).
[[nodiscard]] ios::UIImage cropToAspectRatio(const ios::UIImage& image, ios::CGFloat ratio);

// adjustOrientation()
//
// The image drawn upright into a bitmap whose pixel size is the image's point size
// (whole points, truncated): orientation up, scale 1, so a 2× or 3× image comes back at
// a half or a third of its pixels. The receiver itself when it is already up; nothing
// without a bitmap or when no bitmap context can be made.
[[nodiscard]] std::optional<ios::UIImage> adjustOrientation(const ios::UIImage& image);

// transformForOrientation()
//
// The transform that draws a bitmap of the receiver's orientation upright into a
// bitmap context (y up) of `size`: down turns by π about (w, h); left by π/2 after
// moving by (w, 0); right by -π/2 after moving by (0, h); the mirrored orientations then
// flip across the width (w for up and down, h for left and right).
[[nodiscard]] ios::CGAffineTransform transformForOrientation(const ios::UIImage& image, ios::CGSize size);

// resizeTo()
//
// The bitmap drawn through `transform` into a bitmap context of `size` made integral
// (same pixel layout where it can be drawn into), with `quality`; into (0, 0, height,
// width) when `drawTransposed`, else the whole size. Scale 1, orientation up; nothing
// without a bitmap or when no context can be made.
[[nodiscard]] std::optional<ios::UIImage> resizeTo(const ios::UIImage& image, ios::CGSize size,
                                                   const ios::CGAffineTransform& transform, bool drawTransposed,
                                                   ios::CGInterpolationQuality quality);

// resizeTo()
//
// The same with transformForOrientation(size), transposed for the turned orientations:
// the upright image at `size` pixels.
[[nodiscard]] std::optional<ios::UIImage> resizeTo(const ios::UIImage& image, ios::CGSize size,
                                                   ios::CGInterpolationQuality quality);

// decoded() / decodedWith()
//
// The bitmap drawn once into R,G,B,A premultiplied pixels, so that later drawing has
// nothing to decode; the receiver's orientation and its scale (or `scale`). The receiver
// when it has no bitmap or no context can be made.
[[nodiscard]] ios::UIImage decoded(const ios::UIImage& image);
[[nodiscard]] ios::UIImage decodedWith(const ios::UIImage& image, ios::CGFloat scale);

// imageByRoundingCornersTo()
//
// The image clipped to a rounded rectangle of `radius`, at its size and scale, made
// resizable with cap insets (0, radius, 0, radius). The receiver when nothing can be
// drawn.
[[nodiscard]] ios::UIImage imageByRoundingCornersTo(const ios::UIImage& image, ios::CGFloat radius);

// withRoundedCorners()
//
// The image clipped to a rounded rectangle: `radius` when it is above 0 and at most half
// the shorter side, else half the shorter side (a circle or capsule). Nothing when it
// cannot be drawn.
[[nodiscard]] std::optional<ios::UIImage> withRoundedCorners(const ios::UIImage& image,
                                                             std::optional<ios::CGFloat> radius);

}  // namespace kp
