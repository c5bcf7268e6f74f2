// File: platform/coregraphics/CGGeometry.h
//
// The geometry value types: CGFloat, CGPoint, CGSize, CGVector and CGRect, with the
// platform's members and the "{x, y}" / "{{x, y}, {w, h}}" text forms.
//
//   ios::CGRect r(10, 10, 20, -20);
//   r.standardized();                     // (10, -10, 20, 20)
//   r.insetBy(2, 2).maxX();               // 28
//   ios::NSStringFromCGRect(r);           // "{{10, 10}, {20, -20}}"
//   ios::CGRectFromString("{{0, 0}, {100, 50}}");
//
// Fidelity: plain values with the stored fields as the platform names them (origin,
// size, x, y, width, height, dx, dy). CGRect's derived members (width(), height(),
// minX() ... maxY()) and operations work on the standardized rectangle (no negative
// width or height), and a rectangle's == compares standardized rectangles, as the
// platform does; the null rectangle (origin at +infinity) is absorbing where the
// platform says so. Text forms write numbers in their shortest round-trip spelling
// ("0.5", "100"); the parsers read the exact forms, with any spaces around the
// numbers and braces, and answer the zero value for anything else. Division,
// divided(atDistance:from:) and the dictionary representations are absent.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

namespace ios {

struct CGAffineTransform;

// The platform's graphics scalar: a 64-bit double.
using CGFloat = double;

struct CGPoint {
  CGFloat x = 0;
  CGFloat y = 0;

  constexpr CGPoint() = default;
  constexpr CGPoint(CGFloat x_, CGFloat y_) : x(x_), y(y_) {}

  // The point (0, 0).
  static const CGPoint zero;

  // The point transformed by `t`.
  [[nodiscard]] CGPoint applying(const CGAffineTransform& t) const;

  friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};
inline constexpr CGPoint CGPoint::zero{};

struct CGSize {
  CGFloat width = 0;
  CGFloat height = 0;

  constexpr CGSize() = default;
  constexpr CGSize(CGFloat width_, CGFloat height_) : width(width_), height(height_) {}

  // The size (0, 0).
  static const CGSize zero;

  // The size transformed by `t`'s linear part (translation does not apply).
  [[nodiscard]] CGSize applying(const CGAffineTransform& t) const;

  friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};
inline constexpr CGSize CGSize::zero{};

struct CGVector {
  CGFloat dx = 0;
  CGFloat dy = 0;

  constexpr CGVector() = default;
  constexpr CGVector(CGFloat dx_, CGFloat dy_) : dx(dx_), dy(dy_) {}

  // The vector (0, 0).
  static const CGVector zero;

  friend constexpr bool operator==(const CGVector&, const CGVector&) = default;
};
inline constexpr CGVector CGVector::zero{};

struct CGRect {
  CGPoint origin;
  CGSize size;

  constexpr CGRect() = default;
  constexpr CGRect(CGPoint origin_, CGSize size_) : origin(origin_), size(size_) {}
  constexpr CGRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height) : origin(x, y), size(width, height) {}

  // The rectangle (0, 0, 0, 0).
  static const CGRect zero;
  // The null rectangle: the answer of an empty intersection; its origin is at
  // +infinity and its size zero.
  static const CGRect null;
  // The rectangle that contains every point.
  static const CGRect infinite;

  // The same rectangle with a non-negative width and height (the origin moves to the
  // smaller corner). The null rectangle stays null.
  [[nodiscard]] constexpr CGRect standardized() const {
    if (isNull()) return *this;
    CGRect r = *this;
    if (r.size.width < 0) {
      r.origin.x += r.size.width;
      r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
      r.origin.y += r.size.height;
      r.size.height = -r.size.height;
    }
    return r;
  }

  // The standardized width and height (never negative).
  [[nodiscard]] constexpr CGFloat width() const { return size.width < 0 ? -size.width : size.width; }
  [[nodiscard]] constexpr CGFloat height() const { return size.height < 0 ? -size.height : size.height; }

  // Edges and centre lines of the standardized rectangle.
  [[nodiscard]] constexpr CGFloat minX() const { return standardized().origin.x; }
  [[nodiscard]] constexpr CGFloat minY() const { return standardized().origin.y; }
  [[nodiscard]] constexpr CGFloat maxX() const { return minX() + width(); }
  [[nodiscard]] constexpr CGFloat maxY() const { return minY() + height(); }
  [[nodiscard]] constexpr CGFloat midX() const { return minX() + width() * 0.5; }
  [[nodiscard]] constexpr CGFloat midY() const { return minY() + height() * 0.5; }

