// File: platform/uikit/UITouchSimulator.h
//
// Test seam: touches for a machine without a touch screen. Each call performs one
// whole gesture on a view and lets the recognisers recognise it by the platform's rules.
//
//   ios::testing::TouchSimulator::tap(*button, 2);          // a double tap, one finger
//   ios::testing::TouchSimulator::pan(*card, {{0, 0}, {10, 0}, {30, 5}});
//
// Rules: the touch lands at the centre of the view's bounds and is hit-tested from the
// root of its tree, so a hidden view, one with user interaction off or an alpha below
// 0.01 (or inside such a view), or a view covered by another one, does not get it. The
// recognisers of the hit view, then of its ancestors, are offered the gesture in the
// order they were added; the first enabled one that matches recognises it and sends
// its actions, the others do not. Each call answers whether a recogniser recognised.
// - tap: taps == numberOfTapsRequired and fingers == numberOfTouchesRequired;
// - swipe: the direction is in the recogniser's `direction` and fingers match;
// - pan: fingers within the minimum and maximum; began at the first translation,
//   changed for each further one, ended with the last;
// - pinch: two fingers; began at the first scale, changed for each further one, ended;
// - long press: fingers match and the press lasts at least minimumPressDuration; began,
//   then ended.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIGestureRecognizer.h"

namespace ios {
class UIView;
}

namespace ios::testing {

class TouchSimulator {
 public:
  static bool tap(UIView& view, std::int64_t taps = 1, std::int64_t fingers = 1);
  static bool swipe(UIView& view, UISwipeGestureRecognizerDirection direction, std::int64_t fingers = 1);
  static bool pan(UIView& view, const std::vector<CGPoint>& translations, std::int64_t fingers = 1);
  static bool pinch(UIView& view, const std::vector<CGFloat>& scales);
  static bool longPress(UIView& view, double seconds, std::int64_t fingers = 1);
};

}  // namespace ios::testing
