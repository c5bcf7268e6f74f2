// File: KPQuaslet/imaging/UIImage+KPCreation.h
//
// Making images: solid-colour images and one-pixel images, rendering-mode copies, the
// image's shape filled with one colour, and tinted copies.
//
//   ios::UIImage swatch = kp::makeImage(ios::UIColor::red(), {20, 20});   // 20 × 20 px
//   ios::UIImage icon = kp::imageWithTintColor(glyph, ios::UIColor::blue(), ios::CGBlendMode::normal);
//
// Every function draws in an image context of its own on the caller's thread and ends
// it before returning; none keeps state.
#pragma once

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// makeImage()
//
// An image of `size` pixels filled with `color` (drawn at scale 1, so its size in
// points is its size in pixels). The empty UIImage() when no bitmap of that size can be
// made (a side below one pixel, not finite, or too large).
[[nodiscard]] ios::UIImage makeImage(const ios::UIColor& color, ios::CGSize size);

// imageWithColor() / pixelOfColor()
//
// A 1 × 1 pixel image of `color` at scale 1; the empty UIImage() when it cannot be
// drawn.
[[nodiscard]] ios::UIImage imageWithColor(const ios::UIColor& color);
[[nodiscard]] ios::UIImage pixelOfColor(const ios::UIColor& color);

// original() / template_()
//
// The same image drawn always as it is, or always as a template (its alpha in the tint
// colour).
[[nodiscard]] ios::UIImage original(const ios::UIImage& image);
[[nodiscard]] ios::UIImage template_(const ios::UIImage& image);

// filled()
//
// The image's shape (its alpha) filled with `color`, at the image's size and scale.
// The receiver when it has no bitmap or nothing can be drawn.
[[nodiscard]] ios::UIImage filled(const ios::UIImage& image, const ios::UIColor& color);

// imageWithTintColor()
//
// `color` over the whole size, the image drawn over it with `blendMode`, then (unless
// that mode is destinationIn) the image's alpha applied once more with destinationIn, so
// that the result keeps the image's shape. Drawn at the main screen's scale; the
// receiver when nothing can be drawn.
[[nodiscard]] ios::UIImage imageWithTintColor(const ios::UIImage& image, const ios::UIColor& color,
                                              ios::CGBlendMode blendMode);

// imageWithGradientTintColor()
//
// imageWithTintColor() with the overlay blend mode: the tint keeps the image's light and
// shade.
[[nodiscard]] ios::UIImage imageWithGradientTintColor(const ios::UIImage& image, const ios::UIColor& color);

}  // namespace kp
