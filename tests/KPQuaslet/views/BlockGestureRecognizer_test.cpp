#include "KPQuaslet/views/BlockGestureRecognizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPQuaslet/views/UIView+KPGestures.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

using ios::testing::TouchSimulator;
using S = ios::UIGestureRecognizerState;

class BlockGestures : public ios::testing::PlatformFixture {
 protected:
  std::shared_ptr<ios::UIView> root = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
  std::shared_ptr<ios::UIImageView> view = ios::UIImageView::make(ios::CGRect(10, 10, 40, 40));
  void SetUp() override { root->addSubview(view); }
};

// A target for the target-action adders.
class Target : public ios::NSObject {
  IOS_RUNTIME_CLASS(Target, ios::NSObject);

 public:
  int hits = 0;

 protected:
  Target() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Target, "BlockGestureTestTarget", [](ios::Class cls) {
  ios::class_addMethod(cls, ios::sel_registerName("hit:"),
                       ios::imp([](Target& self, ios::SEL, ios::id) { ++self.hits; }));
})

TEST_F(BlockGestures, DoubleTapClosureOnAViewWithInteractionOff) {
  ASSERT_FALSE(view->isUserInteractionEnabled());
  ios::UITapGestureRecognizer* received = nullptr;
  int calls = 0;
  kp::addTapGesture(*view, 2, [&](ios::UITapGestureRecognizer& r) {
    ++calls;
    received = &r;
  });
  EXPECT_TRUE(view->isUserInteractionEnabled());
  TouchSimulator::tap(*view, 1, 1);
  TouchSimulator::tap(*view, 2, 2);
  EXPECT_EQ(calls, 0);
  TouchSimulator::tap(*view, 2, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(received, view->gestureRecognizers()->front().get());
}

TEST_F(BlockGestures, ClosuresCanBeClearedOrReplaced) {
  std::vector<std::string> log;
  kp::addTapGesture(*view, 1, [&](ios::UITapGestureRecognizer&) { log.push_back("old"); });
  auto tap = std::dynamic_pointer_cast<kp::BlockTap>(view->gestureRecognizers()->front());
  ASSERT_NE(tap, nullptr);
  tap->tapAction = nullptr;
  EXPECT_TRUE(TouchSimulator::tap(*view));  // recognised, silently ignored
  tap->tapAction = [&](ios::UITapGestureRecognizer&) { log.push_back("new"); };
  TouchSimulator::tap(*view);
  EXPECT_THAT(log, ::testing::ElementsAre("new"));
  EXPECT_EQ(view->gestureRecognizers()->size(), 1u);
}

TEST_F(BlockGestures, SwipeFiresOnlyForItsDirectionAndFingers) {
  int calls = 0;
  kp::addSwipeGesture(*view, ios::UISwipeDirection::left, 2, [&](ios::UISwipeGestureRecognizer&) { ++calls; });
  TouchSimulator::swipe(*view, ios::UISwipeDirection::left, 1);
  TouchSimulator::swipe(*view, ios::UISwipeDirection::right, 2);
  EXPECT_EQ(calls, 0);
  TouchSimulator::swipe(*view, ios::UISwipeDirection::left, 2);
  EXPECT_EQ(calls, 1);
}

TEST_F(BlockGestures, ContinuousClosuresRunAtEveryStateChange) {
  std::vector<S> pans, pinches, presses;
  kp::addPanGesture(*view, [&](ios::UIPanGestureRecognizer& r) { pans.push_back(r.state()); });
  kp::addPinchGesture(*view, [&](ios::UIPinchGestureRecognizer& r) { pinches.push_back(r.state()); });
  kp::addLongPressGesture(*view, [&](ios::UILongPressGestureRecognizer& r) { presses.push_back(r.state()); });
  TouchSimulator::pan(*view, {{0, 0}, {3, 0}, {6, 0}});
  TouchSimulator::pinch(*view, {1, 1.5});
  TouchSimulator::longPress(*view, 0.49);
  TouchSimulator::longPress(*view, 1);
  EXPECT_THAT(pans, ::testing::ElementsAre(S::began, S::changed, S::changed, S::ended));
  EXPECT_THAT(pinches, ::testing::ElementsAre(S::began, S::changed, S::ended));
  EXPECT_THAT(presses, ::testing::ElementsAre(S::began, S::ended));
  auto press = std::dynamic_pointer_cast<ios::UILongPressGestureRecognizer>(view->gestureRecognizers()->back());
  EXPECT_EQ(press->minimumPressDuration, 0.5);
}

TEST_F(BlockGestures, MadeWithTargetAndActionTheyArePlainRecognisers) {
  auto pan = kp::BlockPan::make(nullptr, nullptr);
  EXPECT_FALSE(static_cast<bool>(pan->panAction));
  view->addGestureRecognizer(pan);
  view->setUserInteractionEnabled(true);
  EXPECT_TRUE(TouchSimulator::pan(*view, {{1, 1}}));
  // The runtime initialiser empties the closure, then adds the target.
  auto target = Target::make();
  auto tap = kp::BlockTap::make(std::int64_t{1}, std::int64_t{1}, [](ios::UITapGestureRecognizer&) {});
  ios::send<ios::id>(tap, ios::UIGestureRecognizer::initSelector(), ios::id(target), ios::sel_registerName("hit:"));
  EXPECT_FALSE(static_cast<bool>(tap->tapAction));
  view->addGestureRecognizer(tap);
  TouchSimulator::tap(*view);
  EXPECT_EQ(target->hits, 1);
}

TEST_F(BlockGestures, TargetActionAddersSendToTheCallersTarget) {
  auto target = Target::make();
  const ios::SEL hit = ios::sel_registerName("hit:");
  kp::addTapGesture(*view, 3, target, hit);
  kp::addSwipeGesture(*view, ios::UISwipeDirection::down, 1, target, hit);
  kp::addPanGesture(*view, target, hit);
  kp::addPinchGesture(*view, target, hit);
  kp::addLongPressGesture(*view, target, hit);
  EXPECT_TRUE(view->isUserInteractionEnabled());
  TouchSimulator::tap(*view, 3);
  TouchSimulator::swipe(*view, ios::UISwipeDirection::down);
  TouchSimulator::pan(*view, {{0, 0}});
  TouchSimulator::pinch(*view, {2});
  TouchSimulator::longPress(*view, 1);
  EXPECT_EQ(target->hits, 1 + 1 + 2 + 2 + 2);
  target.reset();
  EXPECT_TRUE(TouchSimulator::tap(*view, 3));  // the target is gone: no call, no failure
}

TEST_F(BlockGestures, ReleasingTheViewReleasesRecogniserAndClosure) {
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> weakToken = token;
  kp::addTapGesture(*view, 1, [token](ios::UITapGestureRecognizer&) { ++*token; });
  std::weak_ptr<ios::UIGestureRecognizer> weakTap = view->gestureRecognizers()->front();
  token.reset();
  EXPECT_FALSE(weakToken.expired());
  view->removeFromSuperview();
  view.reset();
  EXPECT_TRUE(weakTap.expired());
  EXPECT_TRUE(weakToken.expired());
}

TEST_F(BlockGestures, RuntimeNamesAndMethods) {
  struct Row {
    ios::Class cls;
    const char* name;
    const char* action;
    bool (*gesture)(ios::UIView&);
  };
  using Sim = TouchSimulator;
  for (const Row& row :
       {Row{kp::BlockTap::classObject(), "_TtC9KPQuaslet8BlockTap", "didTap:",
            [](ios::UIView& v) { return Sim::tap(v); }},
        Row{kp::BlockSwipe::classObject(), "_TtC9KPQuaslet10BlockSwipe", "didSwipe:",
            [](ios::UIView& v) { return Sim::swipe(v, ios::UISwipeDirection::right); }},
        Row{kp::BlockPan::classObject(), "_TtC9KPQuaslet8BlockPan", "didPan:",
            [](ios::UIView& v) { return Sim::pan(v, {{1, 1}}); }},
        Row{kp::BlockPinch::classObject(), "_TtC9KPQuaslet10BlockPinch", "didPinch:",
            [](ios::UIView& v) { return Sim::pinch(v, {2}); }},
        Row{kp::BlockLongPress::classObject(), "_TtC9KPQuaslet14BlockLongPress", "didLongPressed:",
            [](ios::UIView& v) { return Sim::longPress(v, 1); }}}) {
    EXPECT_STREQ(ios::class_getName(row.cls), row.name);
    EXPECT_EQ(ios::objc_getClass(row.name), row.cls);
    std::vector<std::string> names;
    for (ios::Method m : ios::class_copyMethodList(row.cls)) names.push_back(ios::sel_getName(ios::method_getName(m)));
    EXPECT_THAT(names, ::testing::ElementsAre("initWithTarget:action:", row.action)) << row.name;

    // Made by name and initialised through the runtime, it works as a plain recogniser.
    const ios::id made = ios::class_createInstance(ios::objc_getClass(row.name));
    ASSERT_NE(made, nullptr) << row.name;
    EXPECT_TRUE(made->isMemberOfClass(row.cls)) << row.name;
    auto target = Target::make();
    ios::send<ios::id>(made, ios::UIGestureRecognizer::initSelector(), ios::id(target),
                       ios::sel_registerName("hit:"));
    auto owner = ios::UIView::make(ios::CGRect(0, 0, 10, 10));
    owner->addGestureRecognizer(std::static_pointer_cast<ios::UIGestureRecognizer>(made));
    EXPECT_TRUE(row.gesture(*owner)) << row.name;
    EXPECT_GE(target->hits, 1) << row.name;
  }
}

}  // namespace
