// File: platform/uikit/UIBezierPath.h
//
// UIKit's path object: rectangles, rounded rectangles with any set of corners, arcs
// (around a centre, and the tangent form of the underlying CGPath), lines and curves;
// filled, stroked or clipped to in the current UIKit context.
//
//   auto path = ios::UIBezierPath::make({{0, 0}, {100, 40}}, 8);   // rounded rectangle
//   path->addClip();                                                 // clip the current context
//
// Fidelity: a rounded rectangle's corners are quarter ellipses of the given radii (the
// platform's smoother "continuous" corner curve is not reproduced); radii too long for
// the rectangle shrink together, keeping the corners' shape, until each fits in half
// its side: a circular corner is at most half the shorter side. Line dashes, flatness, containment tests and the bounds
// are absent.
#pragma once

#include <memory>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/uikit/UIGeometry.h"

namespace ios {

class UIBezierPath {
 public:
  // UIBezierPath() / UIBezierPath(rect:)
  //
  // An empty path; a closed rectangle.
  [[nodiscard]] static std::shared_ptr<UIBezierPath> make();
  [[nodiscard]] static std::shared_ptr<UIBezierPath> make(CGRect rect);

  // UIBezierPath(roundedRect:cornerRadius:)
  //
  // A closed rectangle with all four corners rounded by `cornerRadius` (at most half
  // the shorter side; 0 or less gives square corners).
  [[nodiscard]] static std::shared_ptr<UIBezierPath> make(CGRect roundedRect, CGFloat cornerRadius);

  // UIBezierPath(roundedRect:byRoundingCorners:cornerRadii:)
  //
  // A closed rectangle whose `corners` are rounded by quarter ellipses of
  // `cornerRadii` (width along x, height along y). Radii that do not fit in half their
  // side are scaled down together, in proportion, so equal radii stay equal: a 40 x 20
  // rectangle with radii (100, 100) has round ends of radius 10.
  [[nodiscard]] static std::shared_ptr<UIBezierPath> make(CGRect roundedRect, UIRectCorner corners,
                                                          CGSize cornerRadii);

  // UIBezierPath(arcCenter:radius:startAngle:endAngle:clockwise:)
  //
  // An open circular arc; angles in radians, `clockwise` as seen on screen (y down).
  [[nodiscard]] static std::shared_ptr<UIBezierPath> make(CGPoint arcCenter, CGFloat radius, CGFloat startAngle,
                                                          CGFloat endAngle, bool clockwise);

  // Building the path.
  void move(CGPoint to);
  void addLine(CGPoint to);
  void addQuadCurve(CGPoint to, CGPoint controlPoint);
  void addCurve(CGPoint to, CGPoint controlPoint1, CGPoint controlPoint2);
  // addArc(withCenter:radius:startAngle:endAngle:clockwise:): a line from the current
  // point to the arc's start, then the arc.
  void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
  void close();
  // Appends every element of `path`.
  void append(const UIBezierPath& path);

  [[nodiscard]] bool isEmpty() const { return path_.isEmpty(); }
  // The underlying path (its tangent arcs are CGMutablePath::addArc(tangent1End:...)).
  [[nodiscard]] const CGPath& cgPath() const { return path_; }
  [[nodiscard]] CGPath& cgPath() { return path_; }

  [[nodiscard]] CGFloat lineWidth() const { return lineWidth_; }
  void setLineWidth(CGFloat width) { lineWidth_ = width; }
  [[nodiscard]] bool usesEvenOddFillRule() const { return evenOdd_; }
  void setUsesEvenOddFillRule(bool evenOdd) { evenOdd_ = evenOdd; }

  // addClip() / fill() / stroke()
  //
  // Intersect the current UIKit context's clip with the path, or paint it with the
  // context's fill colour or stroke colour (at lineWidth()); nothing without a context.
  void addClip() const;
  void fill() const;
  void stroke() const;

 private:
  CGMutablePath path_;
  CGFloat lineWidth_ = 1;
  bool evenOdd_ = false;
};

using UIBezierPathRef = std::shared_ptr<UIBezierPath>;

}  // namespace ios
