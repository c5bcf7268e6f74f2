// File: KPQuaslet/views/UIView+KPGestures.h
//
// Adding gesture recognisers to a view in one call, with a target and selector or with
// a closure. Each adds the recogniser to the view, then turns on its user interaction.
//
//   kp::addTapGesture(*avatar, 2, [](ios::UITapGestureRecognizer&) { ... });
//   kp::addSwipeGesture(*card, ios::UISwipeDirection::left, 1, controller,
//                       ios::sel_registerName("dismiss"));
//
// The recogniser is reachable through the view's gestureRecognizers(); targets are not
// retained.
#pragma once

#include <cstdint>
#include <memory>

#include "KPQuaslet/views/BlockGestureRecognizer.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIView.h"

namespace kp {

// A tap recogniser needing `tapNumber` taps (one finger for the closure form).
void addTapGesture(ios::UIView& view, std::int64_t tapNumber, const std::shared_ptr<ios::NSObject>& target,
                   ios::SEL action);
void addTapGesture(ios::UIView& view, std::int64_t tapNumber, BlockTap::Action action);
// A swipe recogniser for `direction` and `numberOfTouches` fingers.
void addSwipeGesture(ios::UIView& view, ios::UISwipeGestureRecognizerDirection direction,
                     std::int64_t numberOfTouches, const std::shared_ptr<ios::NSObject>& target, ios::SEL action);
void addSwipeGesture(ios::UIView& view, ios::UISwipeGestureRecognizerDirection direction,
                     std::int64_t numberOfTouches, BlockSwipe::Action action);
// Pan, pinch and long-press recognisers with the platform's defaults.
void addPanGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action);
void addPanGesture(ios::UIView& view, BlockPan::Action action);
void addPinchGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action);
void addPinchGesture(ios::UIView& view, BlockPinch::Action action);
void addLongPressGesture(ios::UIView& view, const std::shared_ptr<ios::NSObject>& target, ios::SEL action);
void addLongPressGesture(ios::UIView& view, BlockLongPress::Action action);

}  // namespace kp
