// File: platform/coreimage/CIDetector.h
//
// Face detection: an image for Core Image and a detector of faces in it.
//
//   ios::CIImage picture(photo.cgImage());
//   auto detector = ios::CIDetector::make(ios::CIDetectorTypeFace,
//                                         {{ios::CIDetectorAccuracy, ios::CIDetectorAccuracyLow}});
//   if (detector) for (const auto& face : detector->features(picture)) face.bounds;
//
// Fidelity: feature bounds are in the image's pixels with the origin at the bottom-left
// corner, as the platform's. Linux has no face detector here: faces come from the
// detector a program or test installs with ios::testing::setFaceDetector(); while none is
// installed, making a face detector answers null (the platform's "no detector"). Other
// detector types, feature kinds (eyes, mouth, smiles) and contexts are absent.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"

namespace ios {

inline constexpr const char* CIDetectorTypeFace = "CIDetectorTypeFace";
inline constexpr const char* CIDetectorAccuracy = "CIDetectorAccuracy";
inline constexpr const char* CIDetectorAccuracyLow = "CIDetectorAccuracyLow";
inline constexpr const char* CIDetectorAccuracyHigh = "CIDetectorAccuracyHigh";

// An image for detection: a bitmap and its extent (0, 0, width, height).
class CIImage {
 public:
  explicit CIImage(CGImageRef image) : image_(std::move(image)) {}
  [[nodiscard]] const CGImageRef& cgImage() const { return image_; }
  [[nodiscard]] CGRect extent() const;

 private:
  CGImageRef image_;
};

// A face found in an image.
struct CIFaceFeature {
  // In image pixels, origin at the bottom-left corner.
  CGRect bounds;
};

class CIDetector {
 public:
  using Options = std::map<std::string, std::string>;

  // A detector of `type` (only CIDetectorTypeFace), or null when none can be made.
  [[nodiscard]] static std::shared_ptr<CIDetector> make(const std::string& type, const Options& options);

  // The faces in `image`, in the order the detector reports them.
  [[nodiscard]] std::vector<CIFaceFeature> features(const CIImage& image) const;

  [[nodiscard]] const Options& options() const { return options_; }

 private:
  explicit CIDetector(Options options) : options_(std::move(options)) {}
  Options options_;
};

namespace testing {

// What a face detector answers for an image: face rectangles in its pixels, origin at
// the bottom-left corner.
using FaceDetector = std::function<std::vector<CGRect>(const CGImage& image)>;

// Installs the face detector CIDetector uses (an empty function removes it).
void setFaceDetector(FaceDetector detector);

// The number of face detectors made since the last reset.
[[nodiscard]] int faceDetectorsMade();

// Removes the installed face detector and zeroes the count.
void resetFaceDetector();

}  // namespace testing
}  // namespace ios
