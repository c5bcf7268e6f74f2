// File: KPQuaslet/imaging/Gradient.h
//
// Linear gradients: the unit-space start and end points of a gradient for a named
// direction or an angle (KPDirection), and images filled with a linear gradient or a
// solid colour (KPImageGradientDirection).
//
//   auto d = kp::KPDirection::degree(90);                 // top to bottom
//   d.startPoint();                                       // about (0.5, 0)
//   auto banner = kp::makeImage({320, 44}, kp::KPImageGradientDirection::toRight(),
//                               {ios::UIColor::red(), ios::UIColor::blue()});
//
// Angles are in degrees, turned into radians with π = 3.141592653589793. Unit
// coordinates run from 0 to 1 across the width and the height, origin at the top-left
// corner, y down. Every image is drawn afresh; nothing is cached.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// The direction in which a gradient's colours run, in a layer's unit space.
class KPDirection {
 public:
  enum class Kind { degree, top, left, right, bottom };

  // degree(d): from ((cos r + 1) / 2, (1 - sin r) / 2) to ((cos(r + π) + 1) / 2,
  // (sin r + 1) / 2): 0 runs right to left, 90 top to bottom, 180 left to right, 270
  // bottom to top.
  [[nodiscard]] static constexpr KPDirection degree(ios::CGFloat degrees) { return {Kind::degree, degrees}; }
  // top: bottom edge to top edge; left: right to left; right: left to right; bottom:
  // top to bottom (each through the middle of the other axis).
  [[nodiscard]] static constexpr KPDirection top() { return {Kind::top, 0}; }
  [[nodiscard]] static constexpr KPDirection left() { return {Kind::left, 0}; }
  [[nodiscard]] static constexpr KPDirection right() { return {Kind::right, 0}; }
  [[nodiscard]] static constexpr KPDirection bottom() { return {Kind::bottom, 0}; }

  [[nodiscard]] constexpr Kind kind() const { return kind_; }
  // The angle of degree(d); 0 for the named directions.
  [[nodiscard]] constexpr ios::CGFloat degrees() const { return degrees_; }

  // Where the colours start and end, in unit coordinates; the two lie symmetric about
  // the centre (0.5, 0.5).
  [[nodiscard]] ios::CGPoint startPoint() const;
  [[nodiscard]] ios::CGPoint endPoint() const;

  friend constexpr bool operator==(const KPDirection&, const KPDirection&) = default;

 private:
  constexpr KPDirection(Kind kind, ios::CGFloat degrees) : kind_(kind), degrees_(degrees) {}
  Kind kind_;
  ios::CGFloat degrees_;
};

// The direction of a gradient image, across an image of width W and height H points.
class KPImageGradientDirection {
 public:
  enum class Kind { degree, toLeft, toRight, toTop, toBottom, toBottomLeft, toBottomRight, toTopLeft, toTopRight };

  // degree(d): from (W (cos r + 1) / 2, H (1 - sin r) / 2) to (W (cos(r + π) + 1) / 2,
  // H (sin r + 1) / 2).
  [[nodiscard]] static constexpr KPImageGradientDirection degree(ios::CGFloat degrees) {
    return {Kind::degree, degrees};
  }
  // The edge or corner the colours run to, from the opposite one (edges through their
  // middle).
  [[nodiscard]] static constexpr KPImageGradientDirection toLeft() { return {Kind::toLeft, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toRight() { return {Kind::toRight, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toTop() { return {Kind::toTop, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toBottom() { return {Kind::toBottom, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toBottomLeft() { return {Kind::toBottomLeft, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toBottomRight() { return {Kind::toBottomRight, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toTopLeft() { return {Kind::toTopLeft, 0}; }
  [[nodiscard]] static constexpr KPImageGradientDirection toTopRight() { return {Kind::toTopRight, 0}; }

  [[nodiscard]] constexpr Kind kind() const { return kind_; }
  [[nodiscard]] constexpr ios::CGFloat degrees() const { return degrees_; }

  // Where the gradient starts and ends on an image of `size` points.
  [[nodiscard]] ios::CGPoint startPoint(ios::CGSize size) const;
  [[nodiscard]] ios::CGPoint endPoint(ios::CGSize size) const;

  friend constexpr bool operator==(const KPImageGradientDirection&, const KPImageGradientDirection&) = default;

 private:
  constexpr KPImageGradientDirection(Kind kind, ios::CGFloat degrees) : kind_(kind), degrees_(degrees) {}
  Kind kind_;
  ios::CGFloat degrees_;
};

// The direction as it is printed: the case name ("top", "toBottomLeft"), or
// "degree(45.0)" with the angle.
[[nodiscard]] std::string ios_describe(const KPDirection& direction);
[[nodiscard]] std::string ios_describe(const KPImageGradientDirection& direction);
// The case name of a kind ("degree", "toTopRight").
[[nodiscard]] std::string ios_describe(KPDirection::Kind kind);
[[nodiscard]] std::string ios_describe(KPImageGradientDirection::Kind kind);

// makeImage()
//
// An image of `size` points holding a linear gradient through `colors` (evenly spaced,
// the first at the start point, the last at the end point; nothing painted beyond
// either end) in `direction`, or one colour's solid fill. Drawn at the main screen's
// scale s and returned at scale 1, so that it is W × s by H × s points. Nothing when
// there are no colours, a colour has no RGB form (a pattern colour), or no bitmap of
// that size can be made. Grey colours enter as their RGB equivalents.
[[nodiscard]] std::optional<ios::UIImage> makeImage(ios::CGSize size, KPImageGradientDirection direction,
                                                    const std::vector<ios::UIColor>& colors);

// makeImageFillColor()
//
// An image of `size` points filled with `fillColor`, drawn at the main screen's scale
// and returned at scale 1; nothing when no bitmap of that size can be made.
[[nodiscard]] std::optional<ios::UIImage> makeImageFillColor(const ios::UIColor& fillColor, ios::CGSize size);

}  // namespace kp
