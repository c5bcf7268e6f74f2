// File: KPQuaslet/views/Shadow.h
//
// A layer shadow as one value: colour, offset, opacity and blur radius, with three
// presets.
//
//   kp::setShadow(*card, kp::Shadow::Dark());
//   kp::Shadow s = kp::shadow(*card);
//   s.radius = 4;
//   kp::setShadow(*card, s);
//
// Equality compares the colours by value and the numbers exactly. A layer keeps its
// shadow opacity in single precision, so a shadow written to a view and read back has
// its opacity rounded to float: shadow(view) after setShadow(view, Light()) is not
// equal to Light() (0.30000001192092896 against 0.3).
#pragma once

#include <ostream>
#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIOffset.h"

namespace kp {

struct Shadow {
  ios::UIColor color;
  ios::UIOffset offset;
  ios::CGFloat opacity = 0;
  ios::CGFloat radius = 0;

  Shadow(ios::UIColor color_, ios::UIOffset offset_, ios::CGFloat opacity_, ios::CGFloat radius_)
      : color(std::move(color_)), offset(offset_), opacity(opacity_), radius(radius_) {}

  // Clear, no offset, opacity 0, radius 0.
  [[nodiscard]] static const Shadow& None();
  // Black, no offset, opacity 0.3, radius 1.
  [[nodiscard]] static const Shadow& Light();
  // Black, offset (2, 2), opacity 0.8, radius 3.
  [[nodiscard]] static const Shadow& Dark();

  // "Shadow(offset: UIOffset(horizontal: 2.0, vertical: 2.0), opacity: 0.8, radius: 3.0,
  // color: <the colour's description>)".
  [[nodiscard]] std::string debugDescription() const;

  // Colours equal by value, then offset, opacity and radius exactly; stops at the first
  // difference.
  friend bool operator==(const Shadow& a, const Shadow& b) {
    return a.color == b.color && a.offset.horizontal == b.offset.horizontal &&
           a.offset.vertical == b.offset.vertical && a.opacity == b.opacity && a.radius == b.radius;
  }
  friend std::ostream& operator<<(std::ostream& os, const Shadow& s) { return os << s.debugDescription(); }
};

}  // namespace kp
