// File: KPQuaslet/values/CGOperators.h
//
// Points, sizes and vectors as two-component vectors (CGVectorProtocol), with shared
// arithmetic, and the point and size operators.
//
//   ios::CGPoint(1, 2) + ios::CGSize(3, 4);     // CGPoint (4, 6): the left side's type
//   ios::CGVector(2, 4) / 2;                    // CGVector (1, 2)
//   ios::CGSize(2, 3) * ios::CGSize(4, 5);      // CGSize (8, 15)
//   2 * ios::CGPoint(1, 2);                     // CGPoint (2, 4)
//
// The operators live in namespace ios, beside the types, so that they are found
// without a using-declaration; each is a thin wrapper over a named function of kp
// (adding, subtracting, multiplying, dividing). Everything is inline: the operators
// cost what the hand-written arithmetic costs. Division by zero follows floating-
// point rules.
#pragma once

#include <concepts>
#include <type_traits>

#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// The two components of a vector-like value.
struct CGVectorComponents {
  ios::CGFloat x = 0;
  ios::CGFloat y = 0;

  friend constexpr bool operator==(const CGVectorComponents&, const CGVectorComponents&) = default;
};

// How a type maps to and from its components; specialised for CGPoint (x, y), CGSize
// (width, height) and CGVector (dx, dy). A type joins CGVectorProtocol by
// specialising it with components() and make().
template <class T>
struct CGVectorTraits;

template <>
struct CGVectorTraits<ios::CGPoint> {
  static constexpr CGVectorComponents components(const ios::CGPoint& p) { return {p.x, p.y}; }
  static constexpr ios::CGPoint make(CGVectorComponents c) { return {c.x, c.y}; }
};

template <>
struct CGVectorTraits<ios::CGSize> {
  static constexpr CGVectorComponents components(const ios::CGSize& s) { return {s.width, s.height}; }
  static constexpr ios::CGSize make(CGVectorComponents c) { return {c.x, c.y}; }
};

template <>
struct CGVectorTraits<ios::CGVector> {
  static constexpr CGVectorComponents components(const ios::CGVector& v) { return {v.dx, v.dy}; }
  static constexpr ios::CGVector make(CGVectorComponents c) { return {c.x, c.y}; }
};

template <class T>
concept CGVectorProtocol = requires(const T& value, CGVectorComponents c) {
  { CGVectorTraits<T>::components(value) } -> std::same_as<CGVectorComponents>;
  { CGVectorTraits<T>::make(c) } -> std::same_as<T>;
};

// components()
//
// The value's two components.
template <CGVectorProtocol T>
[[nodiscard]] constexpr CGVectorComponents components(const T& value) {
  return CGVectorTraits<T>::components(value);
}

// makeVector()
//
// The value of type T with the given components (init(components:)).
template <CGVectorProtocol T>
[[nodiscard]] constexpr T makeVector(CGVectorComponents c) {
  return CGVectorTraits<T>::make(c);
}

// adding(), subtracting()
//
// A value of the left side's type made from the component-wise sum (difference), so
// a point plus a size is a point.
template <CGVectorProtocol A, CGVectorProtocol B>
[[nodiscard]] constexpr A adding(const A& lhs, const B& rhs) {
  const CGVectorComponents l = components(lhs);
  const CGVectorComponents r = components(rhs);
  return makeVector<A>({l.x + r.x, l.y + r.y});
}
template <CGVectorProtocol A, CGVectorProtocol B>
[[nodiscard]] constexpr A subtracting(const A& lhs, const B& rhs) {
  const CGVectorComponents l = components(lhs);
  const CGVectorComponents r = components(rhs);
  return makeVector<A>({l.x - r.x, l.y - r.y});
}

