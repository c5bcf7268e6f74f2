#include "platform/coreimage/CIDetector.h"

#include <mutex>

#include "platform/coreimage/internal/FrontalFaceDetector.h"

namespace ios {
namespace {

struct DetectorState {
  std::mutex lock;
  testing::FaceDetector detector;
  int made = 0;
};

DetectorState& state() {
  static DetectorState s;
  return s;
}

}  // namespace

CGRect CIImage::extent() const {
  if (image_ == nullptr) return CGRect();
  return CGRect(0, 0, static_cast<CGFloat>(image_->width()), static_cast<CGFloat>(image_->height()));
}

std::shared_ptr<CIDetector> CIDetector::make(const std::string& type, const Options& options) {
  if (type != CIDetectorTypeFace) return nullptr;
  std::lock_guard guard(state().lock);
  ++state().made;
  return std::shared_ptr<CIDetector>(new CIDetector(options));
}

std::vector<CIFaceFeature> CIDetector::features(const CIImage& image) const {
  testing::FaceDetector detector;
  {
    std::lock_guard guard(state().lock);
    detector = state().detector;
  }
  std::vector<CIFaceFeature> found;
  if (image.cgImage() == nullptr) return found;
  const auto accuracy = options_.find(CIDetectorAccuracy);
  const bool high = accuracy != options_.end() && accuracy->second == CIDetectorAccuracyHigh;
  const std::vector<CGRect> faces =
      detector ? detector(*image.cgImage()) : ci_internal::detectFrontalFaces(*image.cgImage(), high);
  for (const CGRect& r : faces) found.push_back(CIFaceFeature{r});
  return found;
}

namespace testing {

void setFaceDetector(FaceDetector detector) {
  std::lock_guard guard(state().lock);
  state().detector = std::move(detector);
}

int faceDetectorsMade() {
  std::lock_guard guard(state().lock);
  return state().made;
}

void resetFaceDetector() {
  std::lock_guard guard(state().lock);
  state().detector = nullptr;
  state().made = 0;
}

}  // namespace testing
}  // namespace ios
