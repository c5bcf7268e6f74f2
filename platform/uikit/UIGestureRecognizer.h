// File: platform/uikit/UIGestureRecognizer.h
//
// Gesture recognisers with target-action: tap, swipe, pan, pinch and long press, with
// the platform's defaults. Touches come from the touch simulator (UITouchSimulator.h).
//
//   auto tap = ios::UITapGestureRecognizer::make(controller, ios::sel_registerName("close"));
//   tap->numberOfTapsRequired = 2;
//   view->addGestureRecognizer(tap);
//
// Fidelity: targets are not retained (a target that is gone is skipped); an action
// selector without a colon is sent with no argument, one with a colon with the
// recogniser. Discrete recognisers (tap, swipe) send their actions once, when
// recognised (state ended); continuous ones (pan, pinch, long press) at each change:
// began, changed ..., ended. After a gesture the state goes back to possible. The
// runtime-visible initialiser "initWithTarget:action:" adds the target when both are
// given. Delegates, failure requirements, simultaneous recognition, velocities and
// touch locations are absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

namespace ios {

class UIView;
namespace testing {
class TouchSimulator;
}

enum class UIGestureRecognizerState : std::int64_t {
  possible = 0,
  began = 1,
  changed = 2,
  ended = 3,
  cancelled = 4,
  failed = 5,
  recognized = ended,
};

class UIGestureRecognizer : public NSObject {
  IOS_RUNTIME_CLASS(UIGestureRecognizer, NSObject);

 public:
  // The selector "initWithTarget:action:".
  [[nodiscard]] static SEL initSelector();

  // Adds a target-action pair; the target is not retained. A null target or action
  // adds nothing.
  void addTarget(const std::shared_ptr<NSObject>& target, SEL action);
  // Removes the pairs with this target (null: any) and action (null: any).
  void removeTarget(const NSObject* target, SEL action);

  // The view the recogniser is attached to, or null.
  [[nodiscard]] std::shared_ptr<UIView> view() const { return view_.lock(); }
  [[nodiscard]] UIGestureRecognizerState state() const { return state_; }
  [[nodiscard]] bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  // The number of touches of the gesture being recognised.
  [[nodiscard]] std::int64_t numberOfTouches() const { return touches_; }

 protected:
  explicit UIGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr);

  // Adds the recogniser itself as a target (it cannot name itself while constructed).
  void addSelfTarget(SEL action);

 private:
  friend class UIView;
  friend class testing::TouchSimulator;

  // Moves to `state` and sends the actions.
  void moveTo(UIGestureRecognizerState state);
  void sendActions();
  // A recognised discrete gesture: ended, then possible again.
  void recognizeDiscrete(std::int64_t touches);
  // A continuous gesture of `steps` steps (at least one): `applyStep(i)` sets the
  // values of step i, the first step begins, the others change, then it ends.
  void recognizeContinuous(std::int64_t touches, std::size_t steps, const std::function<void(std::size_t)>& applyStep);

  struct Target {
    std::weak_ptr<NSObject> object;
    bool isSelf = false;
    SEL action = nullptr;
  };
  std::vector<Target> targets_;
  std::weak_ptr<UIView> view_;
  UIGestureRecognizerState state_ = UIGestureRecognizerState::possible;
  bool enabled_ = true;
  std::int64_t touches_ = 0;
};

class UITapGestureRecognizer : public UIGestureRecognizer {
  IOS_RUNTIME_CLASS(UITapGestureRecognizer, UIGestureRecognizer);

 public:
  std::int64_t numberOfTapsRequired = 1;
  std::int64_t numberOfTouchesRequired = 1;

 protected:
  explicit UITapGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr)
      : UIGestureRecognizer(target, action) {}
};

// UISwipeGestureRecognizer.Direction raw bits.
using UISwipeGestureRecognizerDirection = std::uint64_t;
namespace UISwipeDirection {
inline constexpr UISwipeGestureRecognizerDirection right = 1 << 0;
inline constexpr UISwipeGestureRecognizerDirection left = 1 << 1;
inline constexpr UISwipeGestureRecognizerDirection up = 1 << 2;
inline constexpr UISwipeGestureRecognizerDirection down = 1 << 3;
}  // namespace UISwipeDirection

class UISwipeGestureRecognizer : public UIGestureRecognizer {
  IOS_RUNTIME_CLASS(UISwipeGestureRecognizer, UIGestureRecognizer);

 public:
  UISwipeGestureRecognizerDirection direction = UISwipeDirection::right;
  std::int64_t numberOfTouchesRequired = 1;

 protected:
  explicit UISwipeGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr)
      : UIGestureRecognizer(target, action) {}
};

class UIPanGestureRecognizer : public UIGestureRecognizer {
  IOS_RUNTIME_CLASS(UIPanGestureRecognizer, UIGestureRecognizer);

 public:
  std::int64_t minimumNumberOfTouches = 1;
  std::int64_t maximumNumberOfTouches = std::numeric_limits<std::int64_t>::max();

  // The translation since the gesture began (in the attached view's space).
  [[nodiscard]] CGPoint translation() const { return translation_; }
  void setTranslation(CGPoint translation) { translation_ = translation; }

 protected:
  explicit UIPanGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr)
      : UIGestureRecognizer(target, action) {}

 private:
  friend class testing::TouchSimulator;
  CGPoint translation_;
};

class UIPinchGestureRecognizer : public UIGestureRecognizer {
  IOS_RUNTIME_CLASS(UIPinchGestureRecognizer, UIGestureRecognizer);

 public:
  // The scale relative to the two touches' starting distance.
  CGFloat scale = 1;

 protected:
  explicit UIPinchGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr)
      : UIGestureRecognizer(target, action) {}
};

class UILongPressGestureRecognizer : public UIGestureRecognizer {
  IOS_RUNTIME_CLASS(UILongPressGestureRecognizer, UIGestureRecognizer);

 public:
  double minimumPressDuration = 0.5;
  std::int64_t numberOfTouchesRequired = 1;
  std::int64_t numberOfTapsRequired = 0;
  CGFloat allowableMovement = 10;

 protected:
  explicit UILongPressGestureRecognizer(const std::shared_ptr<NSObject>& target = nullptr, SEL action = nullptr)
      : UIGestureRecognizer(target, action) {}
};

}  // namespace ios
