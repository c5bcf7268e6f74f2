// File: platform/coreimage/CIColor.h
//
// Core Image's colour value: red, green, blue and alpha of any UIColor.
//
//   ios::CIColor c(ios::UIColor::white());
//   c.red();                                                  // 1
//
// Fidelity: grey colours read as (w, w, w, a); a pattern colour reads as (0, 0, 0, 1).
// Components are kept unclamped. Colour-space and string forms are absent.
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"

namespace ios {

class CIColor {
 public:
  // CIColor(color:)
  explicit CIColor(const UIColor& color) { color.cgColor().rgba(red_, green_, blue_, alpha_); }

  [[nodiscard]] CGFloat red() const { return red_; }
  [[nodiscard]] CGFloat green() const { return green_; }
  [[nodiscard]] CGFloat blue() const { return blue_; }
  [[nodiscard]] CGFloat alpha() const { return alpha_; }

 private:
  CGFloat red_ = 0, green_ = 0, blue_ = 0, alpha_ = 1;
};

}  // namespace ios
