// File: platform/coregraphics/CGColorSpace.h
//
// Colour spaces: device RGB and device grey (and the pattern space of pattern colours).
//
//   ios::CGColorSpace space = ios::CGColorSpaceCreateDeviceRGB();
//   space.numberOfComponents();                               // 3
//
// Fidelity: a small value naming the model; no colour management (device RGB is the
// identity). Named, calibrated and indexed spaces are absent.
#pragma once

#include <cstddef>

namespace ios {

enum class CGColorSpaceModel { unknown = -1, monochrome = 0, rgb = 1, pattern = 6 };

class CGColorSpace {
 public:
  explicit constexpr CGColorSpace(CGColorSpaceModel model) : model_(model) {}

  [[nodiscard]] constexpr CGColorSpaceModel model() const { return model_; }

  // The colour components of the space, alpha not included (grey 1, RGB 3, pattern 0).
  [[nodiscard]] constexpr std::size_t numberOfComponents() const {
    switch (model_) {
      case CGColorSpaceModel::monochrome: return 1;
      case CGColorSpaceModel::rgb: return 3;
      default: return 0;
    }
  }

  friend constexpr bool operator==(const CGColorSpace&, const CGColorSpace&) = default;

 private:
  CGColorSpaceModel model_;
};

[[nodiscard]] constexpr CGColorSpace CGColorSpaceCreateDeviceRGB() { return CGColorSpace(CGColorSpaceModel::rgb); }
[[nodiscard]] constexpr CGColorSpace CGColorSpaceCreateDeviceGray() {
  return CGColorSpace(CGColorSpaceModel::monochrome);
}

}  // namespace ios
