#include "KPQuaslet/views/UIView+KPAnimation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/views/UIView+Shake.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIAccessibility.h"
#include "platform/uikit/UIViewAnimation.h"

namespace {

using ios::CATransform3D;
using ios::CGAffineTransform;
using ios::UIView;
using ios::testing::recordedViewAnimations;

class UIViewKPAnimation : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  std::shared_ptr<UIView> view = UIView::make(ios::CGRect(0, 0, 20, 20));
};

TEST_F(UIViewKPAnimation, LayerTransformsStartFromThePerspectiveIdentity) {
  kp::setRotation(*view, 0, 0, 0);
  EXPECT_EQ(view->layer()->transform(), kp::perspectiveIdentity());
  EXPECT_EQ(kp::perspectiveIdentity().m34, -0.001);
  kp::setRotationZ(*view, 90);
  const CATransform3D z = view->layer()->transform();
  EXPECT_NEAR(z.m11, 0, 1e-15);
  EXPECT_NEAR(z.m12, 1, 1e-15);
  EXPECT_NEAR(z.m21, -1, 1e-15);
  EXPECT_EQ(z.m34, -0.001);
  // x then y then z: rotations about different axes do not commute.
  kp::setRotation(*view, 90, 90, 0);
  const CATransform3D xy = view->layer()->transform();
  kp::setRotationY(*view, 90);
  const CATransform3D yOnly = view->layer()->transform();
  const CATransform3D expected = ios::CATransform3DRotate(
      ios::CATransform3DRotate(kp::perspectiveIdentity(), M_PI / 2, 1, 0, 0), M_PI / 2, 0, 1, 0);
  EXPECT_EQ(xy, expected);
  EXPECT_NE(xy, yOnly);
  kp::setScale(*view, 2, 3);
  kp::setScale(*view, 2, 3);  // replaces, does not multiply
  EXPECT_EQ(view->layer()->transform(), ios::CATransform3DScale(kp::perspectiveIdentity(), 2, 3, 1));
}

TEST_F(UIViewKPAnimation, PopJumpsThenSpringsBack) {
  kp::popBig(*view);
  ASSERT_EQ(recordedViewAnimations().size(), 1u);
  const auto& spring = recordedViewAnimations()[0];
  EXPECT_EQ(spring.kind, ios::testing::ViewAnimationKind::spring);
  EXPECT_EQ(spring.duration, 1.0);
  EXPECT_EQ(spring.dampingRatio, 0.5);
  EXPECT_EQ(spring.initialVelocity, 0.5);
  EXPECT_EQ(spring.options, 128u);
  ASSERT_EQ(spring.changes.size(), 1u);
  EXPECT_EQ(std::get<CATransform3D>(spring.changes[0].from),
            ios::CATransform3DScale(kp::perspectiveIdentity(), 1.25, 1.25, 1));
  EXPECT_EQ(view->layer()->transform(), kp::perspectiveIdentity());
  kp::spring(3, [] {});
  EXPECT_EQ(recordedViewAnimations()[1].duration, 3);
}

TEST_F(UIViewKPAnimation, ScaleMultipliesTheViewTransform) {
  std::vector<bool> finished;
  kp::scale(*view, {2, 2}, false, 0, [&](bool f) { finished.push_back(f); });
  EXPECT_THAT(finished, ::testing::ElementsAre(true));  // at once
  kp::scale(*view, {2, 2}, false, 0);
  EXPECT_EQ(view->transform(), ios::CGAffineTransformMakeScale(4, 4));
  kp::scale(*view, {0.5, 1}, true, 0.4, [&](bool f) { finished.push_back(f); });
  EXPECT_EQ(view->transform(), ios::CGAffineTransformMakeScale(2, 4));
  EXPECT_EQ(recordedViewAnimations().back().options, 196608u);
  dispatch.advance(0.39);
  EXPECT_EQ(finished.size(), 1u);
  dispatch.advance(0.01);
  EXPECT_THAT(finished, ::testing::ElementsAre(true, true));
}

