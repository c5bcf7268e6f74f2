#include "KPQuaslet/views/UIView+KPGestures.h"

namespace kp {
namespace {

void attach(ios::UIView& view, const std::shared_ptr<ios::UIGestureRecognizer>& recognizer) {
  view.addGestureRecognizer(recognizer);
  view.setUserInteractionEnabled(true);
}

}  // namespace

void addTapGesture(ios::UIView& view, std::int64_t tapNumber, const std::shared_ptr<ios::NSObject>& target,
                   ios::SEL action) {
  auto tap = ios::UITapGestureRecognizer::make(target, action);
  tap->numberOfTapsRequired = tapNumber;
  attach(view, tap);
}

void addTapGesture(ios::UIView& view, std::int64_t tapNumber, BlockTap::Action action) {
  attach(view, BlockTap::make(tapNumber, std::int64_t{1}, std::move(action)));
}

void addSwipeGesture(ios::UIView& view, ios::UISwipeGestureRecognizerDirection direction,
                     std::int64_t numberOfTouches, const std::shared_ptr<ios::NSObject>& target, ios::SEL action) {
  auto swipe = ios::UISwipeGestureRecognizer::make(target, action);
  swipe->direction = direction;
  swipe->numberOfTouchesRequired = numberOfTouches;
  attach(view, swipe);
}

void addSwipeGesture(ios::UIView& view, ios::UISwipeGestureRecognizerDirection direction,
                     std::int64_t numberOfTouches, BlockSwipe::Action action) {
  attach(view, BlockSwipe::make(direction, numberOfTouches, std::move(action)));
}

void addPanGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action) {
  attach(view, ios::UIPanGestureRecognizer::make(target, action));
}

void addPanGesture(ios::UIView& view, BlockPan::Action action) { attach(view, BlockPan::make(std::move(action))); }

void addPinchGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action) {
  attach(view, ios::UIPinchGestureRecognizer::make(target, action));
}

void addPinchGesture(ios::UIView& view, BlockPinch::Action action) {
  attach(view, BlockPinch::make(std::move(action)));
}

void addLongPressGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action) {
  attach(view, ios::UILongPressGestureRecognizer::make(target, action));
}

void addLongPressGesture(ios::UIView& view, BlockLongPress::Action action) {
  attach(view, BlockLongPress::make(std::move(action)));
}

}  // namespace kp
