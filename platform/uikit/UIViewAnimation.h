// File: platform/uikit/UIViewAnimation.h
//
// Test seam: what the view animations (UIView::animate, UIView::transition) recorded.
// Nothing is interpolated: the animation block runs at once and sets the final values;
// the record keeps the kind, the timing and every layer property change the block made.
//
//   ios::UIView::animate(0.3, [&] { view->setAlpha(0); });
//   const auto& last = ios::testing::recordedViewAnimations().back();
//   last.duration;                      // 0.3
//   last.changes[0].key;                // "opacity"
//
// Completions are scheduled on the main queue for delay + duration after the call (a
// negative or non-finite time counts as 0) and receive true; removeAllAnimations() on
// a layer whose properties a pending animation changed makes that animation's
// completion run at once (on the next turn of the main queue) with false.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIView.h"

namespace ios::testing {

enum class ViewAnimationKind { basic, spring, transition };

// One layer property changed inside an animation block.
struct RecordedLayerChange {
  std::weak_ptr<CALayer> layer;
  std::string key;
  CAPropertyValue from;
  CAPropertyValue to;
};

struct ViewAnimationRecord {
  ViewAnimationKind kind = ViewAnimationKind::basic;
  double duration = 0;
  double delay = 0;
  UIViewAnimationOptions options = 0;
  CGFloat dampingRatio = 0;
  CGFloat initialVelocity = 0;
  // The view of a transition.
  std::weak_ptr<UIView> view;
  std::vector<RecordedLayerChange> changes;
  bool hasCompletion = false;
};

// The animations recorded since the last clear, in the order they were started.
[[nodiscard]] const std::vector<ViewAnimationRecord>& recordedViewAnimations();
// Forgets the records (pending completions still run).
void clearRecordedViewAnimations();
// Forgets the records and drops the pending completions.
void resetViewAnimations();

}  // namespace ios::testing
