#include "KPQuaslet/views/UINavigationBar+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NSException.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

using ios::UIColor;
using ios::UINavigationBar;
using ios::UIViewController;
using ::testing::ElementsAre;

class UINavigationBarKPExt : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  std::shared_ptr<ios::UIWindow> window = ios::UIWindow::make(ios::CGRect(0, 0, 375, 667));
  std::shared_ptr<UIViewController> root = UIViewController::make();
  std::shared_ptr<ios::UINavigationController> nav = ios::UINavigationController::make(root);
  std::shared_ptr<UINavigationBar> bar = nav->navigationBar();

  static std::optional<UIColor> titleColor(const UINavigationBar& b) {
    auto attributes = b.titleTextAttributes();
    if (!attributes) return std::nullopt;
    auto it = attributes->find(ios::NSAttributedString::Key::foregroundColor);
    return it == attributes->end() ? std::nullopt : std::optional<UIColor>(std::any_cast<UIColor>(it->second));
  }
};

TEST_F(UINavigationBarKPExt, PushAndPopCompletionsWaitForTheTransition) {
  window->setRootViewController(nav);
  int pushed = 0, popped = 0;
  kp::pushViewController(*nav, UIViewController::make(), [&] { ++pushed; });
  dispatch.advance(0.3);
  EXPECT_EQ(pushed, 0);
  dispatch.advance(0.05);
  EXPECT_EQ(pushed, 1);
  kp::popViewController(*nav, [&] { ++popped; });
  EXPECT_EQ(nav->topViewController(), root);
  dispatch.advance(0.35);
  EXPECT_EQ(popped, 1);
  // No completion: a plain animated push.
  kp::pushViewController(*nav, UIViewController::make(), nullptr);
  EXPECT_EQ(nav->viewControllers().size(), 2u);
  dispatch.advance(1);
  EXPECT_EQ(pushed, 1);

  // Outside a window the completion comes on the next turn.
  auto loose = ios::UINavigationController::make(UIViewController::make());
  kp::pushViewController(*loose, UIViewController::make(), [&] { ++pushed; });
  dispatch.runPending();
  EXPECT_EQ(pushed, 2);
}

// A push that raises still commits its transaction: later completion blocks of this
// thread, set outside any transaction, run as they should.
TEST_F(UINavigationBarKPExt, APushThatRaisesClosesItsTransaction) {
  window->setRootViewController(nav);
  int failedPush = 0, later = 0;
  EXPECT_THROW(kp::pushViewController(*nav, root, [&] { ++failedPush; }), ios::NSException);
  ios::CATransaction::setCompletionBlock([&] { ++later; });
  dispatch.runPending();
  EXPECT_EQ(later, 1);
  EXPECT_EQ(failedPush, 1);
  EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(UINavigationBarKPExt, RemoveFromTheStack) {
  auto a = UIViewController::make();
  auto b = UIViewController::make();
  nav->setViewControllers({root, a, b}, false);
  kp::remove(*nav, std::vector<std::shared_ptr<UIViewController>>{a, a});
  EXPECT_THAT(nav->viewControllers(), ElementsAre(root, b));
  kp::remove(*nav, UIViewController::make());
  kp::remove(*nav, std::int64_t{-1});
  kp::remove(*nav, std::int64_t{2});
  EXPECT_THAT(nav->viewControllers(), ElementsAre(root, b));
  kp::remove(*nav, std::int64_t{0});
  EXPECT_THAT(nav->viewControllers(), ElementsAre(b));
  kp::remove(*nav, b);
  EXPECT_TRUE(nav->viewControllers().empty());
}

TEST_F(UINavigationBarKPExt, BackgroundOverlayIsMadeOnceAndReset) {
  kp::kp_setBackgroundColor(*bar, UIColor::red());
  // The overlay goes at the back of the bar's first subview.
  auto overlayOf = [](const UINavigationBar& b) { return b.subviews().front()->subviews().front(); };
  auto overlay = overlayOf(*bar);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->backgroundColor(), UIColor::red());
  EXPECT_EQ(overlay->frame(), ios::CGRect(0, 0, 375, 64));  // down to the bar's bottom
  EXPECT_FALSE(overlay->isUserInteractionEnabled());
  EXPECT_EQ(overlay->autoresizingMask(), 18u);
  EXPECT_TRUE(bar->backgroundImage(ios::UIBarMetrics::default_).has_value());
  kp::kp_setBackgroundColor(*bar, UIColor::blue());
  EXPECT_EQ(overlayOf(*bar), overlay);
  EXPECT_EQ(overlay->backgroundColor(), UIColor::blue());

  kp::kp_setBackgroundLayerHeight(*bar, 100);
  EXPECT_EQ(overlay->frame(), ios::CGRect(0, 0, 375, 100));
  kp::kp_setTranslationY(*bar, -20);
  EXPECT_EQ(bar->frame().maxY(), 44);

  kp::kp_reset(*bar);
  EXPECT_EQ(overlay->superview(), nullptr);
  EXPECT_EQ(bar->backgroundImage(ios::UIBarMetrics::default_), std::nullopt);
  kp::kp_setBackgroundLayerHeight(*bar, 10);  // no overlay: nothing
  EXPECT_EQ(overlay->frame(), ios::CGRect(0, 0, 375, 100));
  kp::kp_setBackgroundColor(*bar, UIColor::red());
  EXPECT_NE(overlayOf(*bar), overlay);
}

