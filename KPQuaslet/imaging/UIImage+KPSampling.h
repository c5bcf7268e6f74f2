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
// The colour of the pixel under `point` of the image as it shows, read on the global
// user-interactive queue and handed to `completion` on the main queue. When no colour
// can be read (a point outside [0, width) × [0, height) of the point size, not finite,
// or no bitmap) `completion` gets nothing, at once, on the worker queue. The image and
// the completion are kept until the completion runs.
//
// Unlike color(), this read takes the point as points: it reads the pixel under it
// whatever the image's scale and orientation, in the bitmap's own layout and row length,
// so an image at scale 2 or 3 answers its colour (a read that took the point as a pixel
// index of 4 bytes would read the wrong pixel there, and past the end of a bitmap of 1
// or 3 bytes a pixel).
void color(const ios::UIImage& image, ios::CGPoint point, std::function<void(std::optional<ios::UIColor>)> completion);

// kp_avarageColor()
//
// The mean colour of the whole image (the bitmap averaged into one pixel), with the
// mean alpha. A fully transparent image, whose mean alpha byte is 0, reads as opaque
// black (0, 0, 0, alpha 1), where averageColor() answers alpha 0; an image without a
// bitmap reads as transparent black.
// The colour is the mean pixel un-premultiplied: a half-transparent red reads as red
// with alpha 0.5. (Multiplying the premultiplied bytes by the alpha once more, as a
// plain reading of the pixel would, gives about 0.25 red: a darker colour than any pixel
// of the image.) averageColor() and mergedColor() answer the same colour.
[[nodiscard]] ios::UIColor kp_avarageColor(const ios::UIImage& image);

// averageColor()
//
// The same mean, un-premultiplied; transparent black for a fully transparent image.
// Nothing when the image has no bitmap or no one-pixel context can be made.
[[nodiscard]] std::optional<ios::UIColor> averageColor(const ios::UIImage& image);

// mergedColor()
//
// The image as it shows (orientation applied) drawn into one pixel with the copy blend
// mode and medium interpolation: its mean colour, un-premultiplied (the pixel's
// premultiplied bytes over 255 would make a darker colour wherever the image is partly
// transparent); transparent black for the empty image, which draws nothing. Nothing
// when no one-pixel context can be made.
[[nodiscard]] std::optional<ios::UIColor> mergedColor(const ios::UIImage& image);

}  // namespace kp
