// File: KPQuaslet/imaging/UIImage+KPSampling.h
//
// Colours read out of an image: the colour of one pixel (now, or on a background queue
// with the answer on the main queue), and the whole image reduced to one colour.
//
//   ios::UIColor c = kp::color(image, {3, 4});
//   kp::color(image, {3, 4}, [](std::optional<ios::UIColor> c) { ... });
//   std::optional<ios::UIColor> mean = kp::averageColor(image);
//
// Colours come back as straight (not premultiplied) red, green, blue and alpha, each an
// 8-bit value over 255. None of these functions keeps state.
#pragma once

#include <functional>
#include <optional>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// color()
//
// The colour of the pixel at `point`, taken as pixel coordinates (x to the right, y down,
// truncated) in a bitmap of the image's point size. The bitmap is read only when its
// bytes are exactly that many pixels, packed, of one byte (alpha only: black with that
// alpha; grey), three (R,G,B) or four (any 32-bit layout, decoded by the image's own
// byte order and alpha placement). UIColor.clear for anything else: an image whose
// pixels outnumber its points (scale 2 or 3), a point outside the image or not finite, or
// no bitmap. Copies the image's bytes on every call.
[[nodiscard]] ios::UIColor color(const ios::UIImage& image, ios::CGPoint point);

// color()
//
// The same read on the global user-interactive queue. A colour is handed to
// `completion` on the main queue; when none can be read (the cases where color() answers
// clear, and a point outside [0, width) × [0, height)) `completion` gets nothing, at once,
// on the worker queue. The image and the completion are kept until the completion runs.
void color(const ios::UIImage& image, ios::CGPoint point, std::function<void(std::optional<ios::UIColor>)> completion);

// kp_avarageColor()
//
// The mean colour of the whole image (the bitmap averaged into one pixel), with the
// mean alpha; transparent black for a fully transparent image or one that has no bitmap.
[[nodiscard]] ios::UIColor kp_avarageColor(const ios::UIImage& image);

// averageColor()
//
// The same mean; nothing when the image has no bitmap or no one-pixel context can be
// made.
[[nodiscard]] std::optional<ios::UIColor> averageColor(const ios::UIImage& image);

// mergedColor()
//
// The image as it shows (orientation applied) drawn into one pixel with the copy blend
// mode and medium interpolation: its mean colour; transparent black for the empty image,
// which draws nothing. Nothing when no one-pixel context can be made.
[[nodiscard]] std::optional<ios::UIColor> mergedColor(const ios::UIImage& image);

}  // namespace kp
