#include "platform/uikit/UIBezierPath.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/ScopeExit.h"
#include "platform/uikit/UIGraphics.h"

namespace ios {
namespace {

// How far along the tangent the control points of a quarter ellipse sit.
constexpr CGFloat kKappa = 0.5522847498307936;

// Appends a quarter ellipse from `from` to `to` around the corner point `corner`.
void addCorner(CGMutablePath& path, CGPoint from, CGPoint corner, CGPoint to) {
  const CGPoint c1{from.x + (corner.x - from.x) * kKappa, from.y + (corner.y - from.y) * kKappa};
  const CGPoint c2{to.x + (corner.x - to.x) * kKappa, to.y + (corner.y - to.y) * kKappa};
  path.addCurve(to, c1, c2);
}

CGRect standardized(CGRect r) {
  if (r.size.width < 0) r.origin.x += r.size.width, r.size.width = -r.size.width;
  if (r.size.height < 0) r.origin.y += r.size.height, r.size.height = -r.size.height;
  return r;
}

}  // namespace

std::shared_ptr<UIBezierPath> UIBezierPath::make() { return std::make_shared<UIBezierPath>(); }

std::shared_ptr<UIBezierPath> UIBezierPath::make(CGRect rect) {
  auto path = make();
  path->path_.addRect(rect);
  return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::make(CGRect roundedRect, CGFloat cornerRadius) {
  const CGFloat r = cornerRadius > 0 ? cornerRadius : 0;
  // Circular corners stay circular: the radius is limited by the shorter side.
  return make(roundedRect, UIRectCorner::allCorners, {r, r});
}

std::shared_ptr<UIBezierPath> UIBezierPath::make(CGRect roundedRect, UIRectCorner corners, CGSize cornerRadii) {
  const CGRect r = standardized(roundedRect);
  auto usable = [](CGFloat radius) { return std::isfinite(radius) && radius > 0 ? radius : 0.0; };
  CGFloat rx = usable(cornerRadii.width), ry = usable(cornerRadii.height);
  // Radii too long for their sides shrink together, so that a corner keeps its shape: a
  // circular corner is at most half the shorter side (a capsule, not an ellipse).
  CGFloat shrink = 1;
  if (rx > r.size.width / 2) shrink = std::min(shrink, r.size.width / 2 / rx);
  if (ry > r.size.height / 2) shrink = std::min(shrink, r.size.height / 2 / ry);
  rx *= shrink;
  ry *= shrink;
  const CGFloat x0 = r.origin.x, y0 = r.origin.y, x1 = x0 + r.size.width, y1 = y0 + r.size.height;
  auto rounded = [&](UIRectCorner corner) { return rx > 0 && ry > 0 && contains(corners, corner); };
  auto path = make();
  CGMutablePath& p = path->path_;
  // Clockwise on screen from the top-left corner's end.
  const bool tl = rounded(UIRectCorner::topLeft), tr = rounded(UIRectCorner::topRight);
  const bool br = rounded(UIRectCorner::bottomRight), bl = rounded(UIRectCorner::bottomLeft);
  p.move({tl ? x0 + rx : x0, y0});
  p.addLine({tr ? x1 - rx : x1, y0});
  if (tr) addCorner(p, {x1 - rx, y0}, {x1, y0}, {x1, y0 + ry});
  p.addLine({x1, br ? y1 - ry : y1});
  if (br) addCorner(p, {x1, y1 - ry}, {x1, y1}, {x1 - rx, y1});
  p.addLine({bl ? x0 + rx : x0, y1});
  if (bl) addCorner(p, {x0 + rx, y1}, {x0, y1}, {x0, y1 - ry});
  p.addLine({x0, tl ? y0 + ry : y0});
  if (tl) addCorner(p, {x0, y0 + ry}, {x0, y0}, {x0 + rx, y0});
  p.closeSubpath();
  return path;
}

std::shared_ptr<UIBezierPath> UIBezierPath::make(CGPoint arcCenter, CGFloat radius, CGFloat startAngle,
                                                 CGFloat endAngle, bool clockwise) {
  auto path = make();
  path->addArc(arcCenter, radius, startAngle, endAngle, clockwise);
  return path;
}

void UIBezierPath::move(CGPoint to) { path_.move(to); }
void UIBezierPath::addLine(CGPoint to) { path_.addLine(to); }
void UIBezierPath::addQuadCurve(CGPoint to, CGPoint controlPoint) { path_.addQuadCurve(to, controlPoint); }
void UIBezierPath::addCurve(CGPoint to, CGPoint controlPoint1, CGPoint controlPoint2) {
  path_.addCurve(to, controlPoint1, controlPoint2);
}
// In UIKit's y-down space "clockwise" runs towards growing angles, which the path
// records as the counter-clockwise arc of a y-up space.
void UIBezierPath::addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
  path_.addArc(center, radius, startAngle, endAngle, !clockwise);
}
void UIBezierPath::close() { path_.closeSubpath(); }
void UIBezierPath::append(const UIBezierPath& path) {
  CGMutablePath copy = path_;
  for (const CGPathElement& e : path.path_.elements()) {
    switch (e.kind) {
      case CGPathElement::Kind::move: copy.move(e.p0); break;
      case CGPathElement::Kind::line: copy.addLine(e.p0); break;
      case CGPathElement::Kind::quad: copy.addQuadCurve(e.p0, e.p1); break;
      case CGPathElement::Kind::curve: copy.addCurve(e.p0, e.p1, e.p2); break;
      case CGPathElement::Kind::arc: copy.addArc(e.p0, e.radius, e.startAngle, e.endAngle, e.clockwise); break;
      case CGPathElement::Kind::tangentArc: copy.addArc(e.p0, e.p1, e.radius); break;
      case CGPathElement::Kind::rect: copy.addRect(e.rect); break;
      case CGPathElement::Kind::ellipse: copy.addEllipse(e.rect); break;
      case CGPathElement::Kind::close: copy.closeSubpath(); break;
    }
  }
  path_ = std::move(copy);
}

void UIBezierPath::addClip() const {
  CGContextRef context = UIGraphicsGetCurrentContext();
  if (!context) return;
  context->beginPath();
  context->addPath(path_);
  context->clip(evenOdd_ ? CGPathFillRule::evenOdd : CGPathFillRule::winding);
}

void UIBezierPath::fill() const {
  CGContextRef context = UIGraphicsGetCurrentContext();
  if (!context) return;
  context->saveGState();
  const ScopeExit restore([&context] { context->restoreGState(); });
  context->beginPath();
  context->addPath(path_);
  context->fillPath(evenOdd_ ? CGPathFillRule::evenOdd : CGPathFillRule::winding);
}

void UIBezierPath::stroke() const {
  CGContextRef context = UIGraphicsGetCurrentContext();
  if (!context) return;
  context->saveGState();
  const ScopeExit restore([&context] { context->restoreGState(); });
  context->setLineWidth(lineWidth_);
  context->beginPath();
  context->addPath(path_);
  context->strokePath();
}

}  // namespace ios
