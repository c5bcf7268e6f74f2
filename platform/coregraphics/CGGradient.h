// File: platform/coregraphics/CGGradient.h
//
// Colour ramps for CGContext::drawLinearGradient().
//
//   ios::CGFloat comps[] = {1, 0, 0, 1, 0, 0, 1, 1};
//   ios::CGFloat stops[] = {0, 1};
//   auto red_to_blue = ios::CGGradient::make(ios::CGColorSpaceCreateDeviceRGB(), comps, stops);
//
// Fidelity: RGB and grey spaces; colours are interpolated unpremultiplied. Radial
// gradients are absent.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGColorSpace.h"

namespace ios {

class CGGradient;
using CGGradientRef = std::shared_ptr<const CGGradient>;

class CGGradient {
 public:
  // make(colorSpace:colorComponents:locations:)
  //
  // A gradient of locations.size() colours whose components (the space's count plus
  // alpha each) follow one another in `components`. Empty locations spread the colours
  // evenly from 0 to 1. Null when the space is not RGB or grey, there is no colour, or
  // `components` is too short.
  [[nodiscard]] static CGGradientRef make(CGColorSpace space, std::span<const CGFloat> components,
                                          std::span<const CGFloat> locations, std::size_t count = 0);

  // make(colorsSpace:colors:locations:)
  //
  // A gradient through `colors` (each converted to RGB); null when a colour has no
  // RGB form or the counts differ.
  [[nodiscard]] static CGGradientRef make(std::span<const CGColor> colors, std::span<const CGFloat> locations);

  struct Stop {
    CGFloat location, red, green, blue, alpha;
  };
  [[nodiscard]] const std::vector<Stop>& stops() const { return stops_; }

 private:
  std::vector<Stop> stops_;
};

}  // namespace ios
