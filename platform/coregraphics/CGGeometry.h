// File: platform/coregraphics/CGGeometry.h
//
// The platform's plain geometry values: CGFloat, CGPoint, CGSize and CGRect.
//
//   ios::CGRect r{{0, 0}, {100, 50}};
//   ios::CGRectGetMaxY(r);                                   // 50
//
// Fidelity: plain aggregates with the platform's field names; rectangles are not
// standardised (a negative size is kept as given). Only the helpers below exist.
#pragma once

namespace ios {

using CGFloat = double;

struct CGPoint {
  CGFloat x = 0, y = 0;
};

struct CGSize {
  CGFloat width = 0, height = 0;
};

struct CGRect {
  CGPoint origin;
  CGSize size;
};

// CGRectGetMaxX() / CGRectGetMaxY()
//
// The far edges of a rectangle: origin plus size.
[[nodiscard]] constexpr CGFloat CGRectGetMaxX(const CGRect& r) { return r.origin.x + r.size.width; }
[[nodiscard]] constexpr CGFloat CGRectGetMaxY(const CGRect& r) { return r.origin.y + r.size.height; }

}  // namespace ios