TEST_F(UINavigationBarKPExt, ElementsFadeButTheHiddenBackIndicatorStaysHidden) {
  auto item = ios::UINavigationItem::make(std::optional<std::string>("Inbox"));
  auto titleView = ios::UIView::make();
  auto custom = ios::UIView::make();
  item->setTitleView(titleView);
  item->setRightBarButtonItems(std::vector{ios::UIBarButtonItem::make(custom)});
  bar->pushItem(item);
  auto prompt = ios::UINavBarPrompt::make();
  auto shownIndicator = ios::UINavigationBarBackIndicatorView::make();
  auto hiddenIndicator = ios::UINavigationBarBackIndicatorView::make();
  hiddenIndicator->setAlpha(0);
  for (const auto& v : {std::shared_ptr<ios::UIView>(prompt), std::shared_ptr<ios::UIView>(shownIndicator),
                        std::shared_ptr<ios::UIView>(hiddenIndicator)}) {
    bar->addSubview(v);
  }
  kp::kp_setBackgroundColor(*bar, UIColor::red());

  kp::kp_setElementsAlpha(*bar, 0);
  auto itemView = bar->subviews()[1];
  EXPECT_EQ(itemView->alpha(), 0);
  EXPECT_EQ(prompt->alpha(), 0);
  EXPECT_EQ(titleView->alpha(), 0);
  EXPECT_EQ(custom->alpha(), 0);
  EXPECT_EQ(shownIndicator->alpha(), 0);
  EXPECT_EQ(bar->subviews().front()->subviews().front()->alpha(), 1);  // the overlay
  EXPECT_EQ(bar->alpha(), 1);

  kp::kp_setElementsAlpha(*bar, 1);
  EXPECT_EQ(itemView->alpha(), 1);
  EXPECT_EQ(prompt->alpha(), 1);
  EXPECT_EQ(titleView->alpha(), 1);
  EXPECT_EQ(custom->alpha(), 1);
  EXPECT_EQ(hiddenIndicator->alpha(), 0);  // exactly 0 before: stays 0 through both
  EXPECT_EQ(shownIndicator->alpha(), 0);   // faded to 0 by the first call, so it stays too
}

TEST_F(UINavigationBarKPExt, HairlineIsTheFirstThinImageView) {
  auto thick = ios::UIImageView::make(ios::CGRect(0, 0, 10, 2));
  bar->insertSubview(thick, 0);
  kp::hideBottomHairline(*bar);
  auto background = bar->subviews()[1];
  auto hairline = background->subviews().front();
  EXPECT_TRUE(hairline->isHidden());
  EXPECT_FALSE(thick->isHidden());
  kp::showBottomHairline(*bar);
  EXPECT_FALSE(hairline->isHidden());
  hairline->removeFromSuperview();
  kp::hideBottomHairline(*bar);  // none left: nothing changes
  EXPECT_FALSE(thick->isHidden());
}

TEST_F(UINavigationBarKPExt, LooksOnTheBarAndOnTheProxy) {
  kp::setColors(*bar, UIColor::red(), UIColor::white());
  EXPECT_FALSE(bar->isTranslucent());
  EXPECT_EQ(bar->barTintColor(), UIColor::red());
  EXPECT_EQ(bar->backgroundColor(), UIColor::red());
  EXPECT_EQ(bar->tintColor(), UIColor::white());
  EXPECT_EQ(titleColor(*bar), UIColor::white());

  kp::makeTransparent(*bar, UIColor::blue());
  EXPECT_TRUE(bar->isTranslucent());
  EXPECT_EQ(bar->barTintColor(), UIColor::clear());
  EXPECT_EQ(bar->tintColor(), UIColor::blue());
  EXPECT_TRUE(bar->shadowImage().has_value());

  // Back from transparent: whatever the proxy holds, including no background image.
  ios::UINavigationBar::appearance()->setTranslucent(false);
  kp::setTransparent(*bar, false);
  EXPECT_EQ(bar->backgroundImage(ios::UIBarMetrics::default_), std::nullopt);
  EXPECT_EQ(bar->shadowImage(), std::nullopt);
  EXPECT_FALSE(bar->isTranslucent());

  // The proxy setters change the proxy, never the receiver's own values.
  auto other = UINavigationBar::make();
  kp::barTintColor(*bar, UIColor::green());
  kp::navigationBarTintColor(UIColor::yellow());
  kp::navigationBarTitleTextColor(UIColor::yellow());
  EXPECT_EQ(bar->barTintColor(), UIColor::clear());
  EXPECT_EQ(other->barTintColor(), UIColor::green());
  EXPECT_EQ(other->tintColor(), UIColor::yellow());
  EXPECT_EQ(titleColor(*other), UIColor::yellow());
  kp::makeTransparent(*nav, UIColor::black());
  EXPECT_EQ(bar->tintColor(), UIColor::black());
}

}  // namespace
