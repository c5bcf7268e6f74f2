// File: KPQuaslet/views/UIImageView+FacesFill.h
//
// Face-aware filling for image views: the image is detected for faces off the main
// thread and drawn into a sublayer sized like an aspect fill and shifted so that the
// faces are centred horizontally, or sit a little above the middle vertically.
//
//   kp::set(*avatar, portrait, true);          // crop on the faces, when any are found
//   kp::setFocusOnFaces(*avatar, false);       // back to the plain image
//
// The crop lives in one sublayer named "AspectFillFaceAware" on top of the view's
// layer; focusOnFaces is true exactly while it exists. It is runtime-visible, in the
// "KPQuaslet" category of UIImageView (property "focusOnFaces", "TB,N"). Detection
// runs on the global queue and prints "found N faces" or "No faces found"; the view,
// its bounds and its layers are read and changed on the main queue only, and the image
// is assigned to the view in every case. Mended: an image whose orientation is not up is
// turned upright, pixel for pixel (at its own scale), before detection; the crop shows
// that upright picture and its W × H are its pixels. An image without a bitmap
// is shown the ordinary way and nothing is printed. Do not wait on the main queue
// for the result: the work finishes with synchronous hops to the main queue.
#pragma once

#include <optional>

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {

// Whether the view shows its image cropped on faces (its face sublayer exists).
[[nodiscard]] bool focusOnFaces(const ios::UIImageView& view);

// Takes the view's image away and shows it again: cropped on its faces (true), or the
// ordinary way with the face sublayer removed (false).
void setFocusOnFaces(ios::UIImageView& view, bool enabled);

// Shows `image` cropped on its faces (true), or the ordinary way with the face sublayer
// removed (false). A nil image with true changes nothing.
void set(ios::UIImageView& view, const std::optional<ios::UIImage>& image, bool focusOnFaces);

}  // namespace kp