// multiplying(), dividing()
//
// Both components multiplied (divided) by `scalar`.
template <CGVectorProtocol A>
[[nodiscard]] constexpr A multiplying(const A& lhs, ios::CGFloat scalar) {
  const CGVectorComponents l = components(lhs);
  return makeVector<A>({l.x * scalar, l.y * scalar});
}
template <CGVectorProtocol A>
[[nodiscard]] constexpr A dividing(const A& lhs, ios::CGFloat scalar) {
  const CGVectorComponents l = components(lhs);
  return makeVector<A>({l.x / scalar, l.y / scalar});
}

// multiplying()
//
// The component-wise product of two sizes.
[[nodiscard]] constexpr ios::CGSize multiplying(const ios::CGSize& lhs, const ios::CGSize& rhs) {
  return {lhs.width * rhs.width, lhs.height * rhs.height};
}

}  // namespace kp

namespace ios {

// ---- Any CGVectorProtocol values ----

template <kp::CGVectorProtocol A, kp::CGVectorProtocol B>
[[nodiscard]] constexpr A operator+(const A& lhs, const B& rhs) {
  return kp::adding(lhs, rhs);
}
template <kp::CGVectorProtocol A, kp::CGVectorProtocol B>
[[nodiscard]] constexpr A operator-(const A& lhs, const B& rhs) {
  return kp::subtracting(lhs, rhs);
}
template <kp::CGVectorProtocol A>
[[nodiscard]] constexpr A operator*(const A& lhs, CGFloat scalar) {
  return kp::multiplying(lhs, scalar);
}
template <kp::CGVectorProtocol A>
[[nodiscard]] constexpr A operator/(const A& lhs, CGFloat scalar) {
  return kp::dividing(lhs, scalar);
}

// ---- Points ----

[[nodiscard]] constexpr CGPoint operator+(const CGPoint& lhs, const CGPoint& rhs) { return kp::adding(lhs, rhs); }
[[nodiscard]] constexpr CGPoint operator-(const CGPoint& lhs, const CGPoint& rhs) {
  return kp::subtracting(lhs, rhs);
}
[[nodiscard]] constexpr CGPoint operator*(const CGPoint& lhs, CGFloat scalar) { return kp::multiplying(lhs, scalar); }
[[nodiscard]] constexpr CGPoint operator*(CGFloat scalar, const CGPoint& rhs) { return kp::multiplying(rhs, scalar); }
constexpr CGPoint& operator+=(CGPoint& lhs, const CGPoint& rhs) { return lhs = kp::adding(lhs, rhs); }
constexpr CGPoint& operator-=(CGPoint& lhs, const CGPoint& rhs) { return lhs = kp::subtracting(lhs, rhs); }
constexpr CGPoint& operator*=(CGPoint& lhs, CGFloat scalar) { return lhs = kp::multiplying(lhs, scalar); }

// ---- Sizes ----

[[nodiscard]] constexpr CGSize operator+(const CGSize& lhs, const CGSize& rhs) { return kp::adding(lhs, rhs); }
[[nodiscard]] constexpr CGSize operator-(const CGSize& lhs, const CGSize& rhs) { return kp::subtracting(lhs, rhs); }
[[nodiscard]] constexpr CGSize operator*(const CGSize& lhs, const CGSize& rhs) { return kp::multiplying(lhs, rhs); }
[[nodiscard]] constexpr CGSize operator*(const CGSize& lhs, CGFloat scalar) { return kp::multiplying(lhs, scalar); }
[[nodiscard]] constexpr CGSize operator*(CGFloat scalar, const CGSize& rhs) { return kp::multiplying(rhs, scalar); }
constexpr CGSize& operator+=(CGSize& lhs, const CGSize& rhs) { return lhs = kp::adding(lhs, rhs); }
constexpr CGSize& operator-=(CGSize& lhs, const CGSize& rhs) { return lhs = kp::subtracting(lhs, rhs); }
constexpr CGSize& operator*=(CGSize& lhs, const CGSize& rhs) { return lhs = kp::multiplying(lhs, rhs); }
constexpr CGSize& operator*=(CGSize& lhs, CGFloat scalar) { return lhs = kp::multiplying(lhs, scalar); }

}  // namespace ios