TEST_F(UIViewKPAnimation, FadesUnhideAndAnimateAlpha) {
  view->setHidden(true);
  kp::fadeOut(*view, 0.2);
  EXPECT_FALSE(view->isHidden());
  EXPECT_EQ(view->alpha(), 0);
  const auto& changes = recordedViewAnimations().back().changes;
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].key, "opacity");
  dispatch.advance(1);
  EXPECT_FALSE(view->isHidden());  // fadeOut does not hide at the end
  view->setHidden(true);
  bool done = false;
  kp::fadeIn(*view, 0.2, [&](bool f) { done = f; });
  EXPECT_EQ(view->alpha(), 1);
  dispatch.advance(0.2);
  EXPECT_TRUE(done);
}

TEST_F(UIViewKPAnimation, ShakeWithAddsOneKeyframeAnimation) {
  kp::shakeWith(*view, 3);
  const auto animations = view->layer()->animations();
  ASSERT_EQ(animations.size(), 1u);
  EXPECT_FALSE(animations[0].first.has_value());
  auto keyframes = std::dynamic_pointer_cast<ios::CAKeyframeAnimation>(animations[0].second);
  ASSERT_NE(keyframes, nullptr);
  EXPECT_EQ(keyframes->keyPath, "transform");
  EXPECT_EQ(keyframes->repeatCount, 3.0f);
  EXPECT_EQ(keyframes->duration, 0.07);
  EXPECT_TRUE(keyframes->autoreverses);
  ASSERT_EQ(keyframes->values.size(), 2u);
  EXPECT_EQ(std::get<CATransform3D>(keyframes->values[0]), ios::CATransform3DMakeTranslation(-5, 0, 0));
  EXPECT_EQ(std::get<CATransform3D>(keyframes->values[1]), ios::CATransform3DMakeTranslation(5, 0, 0));
  EXPECT_EQ(view->layer()->transform(), ios::CATransform3DIdentity);
  view->layer()->removeAllAnimations();
  EXPECT_TRUE(view->layer()->animations().empty());
  EXPECT_EQ(view->layer()->transform(), ios::CATransform3DIdentity);
}

// The affine transforms the recorded shake moves went to.
std::vector<CGAffineTransform> shakeMoves() {
  std::vector<CGAffineTransform> moves;
  for (const auto& record : recordedViewAnimations()) {
    for (const auto& change : record.changes) {
      moves.push_back(ios::CATransform3DGetAffineTransform(std::get<CATransform3D>(change.to)));
    }
  }
  return moves;
}

TEST_F(UIViewKPAnimation, ChainedShakeMovesThenResetsThenCompletes) {
  int completions = 0;
  EXPECT_EQ(kp::shake(*view, kp::ShakeDirection::vertical, 2, 0.5f, [&] { ++completions; }), nullptr);
  for (int i = 0; i < 3; ++i) dispatch.advance(0.25);
  EXPECT_EQ(completions, 0);
  dispatch.advance(0.25);
  EXPECT_EQ(completions, 1);
  dispatch.advance(10);
  EXPECT_EQ(completions, 1);
  using ios::CGAffineTransformMakeTranslation;
  EXPECT_THAT(shakeMoves(), ::testing::ElementsAre(CGAffineTransformMakeTranslation(0, 2),
                                                   CGAffineTransformMakeTranslation(0, -2),
                                                   CGAffineTransformMakeTranslation(0, 2), CGAffineTransform()));
  for (const auto& record : recordedViewAnimations()) EXPECT_EQ(record.duration, 0.25);
}

