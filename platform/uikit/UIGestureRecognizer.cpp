#include "platform/uikit/UIGestureRecognizer.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/internal/TargetAction.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIGestureRecognizer, "UIGestureRecognizer", [](Class cls) {
  class_addMethod(cls, UIGestureRecognizer::initSelector(),
                  imp([](UIGestureRecognizer& self, SEL, id target, SEL action) -> id {
                    self.addTarget(target, action);
                    return self.shared_from_this();
                  }));
})
IOS_DEFINE_RUNTIME_CLASS(UITapGestureRecognizer, "UITapGestureRecognizer", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UISwipeGestureRecognizer, "UISwipeGestureRecognizer", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIPanGestureRecognizer, "UIPanGestureRecognizer", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIPinchGestureRecognizer, "UIPinchGestureRecognizer", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UILongPressGestureRecognizer, "UILongPressGestureRecognizer", nullptr)

SEL UIGestureRecognizer::initSelector() {
  static const SEL selector = sel_registerName("initWithTarget:action:");
  return selector;
}

UIGestureRecognizer::UIGestureRecognizer(const std::shared_ptr<NSObject>& target, SEL action) {
  if (target != nullptr && action != nullptr) targets_.push_back({target, false, action});
}

void UIGestureRecognizer::addTarget(const std::shared_ptr<NSObject>& target, SEL action) {
  if (target == nullptr || action == nullptr) return;
  if (target.get() == this) {
    addSelfTarget(action);
    return;
  }
  targets_.push_back({target, false, action});
}

void UIGestureRecognizer::addSelfTarget(SEL action) {
  if (action != nullptr) targets_.push_back({{}, true, action});
}

void UIGestureRecognizer::removeTarget(const NSObject* target, SEL action) {
  std::erase_if(targets_, [&](const Target& t) {
    const NSObject* object = t.isSelf ? this : t.object.lock().get();
    return (target == nullptr || object == target) && (action == nullptr || t.action == action);
  });
}

void UIGestureRecognizer::sendActions() {
  const std::vector<Target> targets = targets_;  // an action may change the list
  const id self = shared_from_this();
  for (const Target& t : targets) {
    const id receiver = t.isSelf ? self : t.object.lock();
    if (receiver == nullptr) continue;
    uikit_internal::sendAction(receiver, t.action, self);
  }
}

void UIGestureRecognizer::moveTo(UIGestureRecognizerState state) {
  state_ = state;
  if (state == UIGestureRecognizerState::began || state == UIGestureRecognizerState::changed ||
      state == UIGestureRecognizerState::ended) {
    sendActions();
  }
}

void UIGestureRecognizer::recognizeDiscrete(std::int64_t touches) {
  touches_ = touches;
  moveTo(UIGestureRecognizerState::ended);
  state_ = UIGestureRecognizerState::possible;
}

void UIGestureRecognizer::recognizeContinuous(std::int64_t touches, std::size_t steps,
                                              const std::function<void(std::size_t)>& applyStep) {
  touches_ = touches;
  for (std::size_t i = 0; i < steps; ++i) {
    applyStep(i);
    moveTo(i == 0 ? UIGestureRecognizerState::began : UIGestureRecognizerState::changed);
  }
  moveTo(UIGestureRecognizerState::ended);
  state_ = UIGestureRecognizerState::possible;
}

namespace testing {
namespace {

// The recognisers offered a touch on `view`: those of the view the touch hits, then of
// its ancestors, each in the order added.
std::vector<std::shared_ptr<UIGestureRecognizer>> recognizersFor(UIView& view) {
  std::shared_ptr<UIView> root = std::static_pointer_cast<UIView>(view.shared_from_this());
  while (auto up = root->superview()) root = up;
  const CGRect b = view.bounds();
  const CGPoint point = view.convert(CGPoint(b.midX(), b.midY()), root.get());
  std::vector<std::shared_ptr<UIGestureRecognizer>> found;
  for (auto v = root->hitTest(point); v != nullptr; v = v->superview()) {
    if (auto list = v->gestureRecognizers()) {
      for (auto& r : *list) {
        if (r->isEnabled()) found.push_back(r);
      }
    }
  }
  return found;
}

template <class Recognizer>
std::shared_ptr<Recognizer> firstMatching(UIView& view, const std::function<bool(Recognizer&)>& matches) {
  for (auto& r : recognizersFor(view)) {
    auto typed = std::dynamic_pointer_cast<Recognizer>(r);
    if (typed != nullptr && matches(*typed)) return typed;
  }
  return nullptr;
}

}  // namespace

bool TouchSimulator::tap(UIView& view, std::int64_t taps, std::int64_t fingers) {
  auto r = firstMatching<UITapGestureRecognizer>(view, [&](UITapGestureRecognizer& tap) {
    return tap.numberOfTapsRequired == taps && tap.numberOfTouchesRequired == fingers;
  });
  if (r == nullptr) return false;
  r->recognizeDiscrete(fingers);
  return true;
}

bool TouchSimulator::swipe(UIView& view, UISwipeGestureRecognizerDirection direction, std::int64_t fingers) {
  auto r = firstMatching<UISwipeGestureRecognizer>(view, [&](UISwipeGestureRecognizer& swipe) {
    return direction != 0 && (swipe.direction & direction) == direction && swipe.numberOfTouchesRequired == fingers;
  });
  if (r == nullptr) return false;
  r->recognizeDiscrete(fingers);
  return true;
}

bool TouchSimulator::pan(UIView& view, const std::vector<CGPoint>& translations, std::int64_t fingers) {
  if (translations.empty()) return false;
  auto r = firstMatching<UIPanGestureRecognizer>(view, [&](UIPanGestureRecognizer& pan) {
    return fingers >= pan.minimumNumberOfTouches && fingers <= pan.maximumNumberOfTouches;
  });
  if (r == nullptr) return false;
  UIPanGestureRecognizer& pan = *r;
  r->recognizeContinuous(fingers, translations.size(), [&](std::size_t i) { pan.translation_ = translations[i]; });
  return true;
}

bool TouchSimulator::pinch(UIView& view, const std::vector<CGFloat>& scales) {
  if (scales.empty()) return false;
  auto r = firstMatching<UIPinchGestureRecognizer>(view, [](UIPinchGestureRecognizer&) { return true; });
  if (r == nullptr) return false;
  UIPinchGestureRecognizer& pinch = *r;
  r->recognizeContinuous(2, scales.size(), [&](std::size_t i) { pinch.scale = scales[i]; });
  return true;
}

bool TouchSimulator::longPress(UIView& view, double seconds, std::int64_t fingers) {
  auto r = firstMatching<UILongPressGestureRecognizer>(view, [&](UILongPressGestureRecognizer& press) {
    return press.numberOfTouchesRequired == fingers && seconds >= press.minimumPressDuration;
  });
  if (r == nullptr) return false;
  r->recognizeContinuous(fingers, 1, [](std::size_t) {});
  return true;
}

}  // namespace testing
}  // namespace ios
