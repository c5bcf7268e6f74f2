// File: KPQuaslet/values/CGSize+KPExt.h
//
// Aspect-fit and aspect-fill scaling of sizes. The size operators are in
// CGOperators.h.
//
//   kp::aspectFit(ios::CGSize(200, 100), ios::CGSize(100, 100));    // (100, 50)
//   kp::aspectFill(ios::CGSize(200, 100), ios::CGSize(100, 100));   // (100, 100)
//
// A zero width or height gives infinities or NaN, by floating-point rules.
#pragma once

#include <algorithm>

#include "KPQuaslet/values/CGOperators.h"
#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// aspectFit()
//
// The size scaled by the smaller of bounds.width / width and bounds.height / height:
// the largest size of the same shape that fits inside `bounds`.
[[nodiscard]] constexpr ios::CGSize aspectFit(const ios::CGSize& size, const ios::CGSize& bounds) {
  const ios::CGFloat rw = bounds.width / size.width;
  const ios::CGFloat rh = bounds.height / size.height;
  const ios::CGFloat r = rh < rw ? rh : rw;
  return {size.width * r, size.height * r};
}

// aspectFill()
//
// The size scaled by the larger ratio (the smallest size of the same shape that
// covers `bounds`), then clamped to `bounds` on each side. NaN in a scaled side
// stays NaN.
[[nodiscard]] constexpr ios::CGSize aspectFill(const ios::CGSize& size, const ios::CGSize& bounds) {
  const ios::CGFloat rw = bounds.width / size.width;
  const ios::CGFloat rh = bounds.height / size.height;
  const ios::CGFloat r = rw <= rh ? rh : rw;
  // The smaller of the two, taking the first unless the second is below it, so that
  // a NaN side is kept.
  const auto smaller = [](ios::CGFloat x, ios::CGFloat y) { return y < x ? y : x; };
  return {smaller(size.width * r, bounds.width), smaller(size.height * r, bounds.height)};
}

}  // namespace kp
