#include "platform/uikit/UIGestureRecognizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIView.h"

namespace {

using ios::testing::TouchSimulator;

// A target that records the actions it receives.
class Recorder : public ios::NSObject {
  IOS_RUNTIME_CLASS(Recorder, ios::NSObject);

 public:
  std::vector<std::string> calls;
  std::vector<ios::UIGestureRecognizerState> states;

 protected:
  Recorder() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Recorder, "GestureTestRecorder", [](ios::Class cls) {
  ios::class_addMethod(cls, ios::sel_registerName("ping"),
                       ios::imp([](Recorder& self, ios::SEL) { self.calls.push_back("ping"); }));
  ios::class_addMethod(cls, ios::sel_registerName("handle:"),
                       ios::imp([](Recorder& self, ios::SEL, std::shared_ptr<ios::UIGestureRecognizer> sender) {
                         self.calls.push_back("handle");
                         self.states.push_back(sender->state());
                       }));
})

class GestureTest : public ios::testing::PlatformFixture {
 protected:
  std::shared_ptr<ios::UIView> root = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
  std::shared_ptr<ios::UIView> view = ios::UIView::make(ios::CGRect(10, 10, 40, 40));
  std::shared_ptr<Recorder> target = Recorder::make();
  void SetUp() override { root->addSubview(view); }
};

TEST_F(GestureTest, TapRecognisesOnlyTheRequiredTapsAndFingers) {
  auto tap = ios::UITapGestureRecognizer::make(target, ios::sel_registerName("ping"));
  tap->numberOfTapsRequired = 2;
  view->addGestureRecognizer(tap);
  struct Row {
    std::int64_t taps, fingers;
    bool recognised;
  };
  for (const Row& row : {Row{1, 1, false}, Row{2, 2, false}, Row{2, 1, true}, Row{3, 1, false}}) {
    EXPECT_EQ(TouchSimulator::tap(*view, row.taps, row.fingers), row.recognised) << row.taps << " " << row.fingers;
  }
  EXPECT_THAT(target->calls, ::testing::ElementsAre("ping"));
  EXPECT_EQ(tap->state(), ios::UIGestureRecognizerState::possible);
}

TEST_F(GestureTest, TouchesDoNotReachHiddenInertOrCoveredViews) {
  view->addGestureRecognizer(ios::UITapGestureRecognizer::make(target, ios::sel_registerName("ping")));
  view->setUserInteractionEnabled(false);
  EXPECT_FALSE(TouchSimulator::tap(*view));
  view->setUserInteractionEnabled(true);
  root->setHidden(true);
  EXPECT_FALSE(TouchSimulator::tap(*view));
  root->setHidden(false);
  auto cover = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
  root->addSubview(cover);
  EXPECT_FALSE(TouchSimulator::tap(*view));
  cover->removeFromSuperview();
  EXPECT_TRUE(TouchSimulator::tap(*view));
  // A recogniser of an ancestor sees touches on its descendants.
  auto parentTap = ios::UITapGestureRecognizer::make(target, ios::sel_registerName("ping"));
  parentTap->numberOfTapsRequired = 3;
  root->addGestureRecognizer(parentTap);
  EXPECT_TRUE(TouchSimulator::tap(*view, 3));
}

TEST_F(GestureTest, ContinuousRecognisersSendEveryStateChange) {
  const ios::SEL handle = ios::sel_registerName("handle:");
  auto pan = ios::UIPanGestureRecognizer::make(target, handle);
  view->addGestureRecognizer(pan);
  EXPECT_TRUE(TouchSimulator::pan(*view, {{0, 0}, {5, 0}, {9, 2}}));
  using S = ios::UIGestureRecognizerState;
  EXPECT_THAT(target->states, ::testing::ElementsAre(S::began, S::changed, S::changed, S::ended));
  EXPECT_EQ(pan->translation(), ios::CGPoint(9, 2));

  target->states.clear();
  auto press = ios::UILongPressGestureRecognizer::make(target, handle);
  view->addGestureRecognizer(press);
  EXPECT_FALSE(TouchSimulator::longPress(*view, 0.4));
  EXPECT_TRUE(TouchSimulator::longPress(*view, 0.5));
  EXPECT_THAT(target->states, ::testing::ElementsAre(S::began, S::ended));

  auto swipe = ios::UISwipeGestureRecognizer::make(target, ios::sel_registerName("ping"));
  swipe->direction = ios::UISwipeDirection::left | ios::UISwipeDirection::up;
  view->addGestureRecognizer(swipe);
  EXPECT_FALSE(TouchSimulator::swipe(*view, ios::UISwipeDirection::right));
  EXPECT_TRUE(TouchSimulator::swipe(*view, ios::UISwipeDirection::up));
}

TEST_F(GestureTest, TargetsAreNotRetained) {
  auto tap = ios::UITapGestureRecognizer::make(target, ios::sel_registerName("ping"));
  view->addGestureRecognizer(tap);
  std::weak_ptr<Recorder> weak = target;
  target.reset();
  EXPECT_TRUE(weak.expired());
  EXPECT_TRUE(TouchSimulator::tap(*view));  // recognised; the gone target is skipped
}

TEST_F(GestureTest, RuntimeInitialiserAddsTheTarget) {
  auto tap = ios::UITapGestureRecognizer::make();
  ios::send<ios::id>(tap, ios::UIGestureRecognizer::initSelector(), ios::id(target), ios::sel_registerName("ping"));
  view->addGestureRecognizer(tap);
  TouchSimulator::tap(*view);
  EXPECT_THAT(target->calls, ::testing::ElementsAre("ping"));
}

}  // namespace
