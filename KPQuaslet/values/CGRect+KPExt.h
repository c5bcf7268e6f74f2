// File: KPQuaslet/values/CGRect+KPExt.h
//
// Edges and centre of a rectangle that move it, and rectangles from text.
//
//   ios::CGRect r(10, 10, 20, 20);
//   kp::setRight(r, 50);            // r.origin.x == 30, width kept
//   kp::center(r);                  // (40, 20)
//   kp::makeRect("0,0,100,50");     // (0, 0, 100, 50)
//   using namespace kp::literals;
//   auto frame = "{{0, 0}, {320, 480}}"_rect;
//
// The accessors read and write the stored origin and size as they are: a negative
// width or height is not standardized (unlike the platform's minX() ... maxY()).
// Each setter keeps the size and moves the origin.
#pragma once

#include <cstddef>
#include <string_view>

#include "KPQuaslet/values/CGOperators.h"
#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// left(), setLeft(): x.
[[nodiscard]] constexpr ios::CGFloat left(const ios::CGRect& r) { return r.origin.x; }
constexpr void setLeft(ios::CGRect& r, ios::CGFloat v) { r.origin.x = v; }

// top(), setTop(): y.
[[nodiscard]] constexpr ios::CGFloat top(const ios::CGRect& r) { return r.origin.y; }
constexpr void setTop(ios::CGRect& r, ios::CGFloat v) { r.origin.y = v; }

// right(), setRight(): x + width; setting moves x to v - width.
[[nodiscard]] constexpr ios::CGFloat right(const ios::CGRect& r) { return r.origin.x + r.size.width; }
constexpr void setRight(ios::CGRect& r, ios::CGFloat v) { r.origin.x = v - r.size.width; }

// bottom(), setBottom(): y + height; setting moves y to v - height.
[[nodiscard]] constexpr ios::CGFloat bottom(const ios::CGRect& r) { return r.origin.y + r.size.height; }
constexpr void setBottom(ios::CGRect& r, ios::CGFloat v) { r.origin.y = v - r.size.height; }

// centerX(), setCenterX(): x + width × 0.5; setting moves x to v - width × 0.5.
[[nodiscard]] constexpr ios::CGFloat centerX(const ios::CGRect& r) { return r.origin.x + r.size.width * 0.5; }
constexpr void setCenterX(ios::CGRect& r, ios::CGFloat v) { r.origin.x = v - r.size.width * 0.5; }

// centerY(), setCenterY(): y + height × 0.5; setting moves y to v - height × 0.5.
[[nodiscard]] constexpr ios::CGFloat centerY(const ios::CGRect& r) { return r.origin.y + r.size.height * 0.5; }
constexpr void setCenterY(ios::CGRect& r, ios::CGFloat v) { r.origin.y = v - r.size.height * 0.5; }

// center(), setCenter(): (centerX, centerY); setting moves the origin to
// v - size × 0.5, component-wise.
[[nodiscard]] constexpr ios::CGPoint center(const ios::CGRect& r) { return {centerX(r), centerY(r)}; }
constexpr void setCenter(ios::CGRect& r, ios::CGPoint v) { r.origin = subtracting(v, multiplying(r.size, 0.5)); }

// makeRect()
//
// The rectangle a literal spells. Text starting with "{" is read by
// ios::CGRectFromString(). Other text is split at every "," (empty parts kept, no
// trimming); exactly four parts p0 ... p3 are read as x, y, width and height through
// CGRectFromString("{{p0,p1}, {p2, p3}}"). Anything else, the empty text included, is
// the zero rectangle.
[[nodiscard]] ios::CGRect makeRect(std::string_view literal);

namespace literals {

// "0,0,100,50"_rect: makeRect() of the literal.
[[nodiscard]] inline ios::CGRect operator""_rect(const char* text, std::size_t length) {
  return makeRect(std::string_view(text, length));
}

}  // namespace literals
}  // namespace kp
