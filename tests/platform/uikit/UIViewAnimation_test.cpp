#include "platform/uikit/UIViewAnimation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

using ios::UIView;
using ios::testing::recordedViewAnimations;
using ios::testing::ViewAnimationKind;

class UIViewAnimationTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  std::shared_ptr<UIView> view = UIView::make(ios::CGRect(0, 0, 10, 10));
};

TEST_F(UIViewAnimationTest, BlocksRunAtOnceAndRecordTheirChanges) {
  UIView::animate(0.3, 0.1, ios::UIViewAnimationOption::curveLinear, [&] { view->setAlpha(0); });
  EXPECT_EQ(view->alpha(), 0);
  ASSERT_EQ(recordedViewAnimations().size(), 1u);
  const auto& record = recordedViewAnimations()[0];
  EXPECT_EQ(record.kind, ViewAnimationKind::basic);
  EXPECT_EQ(record.duration, 0.3);
  EXPECT_EQ(record.delay, 0.1);
  EXPECT_EQ(record.options, 196608u);
  ASSERT_EQ(record.changes.size(), 1u);
  EXPECT_EQ(record.changes[0].key, "opacity");
  EXPECT_EQ(std::get<double>(record.changes[0].from), 1.0);
  EXPECT_EQ(std::get<double>(record.changes[0].to), 0.0);
  EXPECT_EQ(record.changes[0].layer.lock(), view->layer());
  view->setAlpha(1);  // outside a block: not recorded
  EXPECT_EQ(recordedViewAnimations()[0].changes.size(), 1u);
}

// Changes are recorded into the innermost open block, and the outer block keeps
// recording after an inner one closes; nothing is recorded once all are closed.
TEST_F(UIViewAnimationTest, NestedBlocksRecordIntoTheInnermostOpenOne) {
  UIView::animate(0.5, [&] {
    view->setAlpha(0.5);
    UIView::animate(0.2, [&] { view->setHidden(true); });
    view->setCenter({7, 7});
  });
  view->setAlpha(1);
  ASSERT_EQ(recordedViewAnimations().size(), 2u);
  std::vector<std::string> outer, inner;
  for (const auto& change : recordedViewAnimations()[0].changes) outer.push_back(change.key);
  for (const auto& change : recordedViewAnimations()[1].changes) inner.push_back(change.key);
  EXPECT_THAT(outer, ::testing::ElementsAre("opacity", "position"));
  EXPECT_THAT(inner, ::testing::ElementsAre("hidden"));
}

TEST_F(UIViewAnimationTest, CompletionsRunOnTheMainQueueAtTheEndOfDelayPlusDuration) {
  std::vector<bool> finished;
  UIView::animate(0.25, 0.25, 0, [] {}, [&](bool f) { finished.push_back(f); });
  UIView::animate(0, [] {}, [&](bool f) { finished.push_back(!f); });
  EXPECT_TRUE(finished.empty());  // never inside the call
  dispatch.runPending();
  EXPECT_THAT(finished, ::testing::ElementsAre(false));
  dispatch.advance(0.49);
  EXPECT_EQ(finished.size(), 1u);
  dispatch.advance(0.01);
  EXPECT_THAT(finished, ::testing::ElementsAre(false, true));
}

TEST_F(UIViewAnimationTest, RemovingTheLayersAnimationsEndsThemUnfinished) {
  std::vector<bool> finished;
  UIView::animate(5, [&] { view->setCenter({1, 1}); }, [&](bool f) { finished.push_back(f); });
  UIView::animate(5, [] {}, [&](bool f) { finished.push_back(f); });
  view->layer()->removeAllAnimations();
  dispatch.runPending();
  EXPECT_THAT(finished, ::testing::ElementsAre(false));
  dispatch.advance(5);
  EXPECT_THAT(finished, ::testing::ElementsAre(false, true));  // the first does not run twice
}

TEST_F(UIViewAnimationTest, SpringTransitionAndAnimatedScrollingAreRecorded) {
  UIView::animate(1, 0, 0.5, 0.5, 128, [] {});
  UIView::transition(view, 0.2, 5242886, [] {});
  auto scroll = ios::UIScrollView::make(ios::CGRect(0, 0, 10, 10));
  scroll->setContentOffset({0, 4}, true);
  const auto& records = recordedViewAnimations();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].kind, ViewAnimationKind::spring);
  EXPECT_EQ(records[0].dampingRatio, 0.5);
  EXPECT_EQ(records[1].kind, ViewAnimationKind::transition);
  EXPECT_EQ(records[1].view.lock(), view);
  EXPECT_EQ(records[2].changes.at(0).key, "bounds");
  EXPECT_EQ(scroll->contentOffset(), ios::CGPoint(0, 4));
}

TEST_F(UIViewAnimationTest, NonFiniteDurationsCountAsZero) {
  int calls = 0;
  UIView::animate(std::numeric_limits<double>::infinity(), [] {}, [&](bool) { ++calls; });
  UIView::animate(-1, [] {}, [&](bool) { ++calls; });
  dispatch.runPending();
  EXPECT_EQ(calls, 2);
}

}  // namespace
