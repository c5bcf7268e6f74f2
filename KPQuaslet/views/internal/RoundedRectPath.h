// File: KPQuaslet/views/internal/RoundedRectPath.h
//
// Closed rounded-rectangle paths for masks and shadow paths.
//
//   ios::CGPath p = kp::views_internal::roundedRectPath(bounds, ios::UIRectCorner::allCorners, {10, 10});
//
// Internal to the library.
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/uikit/UIGeometry.h"

namespace kp::views_internal {

// The rectangle clockwise from its top-left corner (y down), the `corners` given rounded
// by quarter ellipses of `radii` (each at most half its side; others square).
[[nodiscard]] ios::CGPath roundedRectPath(ios::CGRect rect, ios::UIRectCorner corners, ios::CGSize radii);

// Whether `point` lies inside `path` (non-zero winding), the curves flattened.
[[nodiscard]] bool pathContains(const ios::CGPath& path, ios::CGPoint point);

// The box around the path's points, control points included; the zero rectangle for an
// empty path.
[[nodiscard]] ios::CGRect pathBoundingBox(const ios::CGPath& path);

}  // namespace kp::views_internal
