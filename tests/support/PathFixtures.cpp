#include "tests/support/PathFixtures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kp_test {

using ios::CGFloat;
using ios::CGPoint;
using ios::CGRect;

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

}  // namespace kp_test
