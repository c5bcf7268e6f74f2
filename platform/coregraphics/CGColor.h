// File: platform/coregraphics/CGColor.h
//
// A colour in a colour space: its components, alpha last.
//
//   ios::CGColor red(ios::CGColorSpaceCreateDeviceRGB(), {1, 0, 0, 1});
//   red.components()[0];                                      // 1
//
// Fidelity: an immutable value. RGB colours have 4 components, grey ones 2 (white,
// alpha), pattern colours none (alpha 1). Components are kept exactly as given, also
// outside 0...1 (extended range). Equality compares the space and the components bit
// for bit (with -0 equal to 0).
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>

#include "platform/coregraphics/CGColorSpace.h"
#include "platform/coregraphics/CGGeometry.h"

namespace ios {

class CGColor {
 public:
  // A colour of `space` with `components` (the space's count plus alpha). Missing
  // components read as 0; extra ones are dropped.
  CGColor(CGColorSpace space, std::initializer_list<CGFloat> components);
  CGColor(CGColorSpace space, std::span<const CGFloat> components);

  // A pattern colour: no components, alpha 1.
  [[nodiscard]] static CGColor pattern();

  [[nodiscard]] CGColorSpace colorSpace() const { return space_; }
  [[nodiscard]] std::size_t numberOfComponents() const { return count_; }
  [[nodiscard]] std::span<const CGFloat> components() const { return {values_.data(), count_}; }
  [[nodiscard]] CGFloat alpha() const { return count_ == 0 ? 1.0 : values_[count_ - 1]; }

  // The same colour with another alpha.
  [[nodiscard]] CGColor copyWithAlpha(CGFloat alpha) const;

  // Converts to red, green, blue and alpha (grey w becomes w, w, w). False for a
  // pattern colour, which leaves the outputs untouched.
  bool rgba(CGFloat& red, CGFloat& green, CGFloat& blue, CGFloat& alpha) const;

  friend bool operator==(const CGColor& a, const CGColor& b);

 private:
  CGColor() : space_(CGColorSpaceModel::pattern) {}

  CGColorSpace space_;
  std::array<CGFloat, 4> values_{};
  std::size_t count_ = 0;
};

}  // namespace ios
