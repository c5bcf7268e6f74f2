// File: platform/quartzcore/CATransform3D.h
//
// Three-dimensional layer transforms: the 4x4 matrix, its constructors, concatenation,
// and the conversions to and from the two-dimensional affine transform.
//
//   ios::CATransform3D t = ios::CATransform3DIdentity;
//   t.m34 = -0.001;                                       // perspective
//   t = ios::CATransform3DRotate(t, M_PI / 2, 0, 0, 1);   // a quarter turn about z
//
// Fidelity: the platform's row-vector convention (a point is a row, multiplied on the
// left; translation lives in m41, m42, m43). `CATransform3DScale(t, ...)`,
// `CATransform3DRotate(t, ...)` and `CATransform3DTranslate(t, ...)` apply their step
// before `t`; `CATransform3DConcat(a, b)` applies a, then b. A rotation about the zero
// axis, or by angle 0, answers its input exactly. Equality is exact, element by element.
// Interpolation and decomposition helpers are absent.
#pragma once

#include <ostream>
#include <string>

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/coregraphics/CGGeometry.h"

namespace ios {

struct CATransform3D {
  CGFloat m11 = 1, m12 = 0, m13 = 0, m14 = 0;
  CGFloat m21 = 0, m22 = 1, m23 = 0, m24 = 0;
  CGFloat m31 = 0, m32 = 0, m33 = 1, m34 = 0;
  CGFloat m41 = 0, m42 = 0, m43 = 0, m44 = 1;

  friend constexpr bool operator==(const CATransform3D&, const CATransform3D&) = default;
};

// The transform that changes nothing.
inline constexpr CATransform3D CATransform3DIdentity{};

// Whether `t` is the identity.
[[nodiscard]] constexpr bool CATransform3DIsIdentity(const CATransform3D& t) { return t == CATransform3DIdentity; }
// Whether the two transforms are equal, element by element.
[[nodiscard]] constexpr bool CATransform3DEqualToTransform(const CATransform3D& a, const CATransform3D& b) {
  return a == b;
}

// `a` followed by `b` (the matrix product a x b).
[[nodiscard]] CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b);

// The transforms that translate, scale and rotate (by `angle` radians about the axis
// (x, y, z), which need not be of unit length; a zero axis gives the identity).
[[nodiscard]] CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz);
[[nodiscard]] CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz);
[[nodiscard]] CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z);

// A translation, scaling or rotation, then `t`.
[[nodiscard]] CATransform3D CATransform3DTranslate(const CATransform3D& t, CGFloat tx, CGFloat ty, CGFloat tz);
[[nodiscard]] CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz);
[[nodiscard]] CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y,
                                                CGFloat z);

// The inverse of `t`; `t` itself when it cannot be inverted.
[[nodiscard]] CATransform3D CATransform3DInvert(const CATransform3D& t);

// The 4x4 form of an affine transform: (a, b, c, d, tx, ty) in (m11, m12, m21, m22, m41,
// m42), the rest as in the identity.
[[nodiscard]] CATransform3D CATransform3DMakeAffineTransform(const CGAffineTransform& t);
// Whether `t` is the 4x4 form of an affine transform.
[[nodiscard]] bool CATransform3DIsAffine(const CATransform3D& t);
// The affine part of `t`: (m11, m12, m21, m22, m41, m42); the rest is dropped.
[[nodiscard]] CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t);

// Maps the point (x, y, 0) through `t`, with the perspective divide.
[[nodiscard]] CGPoint CATransform3DApplyToPoint(const CATransform3D& t, CGPoint point);

// "[m11 m12 m13 m14; m21 ...; m41 m42 m43 m44]" (the form ios::describe() writes).
[[nodiscard]] std::string ios_describe(const CATransform3D& t);
std::ostream& operator<<(std::ostream& os, const CATransform3D& t);

}  // namespace ios
