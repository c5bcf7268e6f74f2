#include "platform/coregraphics/CGPath.h"

namespace ios {
namespace {

using Kind = CGPathElement::Kind;

CGPathElement element(Kind kind, CGPoint p0 = {}, CGPoint p1 = {}, CGPoint p2 = {}) {
  CGPathElement e{};
  e.kind = kind, e.p0 = p0, e.p1 = p1, e.p2 = p2;
  return e;
}

}  // namespace

void CGMutablePath::move(CGPoint to) { elements_.push_back(element(Kind::move, to)); }
void CGMutablePath::addLine(CGPoint to) { elements_.push_back(element(Kind::line, to)); }
void CGMutablePath::addQuadCurve(CGPoint to, CGPoint control) {
  elements_.push_back(element(Kind::quad, to, control));
}
void CGMutablePath::addCurve(CGPoint to, CGPoint control1, CGPoint control2) {
  elements_.push_back(element(Kind::curve, to, control1, control2));
}
void CGMutablePath::addRect(CGRect rect) {
  CGPathElement e = element(Kind::rect);
  e.rect = rect;
  elements_.push_back(e);
}
void CGMutablePath::addEllipse(CGRect in) {
  CGPathElement e = element(Kind::ellipse);
  e.rect = in;
  elements_.push_back(e);
}
void CGMutablePath::addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
  CGPathElement e = element(Kind::arc, center);
  e.radius = radius, e.startAngle = startAngle, e.endAngle = endAngle, e.clockwise = clockwise;
  elements_.push_back(e);
}
void CGMutablePath::addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius) {
  CGPathElement e = element(Kind::tangentArc, tangent1End, tangent2End);
  e.radius = radius;
  elements_.push_back(e);
}
void CGMutablePath::closeSubpath() { elements_.push_back(element(Kind::close)); }

}  // namespace ios
