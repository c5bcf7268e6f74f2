// File: platform/coregraphics/CGPath.h
//
// Paths recorded once and drawn or clipped to later: lines, curves, rectangles, ellipses
// and circular arcs (also the tangent form), in the coordinates they were added in.
//
//   ios::CGMutablePath path;
//   path.move({0, 0});
//   path.addArc({0, 0}, {10, 0}, 4);          // a line that turns into a 4-unit arc
//
// Fidelity: a value type (copy to share). Transforms on add, element iteration and
// bounding boxes are absent.
#pragma once

#include <vector>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

// One recorded path operation.
struct CGPathElement {
  enum class Kind { move, line, quad, curve, arc, tangentArc, rect, ellipse, close };
  Kind kind;
  CGPoint p0, p1, p2;  // point / controls / centre / tangent ends
  CGFloat radius = 0, startAngle = 0, endAngle = 0;
  bool clockwise = false;
  CGRect rect;
};

class CGMutablePath {
 public:
  void move(CGPoint to);
  void addLine(CGPoint to);
  void addQuadCurve(CGPoint to, CGPoint control);
  void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
  void addRect(CGRect rect);
  void addEllipse(CGRect in);
  // A circular arc around `center` from `startAngle` to `endAngle` (radians), with a
  // line from the current point to its start. `clockwise` as the platform means it in a
  // y-up space: true runs towards decreasing angles.
  void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
  // A line towards `tangent1End` that turns, by an arc of `radius`, into the direction
  // of `tangent2End`; a plain line to `tangent1End` when the points are collinear or the
  // radius is 0.
  void addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius);
  void closeSubpath();

  [[nodiscard]] bool isEmpty() const { return elements_.empty(); }
  [[nodiscard]] const std::vector<CGPathElement>& elements() const { return elements_; }

 private:
  std::vector<CGPathElement> elements_;
};

using CGPath = CGMutablePath;

}  // namespace ios
