#include "KPQuaslet/views/internal/RoundedRectPath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kp::views_internal {

using ios::CGFloat;
using ios::CGPoint;
using ios::CGRect;
using ios::CGSize;

namespace {

// The control-point distance of a cubic that approximates a quarter circle.
constexpr CGFloat kKappa = 0.5522847498307936;

}  // namespace

ios::CGPath roundedRectPath(CGRect rect, ios::UIRectCorner corners, CGSize radii) {
  const CGRect r = rect.standardized();
  const CGFloat rx = std::clamp(radii.width, 0.0, r.size.width / 2);
  const CGFloat ry = std::clamp(radii.height, 0.0, r.size.height / 2);
  auto radiusFor = [&](ios::UIRectCorner corner) {
    return ios::contains(corners, corner) ? CGSize(rx, ry) : CGSize();
  };
  const CGSize tl = radiusFor(ios::UIRectCorner::topLeft);
  const CGSize tr = radiusFor(ios::UIRectCorner::topRight);
  const CGSize br = radiusFor(ios::UIRectCorner::bottomRight);
  const CGSize bl = radiusFor(ios::UIRectCorner::bottomLeft);
  const CGFloat x1 = r.minX(), y1 = r.minY(), x2 = r.maxX(), y2 = r.maxY();

  ios::CGMutablePath path;
  path.move({x1 + tl.width, y1});
  path.addLine({x2 - tr.width, y1});
  if (tr.width > 0 && tr.height > 0) {
    path.addCurve({x2, y1 + tr.height}, {x2 - tr.width * (1 - kKappa), y1}, {x2, y1 + tr.height * (1 - kKappa)});
  }
  path.addLine({x2, y2 - br.height});
  if (br.width > 0 && br.height > 0) {
    path.addCurve({x2 - br.width, y2}, {x2, y2 - br.height * (1 - kKappa)}, {x2 - br.width * (1 - kKappa), y2});
  }
  path.addLine({x1 + bl.width, y2});
  if (bl.width > 0 && bl.height > 0) {
    path.addCurve({x1, y2 - bl.height}, {x1 + bl.width * (1 - kKappa), y2}, {x1, y2 - bl.height * (1 - kKappa)});
  }
  path.addLine({x1, y1 + tl.height});
  if (tl.width > 0 && tl.height > 0) {
    path.addCurve({x1 + tl.width, y1}, {x1, y1 + tl.height * (1 - kKappa)}, {x1 + tl.width * (1 - kKappa), y1});
  }
  path.closeSubpath();
  return path;
}

namespace {

// The path as closed polygons.
std::vector<std::vector<CGPoint>> flatten(const ios::CGPath& path) {
  std::vector<std::vector<CGPoint>> polygons;
  CGPoint current, start;
  auto point = [&](CGPoint p) {
    if (polygons.empty()) polygons.push_back({current});
    polygons.back().push_back(p);
    current = p;
  };
  for (const ios::CGPathElement& e : path.elements()) {
    using Kind = ios::CGPathElement::Kind;
    switch (e.kind) {
      case Kind::move:
        polygons.push_back({e.p0});
        current = start = e.p0;
        break;
      case Kind::line:
      case Kind::tangentArc:
        point(e.p0);
        break;
      case Kind::quad: {
        const CGPoint a = current;
        for (int i = 1; i <= 16; ++i) {
          const CGFloat t = i / 16.0, u = 1 - t;
          point({u * u * a.x + 2 * u * t * e.p1.x + t * t * e.p0.x, u * u * a.y + 2 * u * t * e.p1.y + t * t * e.p0.y});
        }
        break;
      }
      case Kind::curve: {
        const CGPoint a = current;
        for (int i = 1; i <= 16; ++i) {
          const CGFloat t = i / 16.0, u = 1 - t;
          const CGFloat w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
          point({w0 * a.x + w1 * e.p1.x + w2 * e.p2.x + w3 * e.p0.x, w0 * a.y + w1 * e.p1.y + w2 * e.p2.y + w3 * e.p0.y});
        }
        break;
      }
      case Kind::arc: {
        CGFloat sweep = e.endAngle - e.startAngle;
        for (int i = 0; i <= 32; ++i) {
          const CGFloat a = e.startAngle + sweep * i / 32.0;
          point({e.p0.x + e.radius * std::cos(a), e.p0.y + e.radius * std::sin(a)});
        }
        break;
      }
      case Kind::rect:
      case Kind::ellipse: {
        const CGRect r = e.rect.standardized();
        polygons.push_back({{r.minX(), r.minY()}, {r.maxX(), r.minY()}, {r.maxX(), r.maxY()}, {r.minX(), r.maxY()}});
        current = start = r.origin;
        break;
      }
      case Kind::close:
        point(start);
        current = start;
        break;
    }
  }
  return polygons;
}

}  // namespace

bool pathContains(const ios::CGPath& path, CGPoint p) {
  int winding = 0;
  for (const auto& polygon : flatten(path)) {
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const CGPoint a = polygon[i];
      const CGPoint b = polygon[(i + 1) % polygon.size()];
      const CGFloat side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
      if (a.y <= p.y) {
        if (b.y > p.y && side > 0) ++winding;
      } else if (b.y <= p.y && side < 0) {
        --winding;
      }
    }
  }
  return winding != 0;
}

CGRect pathBoundingBox(const ios::CGPath& path) {
  bool any = false;
  CGFloat x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  auto add = [&](CGPoint p) {
    if (!any) {
      x1 = x2 = p.x;
      y1 = y2 = p.y;
      any = true;
      return;
    }
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  };
  for (const ios::CGPathElement& e : path.elements()) {
    using Kind = ios::CGPathElement::Kind;
    switch (e.kind) {
      case Kind::move:
      case Kind::line:
        add(e.p0);
        break;
      case Kind::quad:
        add(e.p0);
        add(e.p1);
        break;
      case Kind::curve:
        add(e.p0);
        add(e.p1);
        add(e.p2);
        break;
      case Kind::tangentArc:
        add(e.p0);
        add(e.p1);
        break;
      case Kind::arc:
        add({e.p0.x - e.radius, e.p0.y - e.radius});
        add({e.p0.x + e.radius, e.p0.y + e.radius});
        break;
      case Kind::rect:
      case Kind::ellipse:
        add(e.rect.origin);
        add({e.rect.maxX(), e.rect.maxY()});
        break;
      case Kind::close:
        break;
    }
  }
  return any ? CGRect(x1, y1, x2 - x1, y2 - y1) : CGRect();
}

}  // namespace kp::views_internal
