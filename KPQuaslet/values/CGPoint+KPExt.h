// File: KPQuaslet/values/CGPoint+KPExt.h
//
// Distances between points, and points from text. The point operators are in
// CGOperators.h.
//
//   kp::distance(ios::CGPoint(0, 0), ios::CGPoint(3, 4));   // 5
//   kp::makePoint("3,4");                                   // (3, 4)
//   using namespace kp::literals;
//   auto p = "{3, 4}"_point;
#pragma once

#include <cmath>
#include <cstddef>
#include <string_view>

#include "KPQuaslet/values/CGOperators.h"
#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// distance()
//
// √((to.x − from.x)² + (to.y − from.y)²): the distance between the two points, the
// same in either order (point.distance(from:) and CGPoint.distance(from:to:)).
[[nodiscard]] inline ios::CGFloat distance(const ios::CGPoint& from, const ios::CGPoint& to) {
  const ios::CGFloat dx = to.x - from.x;
  const ios::CGFloat dy = to.y - from.y;
  return std::sqrt(dx * dx + dy * dy);
}

// makePoint()
//
// The point a literal spells: ios::CGPointFromString() of text starting with "{",
// otherwise of "{" + text + "}". The empty text is the zero point.
[[nodiscard]] ios::CGPoint makePoint(std::string_view literal);

namespace literals {

// "3,4"_point: makePoint() of the literal.
[[nodiscard]] inline ios::CGPoint operator""_point(const char* text, std::size_t length) {
  return makePoint(std::string_view(text, length));
}

}  // namespace literals
}  // namespace kp
