// File: tests/support/PathFixtures.h
//
// Questions the tests ask of a path: whether a point lies inside it and the box around
// it.
//
//   EXPECT_TRUE(kp_test::pathContains(*mask->path, {39, 39}));
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGPath.h"

namespace kp_test {

// Whether `point` lies inside `path` (non-zero winding), the curves flattened.
[[nodiscard]] bool pathContains(const ios::CGPath& path, ios::CGPoint point);

// The box around the path's points, control points included; the zero rectangle for an
// empty path.
[[nodiscard]] ios::CGRect pathBoundingBox(const ios::CGPath& path);

}  // namespace kp_test
