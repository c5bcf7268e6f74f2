// Paths, fills, strokes, clips and linear gradients of CGContext.
#include <algorithm>
#include <cmath>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/internal/ContextState.h"

namespace ios {
namespace {

using Kind = CGPathElement::Kind;

void appendEllipse(cairo_t* cr, CGRect r) {
  if (r.size.width == 0 || r.size.height == 0) return;
  cairo_save(cr);
  cairo_translate(cr, r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2);
  cairo_scale(cr, r.size.width / 2, r.size.height / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void appendArc(cairo_t* cr, CGPoint c, CGFloat radius, CGFloat start, CGFloat end, bool clockwise) {
  if (!(radius >= 0) || !std::isfinite(radius)) return;
  if (clockwise) {
    cairo_arc_negative(cr, c.x, c.y, radius, start, end);
  } else {
    cairo_arc(cr, c.x, c.y, radius, start, end);
  }
}

// A line towards t1 that turns into the direction of t2 by an arc of `radius`.
void appendTangentArc(cairo_t* cr, CGPoint t1, CGPoint t2, CGFloat radius) {
  if (!cairo_has_current_point(cr)) {
    cairo_move_to(cr, t1.x, t1.y);
    return;
  }
  CGPoint p0;
  cairo_get_current_point(cr, &p0.x, &p0.y);
  const double ux = p0.x - t1.x, uy = p0.y - t1.y, vx = t2.x - t1.x, vy = t2.y - t1.y;
  const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
  const double cross = ux * vy - uy * vx;
  if (!(radius > 0) || lu == 0 || lv == 0 || std::fabs(cross) < 1e-12 * lu * lv || !std::isfinite(radius)) {
    cairo_line_to(cr, t1.x, t1.y);
    return;
  }
  const double ax = ux / lu, ay = uy / lu, bx = vx / lv, by = vy / lv;
  const double theta = std::acos(std::clamp(ax * bx + ay * by, -1.0, 1.0));
  const double d = radius / std::tan(theta / 2);
  const double startX = t1.x + ax * d, startY = t1.y + ay * d;
  const double endX = t1.x + bx * d, endY = t1.y + by * d;
  const double bisX = ax + bx, bisY = ay + by, bisL = std::hypot(bisX, bisY);
  const double h = radius / std::sin(theta / 2);
  const double cx = t1.x + bisX / bisL * h, cy = t1.y + bisY / bisL * h;
  const double a0 = std::atan2(startY - cy, startX - cx), a1 = std::atan2(endY - cy, endX - cx);
  cairo_line_to(cr, startX, startY);
  // The arc turns the same way as the corner p0 -> t1 -> t2.
  if (cross < 0) {
    cairo_arc(cr, cx, cy, radius, a0, a1);
  } else {
    cairo_arc_negative(cr, cx, cy, radius, a0, a1);
  }
}

void appendPath(cairo_t* cr, const CGPath& path) {
  for (const CGPathElement& e : path.elements()) {
    switch (e.kind) {
      case Kind::move: cairo_move_to(cr, e.p0.x, e.p0.y); break;
      case Kind::line: cairo_line_to(cr, e.p0.x, e.p0.y); break;
      case Kind::quad: {
        double x0 = e.p1.x, y0 = e.p1.y;
        if (cairo_has_current_point(cr)) cairo_get_current_point(cr, &x0, &y0);
        cairo_curve_to(cr, x0 + 2.0 / 3.0 * (e.p1.x - x0), y0 + 2.0 / 3.0 * (e.p1.y - y0),
                       e.p0.x + 2.0 / 3.0 * (e.p1.x - e.p0.x), e.p0.y + 2.0 / 3.0 * (e.p1.y - e.p0.y), e.p0.x,
                       e.p0.y);
        break;
      }
      case Kind::curve: cairo_curve_to(cr, e.p1.x, e.p1.y, e.p2.x, e.p2.y, e.p0.x, e.p0.y); break;
      case Kind::arc: appendArc(cr, e.p0, e.radius, e.startAngle, e.endAngle, e.clockwise); break;
      case Kind::tangentArc: appendTangentArc(cr, e.p0, e.p1, e.radius); break;
      case Kind::rect: cairo_rectangle(cr, e.rect.origin.x, e.rect.origin.y, e.rect.size.width, e.rect.size.height); break;
      case Kind::ellipse: appendEllipse(cr, e.rect); break;
      case Kind::close: cairo_close_path(cr); break;
    }
  }
}

cairo_fill_rule_t fillRule(CGPathFillRule rule) {
  return rule == CGPathFillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

}  // namespace

void CGContext::beginPath() { cairo_new_path(state_->cr); }
void CGContext::move(CGPoint to) { cairo_move_to(state_->cr, to.x, to.y); }
void CGContext::addLine(CGPoint to) { cairo_line_to(state_->cr, to.x, to.y); }
void CGContext::addQuadCurve(CGPoint to, CGPoint control) {
  CGPath path;
  path.addQuadCurve(to, control);
  appendPath(state_->cr, path);
}
void CGContext::addCurve(CGPoint to, CGPoint c1, CGPoint c2) { cairo_curve_to(state_->cr, c1.x, c1.y, c2.x, c2.y, to.x, to.y); }
void CGContext::addRect(CGRect r) { cairo_rectangle(state_->cr, r.origin.x, r.origin.y, r.size.width, r.size.height); }
void CGContext::addEllipse(CGRect in) { appendEllipse(state_->cr, in); }
void CGContext::addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
  appendArc(state_->cr, center, radius, startAngle, endAngle, clockwise);
}
void CGContext::addArc(CGPoint tangent1End, CGPoint tangent2End, CGFloat radius) {
  appendTangentArc(state_->cr, tangent1End, tangent2End, radius);
}
void CGContext::closePath() { cairo_close_path(state_->cr); }
void CGContext::addPath(const CGPath& path) { appendPath(state_->cr, path); }

bool CGContext::isPathEmpty() const {
  cairo_path_t* path = cairo_copy_path(state_->cr);
  const bool empty = path->num_data == 0;
  cairo_path_destroy(path);
  return empty;
}

void CGContext::drawPath(CGPathDrawingMode mode) {
  const bool fills = mode != CGPathDrawingMode::stroke;
  const bool strokes = mode == CGPathDrawingMode::stroke || mode == CGPathDrawingMode::fillStroke ||
                       mode == CGPathDrawingMode::eoFillStroke;
  const bool evenOdd = mode == CGPathDrawingMode::eoFill || mode == CGPathDrawingMode::eoFillStroke;
  auto& s = *state_;
  s.paint([&](cairo_t* cr) {
    if (fills && s.setSourceColor(s.g.fill)) {
      // A clip plus a paint keeps every blend mode bounded by the shape.
      cairo_save(cr);
      cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
      cairo_clip_preserve(cr);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    if (strokes && s.setSourceColor(s.g.stroke)) cairo_stroke_preserve(cr);
    cairo_new_path(cr);
  });
}

void CGContext::fillPath(CGPathFillRule rule) {
  drawPath(rule == CGPathFillRule::evenOdd ? CGPathDrawingMode::eoFill : CGPathDrawingMode::fill);
}
void CGContext::strokePath() { drawPath(CGPathDrawingMode::stroke); }

namespace {

// Runs `paint` on a path of its own, leaving the current path as it was.
template <class Paint>
void withOwnPath(cairo_t* cr, Paint&& paint) {
  cairo_path_t* kept = cairo_copy_path(cr);
  cairo_new_path(cr);
  paint();
  cairo_new_path(cr);
  cairo_append_path(cr, kept);
  cairo_path_destroy(kept);
}

}  // namespace

void CGContext::fill(CGRect rect) {
  withOwnPath(state_->cr, [&] {
    addRect(rect);
    drawPath(CGPathDrawingMode::fill);
  });
}

void CGContext::stroke(CGRect rect) {
  withOwnPath(state_->cr, [&] {
    addRect(rect);
    drawPath(CGPathDrawingMode::stroke);
  });
}

void CGContext::clear(CGRect rect) {
  cairo_t* cr = state_->cr;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
  state_->sync();
}

void CGContext::clip(CGPathFillRule rule) {
  cairo_set_fill_rule(state_->cr, fillRule(rule));
  cairo_clip(state_->cr);
}

void CGContext::clip(CGRect to) {
  withOwnPath(state_->cr, [&] {
    addRect(to);
    cairo_set_fill_rule(state_->cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(state_->cr);
  });
}

void CGContext::drawLinearGradient(const CGGradient& gradient, CGPoint start, CGPoint end,
                                   CGGradientDrawingOptions options) {
  const bool before = (options & kCGGradientDrawsBeforeStartLocation) != 0;
  const bool after = (options & kCGGradientDrawsAfterEndLocation) != 0;
  const double dx = end.x - start.x, dy = end.y - start.y, length = std::hypot(dx, dy);
  if (!(length > 0) || !std::isfinite(length)) return;
  auto& s = *state_;
  s.paint([&](cairo_t* cr) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    for (const auto& stop : gradient.stops()) {
      cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), stop.red, stop.green,
                                        stop.blue, std::clamp(stop.alpha, 0.0, 1.0));
    }
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_save(cr);
    if (before != after) {
      // Padding on one side only: keep the half-plane on that side of the other end.
      const double ux = dx / length, uy = dy / length, nx = -uy, ny = ux, far = 1e5;  // within cairo's fixed point
      const CGPoint edge = before ? end : start;
      const double sign = before ? -1.0 : 1.0;
      cairo_new_path(cr);
      cairo_move_to(cr, edge.x + nx * far, edge.y + ny * far);
      cairo_line_to(cr, edge.x - nx * far, edge.y - ny * far);
      cairo_line_to(cr, edge.x - nx * far + sign * ux * far, edge.y - ny * far + sign * uy * far);
      cairo_line_to(cr, edge.x + nx * far + sign * ux * far, edge.y + ny * far + sign * uy * far);
      cairo_close_path(cr);
      cairo_clip(cr);
    }
    cairo_set_source(cr, pattern);
    cairo_paint_with_alpha(cr, s.g.alpha);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
  });
}

}  // namespace ios
