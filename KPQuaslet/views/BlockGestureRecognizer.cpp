#include "KPQuaslet/views/BlockGestureRecognizer.h"

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace kp {
namespace {

ios::SEL selector(const char* name) { return ios::sel_registerName(name); }

// Adds "initWithTarget:action:" (which empties the closure, then runs the superclass's
// initialiser) and the action method to the class of `Block`, in that order.
template <class Block, class Recognizer, auto Closure, auto ActionMethod>
void configure(ios::Class cls, const char* actionName) {
  ios::class_addMethod(cls, ios::UIGestureRecognizer::initSelector(),
                       ios::imp([](Block& self, ios::SEL cmd, ios::id target, ios::SEL action) -> ios::id {
                         self.*Closure = nullptr;
                         return ios::sendSuper<ios::id>(&self, Block::classObject(), cmd, target, action);
                       }));
  ios::class_addMethod(cls, selector(actionName),
                       ios::imp([](Block& self, ios::SEL, std::shared_ptr<Recognizer> sender) {
                         if (sender != nullptr) (self.*ActionMethod)(*sender);
                       }));
}

// Calls a copy of `closure`, so that a closure that replaces itself finishes safely.
template <class F, class R>
void callClosure(const F& closure, R& sender) {
  if (!closure) return;
  const F keep = closure;
  keep(sender);
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(BlockTap, "_TtC9KPQuaslet8BlockTap", ([](ios::Class cls) {
                           configure<BlockTap, ios::UITapGestureRecognizer, &BlockTap::tapAction, &BlockTap::didTap>(
                               cls, "didTap:");
                         }))
IOS_DEFINE_RUNTIME_CLASS(BlockSwipe, "_TtC9KPQuaslet10BlockSwipe", ([](ios::Class cls) {
                           configure<BlockSwipe, ios::UISwipeGestureRecognizer, &BlockSwipe::swipeAction,
                                     &BlockSwipe::didSwipe>(cls, "didSwipe:");
                         }))
IOS_DEFINE_RUNTIME_CLASS(BlockPan, "_TtC9KPQuaslet8BlockPan", ([](ios::Class cls) {
                           configure<BlockPan, ios::UIPanGestureRecognizer, &BlockPan::panAction, &BlockPan::didPan>(
                               cls, "didPan:");
                         }))
IOS_DEFINE_RUNTIME_CLASS(BlockPinch, "_TtC9KPQuaslet10BlockPinch", ([](ios::Class cls) {
                           configure<BlockPinch, ios::UIPinchGestureRecognizer, &BlockPinch::pinchAction,
                                     &BlockPinch::didPinch>(cls, "didPinch:");
                         }))
IOS_DEFINE_RUNTIME_CLASS(BlockLongPress, "_TtC9KPQuaslet14BlockLongPress", ([](ios::Class cls) {
                           configure<BlockLongPress, ios::UILongPressGestureRecognizer,
                                     &BlockLongPress::longPressAction, &BlockLongPress::didLongPressed>(
                               cls, "didLongPressed:");
                         }))

BlockTap::BlockTap(const std::shared_ptr<ios::NSObject>& target, ios::SEL action)
    : UITapGestureRecognizer(target, action) {}

BlockTap::BlockTap(std::int64_t tapCount, std::int64_t fingerCount, Action action) {
  numberOfTapsRequired = tapCount;
  numberOfTouchesRequired = fingerCount;
  tapAction = std::move(action);
  addSelfTarget(selector("didTap:"));
}

void BlockTap::didTap(ios::UITapGestureRecognizer& sender) { callClosure(tapAction, sender); }

BlockSwipe::BlockSwipe(const std::shared_ptr<ios::NSObject>& target, ios::SEL action)
    : UISwipeGestureRecognizer(target, action) {}

BlockSwipe::BlockSwipe(ios::UISwipeGestureRecognizerDirection swipeDirection, std::int64_t fingerCount,
                       Action action) {
  direction = swipeDirection;
  numberOfTouchesRequired = fingerCount;
  swipeAction = std::move(action);
  addSelfTarget(selector("didSwipe:"));
}

void BlockSwipe::didSwipe(ios::UISwipeGestureRecognizer& sender) { callClosure(swipeAction, sender); }

BlockPan::BlockPan(const std::shared_ptr<ios::NSObject>& target, ios::SEL action)
    : UIPanGestureRecognizer(target, action) {}

BlockPan::BlockPan(Action action) {
  panAction = std::move(action);
  addSelfTarget(selector("didPan:"));
}

void BlockPan::didPan(ios::UIPanGestureRecognizer& sender) { callClosure(panAction, sender); }

BlockPinch::BlockPinch(const std::shared_ptr<ios::NSObject>& target, ios::SEL action)
    : UIPinchGestureRecognizer(target, action) {}

BlockPinch::BlockPinch(Action action) {
  pinchAction = std::move(action);
  addSelfTarget(selector("didPinch:"));
}

void BlockPinch::didPinch(ios::UIPinchGestureRecognizer& sender) { callClosure(pinchAction, sender); }

BlockLongPress::BlockLongPress(const std::shared_ptr<ios::NSObject>& target, ios::SEL action)
    : UILongPressGestureRecognizer(target, action) {}

BlockLongPress::BlockLongPress(Action action) {
  longPressAction = std::move(action);
  addSelfTarget(selector("didLongPressed:"));
}

void BlockLongPress::didLongPressed(ios::UILongPressGestureRecognizer& sender) {
  callClosure(longPressAction, sender);
}

}  // namespace kp