// Every move is a translation of the untransformed layer and every shake ends at rest:
// two shakes started together, or one started while another runs (a double tap), leave
// the view where it was, not displaced.
TEST_F(UIViewKPAnimation, ChainedShakesMoveFromTheUntransformedLayerAndEndAtRest) {
  struct Row {
    const char* name;
    double secondStartsAfter;  // seconds after the first; negative: no second shake
  };
  for (const Row& row : {Row{"one", -1}, Row{"two together", 0}, Row{"second during the first", 0.3}}) {
    auto shaken = UIView::make(ios::CGRect(0, 0, 20, 20));
    shaken->setTransform(ios::CGAffineTransformMakeScale(2, 2));
    int completions = 0;
    kp::shake(*shaken, kp::ShakeDirection::horizontal, 3, 0.6f, [&] { ++completions; });
    EXPECT_EQ(shaken->transform(), ios::CGAffineTransformMakeTranslation(2, 0)) << row.name;
    if (row.secondStartsAfter >= 0) {
      dispatch.advance(row.secondStartsAfter);
      kp::shake(*shaken, kp::ShakeDirection::horizontal, 3, 0.6f, [&] { ++completions; });
    }
    dispatch.advance(10);
    EXPECT_EQ(shaken->transform(), CGAffineTransform()) << row.name;
    EXPECT_EQ(completions, row.secondStartsAfter >= 0 ? 2 : 1) << row.name;
  }
  // An interrupted step still continues the chain, to the other side.
  kp::shake(*view, kp::ShakeDirection::horizontal, 1, 0.2f);
  view->layer()->removeAllAnimations();
  dispatch.runPending();
  EXPECT_EQ(view->transform(), ios::CGAffineTransformMakeTranslation(-2, 0));
  dispatch.advance(1);
  EXPECT_EQ(view->transform(), CGAffineTransform());
}

TEST_F(UIViewKPAnimation, ShakeWithVoiceOverOrWithoutMovesDoesNothing) {
  ios::testing::setVoiceOverRunning(true);
  int completions = 0;
  EXPECT_EQ(kp::shake(*view, kp::ShakeDirection::horizontal, 3, 0.5f, [&] { ++completions; }), view);
  dispatch.advance(5);
  EXPECT_EQ(completions, 0);
  EXPECT_TRUE(recordedViewAnimations().empty());
  ios::testing::setVoiceOverRunning(false);
  for (std::int64_t count : {std::int64_t{0}, std::int64_t{-3}}) {
    EXPECT_EQ(kp::shake(*view, kp::ShakeDirection::horizontal, count, 0.5f, [&] { ++completions; }), nullptr);
  }
  EXPECT_EQ(dispatch.runPending(), 2u);
  EXPECT_EQ(completions, 2);
  EXPECT_TRUE(recordedViewAnimations().empty());
  EXPECT_EQ(dispatch.pendingBlockCount(), 0u);
}

TEST_F(UIViewKPAnimation, EnumsRoundTripTheirRawValues) {
  EXPECT_EQ(kp::rawValue(kp::UIViewAnimationFlipDirection::top), "fromTop");
  EXPECT_EQ(kp::fromRawValue<kp::UIViewAnimationFlipDirection>(std::string_view("fromBottom")),
            kp::UIViewAnimationFlipDirection::bottom);
  EXPECT_EQ(kp::fromRawValue<kp::UIViewAnimationFlipDirection>(std::string_view("fromtop")), std::nullopt);
  EXPECT_EQ(kp::fromRawValue<kp::UIViewAnimationTranslationDirection>(std::int64_t{1}),
            kp::UIViewAnimationTranslationDirection::rightToLeft);
  EXPECT_EQ(kp::fromRawValue<kp::ShakeDirection>(std::int64_t{2}), std::nullopt);
  EXPECT_EQ(kp::rawValue(kp::ShakeDirection::vertical), 1);
  EXPECT_EQ(kp::DefaultValues::numberOfTimes, 5);
  EXPECT_EQ(kp::DefaultValues::totalDuration, 0.5f);
}

}  // namespace
