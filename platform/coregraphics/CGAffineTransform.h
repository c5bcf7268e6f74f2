// File: platform/coregraphics/CGAffineTransform.h
//
// Two-dimensional affine transforms, and their application to points, sizes and
// rectangles.
//
//   auto t = ios::CGAffineTransformMakeTranslation(10, 0).rotated(M_PI / 2);
//   ios::CGPoint(1, 0).applying(t);                // about (10, 1)
//   t.inverted().concatenating(t).isIdentity();    // true, up to rounding
//
// Fidelity: the platform's matrix [a b 0; c d 0; tx ty 1] acting on row vectors:
// x' = a x + c y + tx, y' = b x + d y + ty. `a.concatenating(b)` applies a first,
// then b; translatedBy, scaledBy and rotated apply their step before the receiver,
// as the platform does. inverted() answers the transform unchanged when it cannot
// be inverted. Decomposition helpers and the Swift initialiser spellings are absent.
#pragma once

#include <cmath>
#include <ostream>
#include <string>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

struct CGAffineTransform {
  CGFloat a = 1;
  CGFloat b = 0;
  CGFloat c = 0;
  CGFloat d = 1;
  CGFloat tx = 0;
  CGFloat ty = 0;

  constexpr CGAffineTransform() = default;
  constexpr CGAffineTransform(CGFloat a_, CGFloat b_, CGFloat c_, CGFloat d_, CGFloat tx_, CGFloat ty_)
      : a(a_), b(b_), c(c_), d(d_), tx(tx_), ty(ty_) {}

  // The transform that changes nothing.
  static const CGAffineTransform identity;

  [[nodiscard]] constexpr bool isIdentity() const { return *this == identity; }

  // This transform followed by `other`.
  [[nodiscard]] constexpr CGAffineTransform concatenating(const CGAffineTransform& o) const {
    return CGAffineTransform(a * o.a + b * o.c, a * o.b + b * o.d, c * o.a + d * o.c, c * o.b + d * o.d,
                             tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty);
  }

  // A translation by (x, y), then this transform.
  [[nodiscard]] constexpr CGAffineTransform translatedBy(CGFloat x, CGFloat y) const {
    return CGAffineTransform(1, 0, 0, 1, x, y).concatenating(*this);
  }
  // A scaling by (x, y), then this transform.
  [[nodiscard]] constexpr CGAffineTransform scaledBy(CGFloat x, CGFloat y) const {
    return CGAffineTransform(x, 0, 0, y, 0, 0).concatenating(*this);
  }
  // A rotation by `angle` radians (counter-clockwise in a y-up space), then this
  // transform.
  [[nodiscard]] CGAffineTransform rotated(CGFloat angle) const {
    const CGFloat cosine = std::cos(angle);
    const CGFloat sine = std::sin(angle);
    return CGAffineTransform(cosine, sine, -sine, cosine, 0, 0).concatenating(*this);
  }

  // The inverse transform; the transform itself when its determinant is 0.
  [[nodiscard]] constexpr CGAffineTransform inverted() const {
    const CGFloat determinant = a * d - b * c;
    if (determinant == 0) return *this;
    const CGFloat ia = d / determinant;
    const CGFloat ib = -b / determinant;
    const CGFloat ic = -c / determinant;
    const CGFloat id = a / determinant;
    return CGAffineTransform(ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id));
  }

  friend constexpr bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};
inline constexpr CGAffineTransform CGAffineTransform::identity{};

// The transforms that translate, scale and rotate.
[[nodiscard]] constexpr CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
  return CGAffineTransform(1, 0, 0, 1, tx, ty);
}
[[nodiscard]] constexpr CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
  return CGAffineTransform(sx, 0, 0, sy, 0, 0);
}
[[nodiscard]] inline CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
  return CGAffineTransform::identity.rotated(angle);
}

inline CGPoint CGPoint::applying(const CGAffineTransform& t) const {
  return CGPoint(t.a * x + t.c * y + t.tx, t.b * x + t.d * y + t.ty);
}

inline CGSize CGSize::applying(const CGAffineTransform& t) const {
  return CGSize(t.a * width + t.c * height, t.b * width + t.d * height);
}

inline CGRect CGRect::applying(const CGAffineTransform& t) const {
  if (isNull()) return *this;
  const CGRect r = standardized();
  return boundingRect({CGPoint(r.origin.x, r.origin.y).applying(t),
                       CGPoint(r.origin.x + r.size.width, r.origin.y).applying(t),
                       CGPoint(r.origin.x, r.origin.y + r.size.height).applying(t),
                       CGPoint(r.origin.x + r.size.width, r.origin.y + r.size.height).applying(t)});
}

// "[a, b, c, d, tx, ty]".
[[nodiscard]] std::string NSStringFromCGAffineTransform(const CGAffineTransform& t);
std::ostream& operator<<(std::ostream& os, const CGAffineTransform& t);

}  // namespace ios
