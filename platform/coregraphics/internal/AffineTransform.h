// File: platform/coregraphics/internal/AffineTransform.h
//
// The platform's affine transform, as far as image drawing needs it: the six-number
// matrix with translate, scale and rotate steps and concatenation.
//
//   auto t = ios::CGAffineTransform::identity.translatedBy(100, 0).rotated(M_PI / 2);
//   context->concatenate(t);
//
// The matrix [a b 0; c d 0; tx ty 1] acts on row vectors: x' = a x + c y + tx,
// y' = b x + d y + ty. `a.concatenating(b)` applies a first, then b; translatedBy,
// scaledBy and rotated apply their step before the receiver, as the platform does.
// The full transform lives in platform/coregraphics/CGAffineTransform.h; where that
// header is present this one only includes it, otherwise it declares the members the
// drawing code calls, with the same names and meaning.
#pragma once

#if __has_include("platform/coregraphics/CGAffineTransform.h")
#include "platform/coregraphics/CGAffineTransform.h"
#else

#include <cmath>

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

  // This transform followed by `o`.
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

  friend constexpr bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};
inline constexpr CGAffineTransform CGAffineTransform::identity{};

}  // namespace ios

#endif
