// File: platform/coreimage/internal/FrontalFaceDetector.h
//
// The built-in face finder behind CIDetector: dlib's histogram-of-oriented-gradients
// frontal face detector, whose model is compiled into the library (no data file).
//
//   std::vector<ios::CGRect> faces = ios::ci_internal::detectFrontalFaces(*image, false);
//
// It finds upright faces seen from the front down to about 80 × 80 pixels, or about
// 40 × 40 when the image is doubled first (`upsample`). Faces turned more than about
// 30 degrees are missed.
#pragma once

#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"

namespace ios::ci_internal {

// The faces in `image`, strongest first: rectangles in its pixels with the origin at the
// bottom-left corner, inside the image. Nothing for a layout the stand-in cannot read.
[[nodiscard]] std::vector<CGRect> detectFrontalFaces(const CGImage& image, bool upsample);

}  // namespace ios::ci_internal
