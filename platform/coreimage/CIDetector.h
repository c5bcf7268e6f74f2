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
// corner, as the platform's. Faces are found by dlib's frontal face detector: upright
// faces seen from the front, about 80 pixels across or more with CIDetectorAccuracyLow
// (the default), about 40 with CIDetectorAccuracyHigh, which doubles the image first and
// takes about three times as long; strongest first. Like the platform's, it reads the
// bitmap as stored, whatever orientation a UIImage gives it. A test may install a
// scripted detector instead with ios::testing::setFaceDetector(). Other detector types
// (which answer null), feature kinds (eyes, mouth, smiles, angles) and contexts are
// absent.
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

  // A detector of `type` (only CIDetectorTypeFace), or null for another type.
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

// Installs a scripted face detector in place of the built-in one (an empty function
// goes back to the built-in one).
void setFaceDetector(FaceDetector detector);

// The number of face detectors made since the last reset.
[[nodiscard]] int faceDetectorsMade();

// Goes back to the built-in face detector and zeroes the count.
void resetFaceDetector();

}  // namespace testing
}  // namespace ios
