// File: KPQuaslet/views/BlockGestureRecognizer.h
//
// Gesture recognisers that call a closure instead of sending a target-action message.
//
//   auto tap = kp::BlockTap::make(2, 1, [](ios::UITapGestureRecognizer& r) { ... });
//   view->addGestureRecognizer(tap);
//   tap->tapAction = nullptr;                      // taps are now ignored
//
// Each class keeps one optional closure (empty: do nothing) and names itself as the
// target of its own action method, which calls the closure with the recogniser. The
// platform does not retain targets, so the recogniser does not keep itself alive; the
// view it is added to owns it, and releasing the recogniser releases the closure (a
// closure that holds the view strongly makes a cycle: the caller's concern). Made with
// (target, action) a recogniser works as a plain platform recogniser with no closure.
// Continuous recognisers (pan, pinch, long press) call the closure at every state
// change, discrete ones (tap, swipe) once a gesture. Registered with the object runtime
// under the names "_TtC9KPQuaslet8BlockTap", "_TtC9KPQuaslet10BlockSwipe",
// "_TtC9KPQuaslet8BlockPan", "_TtC9KPQuaslet10BlockPinch" and
// "_TtC9KPQuaslet14BlockLongPress", each with the methods "initWithTarget:action:" and
// its action method ("didTap:", "didSwipe:", "didPan:", "didPinch:", "didLongPressed:").
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/runtime/Selector.h"
#include "platform/uikit/UIGestureRecognizer.h"

namespace kp {

class BlockTap : public ios::UITapGestureRecognizer {
  IOS_RUNTIME_CLASS(BlockTap, ios::UITapGestureRecognizer);

 public:
  using Action = std::function<void(ios::UITapGestureRecognizer&)>;
  Action tapAction;
  // Calls tapAction with `sender` when it is set.
  void didTap(ios::UITapGestureRecognizer& sender);

 protected:
  explicit BlockTap(const std::shared_ptr<ios::NSObject>& target = nullptr, ios::SEL action = nullptr);
  // Taps `tapCount` times with `fingerCount` fingers call `action`.
  BlockTap(std::int64_t tapCount, std::int64_t fingerCount, Action action);
};

class BlockSwipe : public ios::UISwipeGestureRecognizer {
  IOS_RUNTIME_CLASS(BlockSwipe, ios::UISwipeGestureRecognizer);

 public:
  using Action = std::function<void(ios::UISwipeGestureRecognizer&)>;
  Action swipeAction;
  void didSwipe(ios::UISwipeGestureRecognizer& sender);

 protected:
  explicit BlockSwipe(const std::shared_ptr<ios::NSObject>& target = nullptr, ios::SEL action = nullptr);
  // Swipes in `direction` with `fingerCount` fingers call `action`.
  BlockSwipe(ios::UISwipeGestureRecognizerDirection direction, std::int64_t fingerCount, Action action);
};

class BlockPan : public ios::UIPanGestureRecognizer {
  IOS_RUNTIME_CLASS(BlockPan, ios::UIPanGestureRecognizer);

 public:
  using Action = std::function<void(ios::UIPanGestureRecognizer&)>;
  Action panAction;
  void didPan(ios::UIPanGestureRecognizer& sender);

 protected:
  explicit BlockPan(const std::shared_ptr<ios::NSObject>& target = nullptr, ios::SEL action = nullptr);
  explicit BlockPan(Action action);
};

class BlockPinch : public ios::UIPinchGestureRecognizer {
  IOS_RUNTIME_CLASS(BlockPinch, ios::UIPinchGestureRecognizer);

 public:
  using Action = std::function<void(ios::UIPinchGestureRecognizer&)>;
  Action pinchAction;
  void didPinch(ios::UIPinchGestureRecognizer& sender);

 protected:
  explicit BlockPinch(const std::shared_ptr<ios::NSObject>& target = nullptr, ios::SEL action = nullptr);
  explicit BlockPinch(Action action);
};

class BlockLongPress : public ios::UILongPressGestureRecognizer {
  IOS_RUNTIME_CLASS(BlockLongPress, ios::UILongPressGestureRecognizer);

 public:
  using Action = std::function<void(ios::UILongPressGestureRecognizer&)>;
  Action longPressAction;
  void didLongPressed(ios::UILongPressGestureRecognizer& sender);

 protected:
  explicit BlockLongPress(const std::shared_ptr<ios::NSObject>& target = nullptr, ios::SEL action = nullptr);
  explicit BlockLongPress(Action action);
};

}  // namespace kp