  // True for the null rectangle.
  [[nodiscard]] constexpr bool isNull() const {
    return origin.x == std::numeric_limits<CGFloat>::infinity() ||
           origin.y == std::numeric_limits<CGFloat>::infinity();
  }
  // True for the null rectangle and for a zero width or height.
  [[nodiscard]] constexpr bool isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }
  // True for the infinite rectangle.
  [[nodiscard]] constexpr bool isInfinite() const;

  // The standardized rectangle shrunk by dx on the left and right and dy at the top
  // and bottom (grown for negative values); null when that leaves a negative width or
  // height, and for the null rectangle.
  [[nodiscard]] constexpr CGRect insetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return null;
    CGRect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0) return null;
    return r;
  }

  // The standardized rectangle moved by (dx, dy); null stays null.
  [[nodiscard]] constexpr CGRect offsetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return *this;
    CGRect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
  }

  // The common part of the two rectangles; rectangles that only share an edge give a
  // zero-width or zero-height rectangle, rectangles apart (or a null one) give null.
  [[nodiscard]] constexpr CGRect intersection(const CGRect& other) const {
    if (isNull() || other.isNull()) return null;
    const CGRect a = standardized();
    const CGRect b = other.standardized();
    const CGFloat x1 = std::max(a.origin.x, b.origin.x);
    const CGFloat y1 = std::max(a.origin.y, b.origin.y);
    const CGFloat x2 = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const CGFloat y2 = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
    if (x2 < x1 || y2 < y1) return null;
    return CGRect(x1, y1, x2 - x1, y2 - y1);
  }

  // The smallest rectangle containing both; a null rectangle adds nothing.
  // (`union` is a C++ keyword, hence the underscore.)
  [[nodiscard]] constexpr CGRect union_(const CGRect& other) const {
    if (isNull()) return other.standardized();
    if (other.isNull()) return standardized();
    const CGRect a = standardized();
    const CGRect b = other.standardized();
    const CGFloat x1 = std::min(a.origin.x, b.origin.x);
    const CGFloat y1 = std::min(a.origin.y, b.origin.y);
    const CGFloat x2 = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
    const CGFloat y2 = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return CGRect(x1, y1, x2 - x1, y2 - y1);
  }

  // True when the two rectangles have a non-null intersection.
  [[nodiscard]] constexpr bool intersects(const CGRect& other) const { return !intersection(other).isNull(); }

  // True when `point` lies inside: the minimum edges count, the maximum edges do not.
  [[nodiscard]] constexpr bool contains(CGPoint point) const {
    if (isNull()) return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
  }

  // True when `other` lies wholly inside (edges included); never for null rectangles.
  [[nodiscard]] constexpr bool contains(const CGRect& other) const {
    if (isNull() || other.isNull()) return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() && other.maxY() <= maxY();
  }

  // The smallest rectangle with whole-number edges that contains the standardized
  // rectangle; null stays null.
  [[nodiscard]] CGRect integral() const {
    if (isNull()) return *this;
    const CGRect r = standardized();
    const CGFloat x = std::floor(r.origin.x);
    const CGFloat y = std::floor(r.origin.y);
    return CGRect(x, y, std::ceil(r.origin.x + r.size.width) - x, std::ceil(r.origin.y + r.size.height) - y);
  }

  // The bounding box of the rectangle's four corners transformed by `t`; null stays
  // null.
  [[nodiscard]] CGRect applying(const CGAffineTransform& t) const;

  // Equal when both are null or their standardized forms match.
  friend constexpr bool operator==(const CGRect& lhs, const CGRect& rhs) {
    if (lhs.isNull() || rhs.isNull()) return lhs.isNull() && rhs.isNull();
    const CGRect a = lhs.standardized();
    const CGRect b = rhs.standardized();
    return a.origin == b.origin && a.size == b.size;
  }
};
inline constexpr CGRect CGRect::zero{};
inline constexpr CGRect CGRect::null{std::numeric_limits<CGFloat>::infinity(),
                                     std::numeric_limits<CGFloat>::infinity(), 0, 0};
inline constexpr CGRect CGRect::infinite{-std::numeric_limits<CGFloat>::max() / 2,
                                         -std::numeric_limits<CGFloat>::max() / 2,
                                         std::numeric_limits<CGFloat>::max(), std::numeric_limits<CGFloat>::max()};
constexpr bool CGRect::isInfinite() const {
  return origin == infinite.origin && size == infinite.size;
}

// The text forms: "{x, y}", "{width, height}", "{dx, dy}" and "{{x, y}, {width, height}}".
[[nodiscard]] std::string NSStringFromCGPoint(CGPoint point);
[[nodiscard]] std::string NSStringFromCGSize(CGSize size);
[[nodiscard]] std::string NSStringFromCGVector(CGVector vector);
[[nodiscard]] std::string NSStringFromCGRect(const CGRect& rect);

// The value written in the text form above; spaces (and tabs and line breaks) may
// surround the braces, commas and numbers. Any other text, a missing part or text
// after the closing brace gives the zero value.
[[nodiscard]] CGPoint CGPointFromString(std::string_view text);
[[nodiscard]] CGSize CGSizeFromString(std::string_view text);
[[nodiscard]] CGVector CGVectorFromString(std::string_view text);
[[nodiscard]] CGRect CGRectFromString(std::string_view text);

// The platform's textual forms for string interpolation, "(x, y)" style:
// "(1.0, 2.0)", "(3.0, 4.0)", "(0.0, 0.0, 10.0, 10.0)".
[[nodiscard]] std::string ios_describe(CGPoint point);
[[nodiscard]] std::string ios_describe(CGSize size);
[[nodiscard]] std::string ios_describe(CGVector vector);
[[nodiscard]] std::string ios_describe(const CGRect& rect);

// The smallest upright rectangle holding every one of `points` (at least one): the box
// the stand-in's rectangle conversions answer for mapped corners. Not a platform call.
[[nodiscard]] CGRect boundingRect(std::initializer_list<CGPoint> points);

std::ostream& operator<<(std::ostream& os, CGPoint point);
std::ostream& operator<<(std::ostream& os, CGSize size);
std::ostream& operator<<(std::ostream& os, CGVector vector);
std::ostream& operator<<(std::ostream& os, const CGRect& rect);

}  // namespace ios

// The transforms that the applying() members take.
#include "platform/coregraphics/CGAffineTransform.h"
