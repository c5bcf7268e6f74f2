#include "platform/uikit/UIViewController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/quartzcore/CAAnimation.h"

namespace {

using ios::UINavigationController;
using ios::UITabBarController;
using ios::UIViewController;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records the containment calls it gets.
class Probe : public UIViewController {
  IOS_RUNTIME_CLASS(Probe, UIViewController);

 public:
  std::vector<std::string> log;
  int loads = 0;
  void willMove(const std::shared_ptr<UIViewController>& parent) override {
    log.push_back(parent ? "will" : "will-nil");
  }
  void didMove(const std::shared_ptr<UIViewController>& parent) override {
    log.push_back(parent ? "did" : "did-nil");
  }

 protected:
  Probe() = default;
  void viewDidLoad() override { ++loads; }
};

IOS_DEFINE_RUNTIME_CLASS(Probe, "ControllerProbe", nullptr)

class UIViewControllerTest : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  ios::testing::CapturedOutput output;
  std::shared_ptr<ios::UIWindow> window = ios::UIWindow::make(ios::CGRect(0, 0, 375, 667));
  std::shared_ptr<UIViewController> root = UIViewController::make();

  void SetUp() override {
    window->setRootViewController(root);
    window->makeKeyAndVisible();
  }
};

TEST_F(UIViewControllerTest, ViewLoadsOnceOnFirstAccess) {
  auto probe = Probe::make();
  EXPECT_FALSE(probe->isViewLoaded());
  auto view = probe->view();
  EXPECT_EQ(probe->view(), view);
  EXPECT_EQ(probe->loads, 1);
  EXPECT_EQ(view->frame(), ios::UIScreen::main().bounds());
  EXPECT_EQ(window->rootViewController(), root);
  EXPECT_EQ(root->view()->superview(), window);
  EXPECT_TRUE(window->isKeyWindow());
  EXPECT_EQ(ios::UIApplication::shared()->keyWindow(), window);
}

TEST_F(UIViewControllerTest, PresentFollowsThePlatformRules) {
  auto first = UIViewController::make();
  auto second = UIViewController::make();
  int done = 0;
  root->present(first, true, [&] { ++done; });
  EXPECT_EQ(root->presentedViewController(), first);
  EXPECT_EQ(first->presentingViewController(), root);
  EXPECT_EQ(first->view()->window(), window);
  dispatch.advance(0.29);
  EXPECT_EQ(done, 0);
  dispatch.advance(0.01);
  EXPECT_EQ(done, 1);

  // Already presenting: refused, with the platform's warning and no completion.
  root->present(second, false, [&] { ++done; });
  dispatch.advance(1);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(root->presentedViewController(), first);
  EXPECT_THAT(output.text(), ::testing::HasSubstr("which is already presenting"));

  // The presented controller can present in turn; dismissing the bottom one ends both.
  first->present(second, false, nullptr);
  EXPECT_EQ(first->presentedViewController(), second);
  root->dismiss(true, [&] { ++done; });
  EXPECT_EQ(root->presentedViewController(), nullptr);
  EXPECT_EQ(second->presentingViewController(), nullptr);
  EXPECT_EQ(first->view()->superview(), nullptr);
  dispatch.advance(0.3);
  EXPECT_EQ(done, 2);

  // Nothing to dismiss: the completion never runs.
  root->dismiss(false, [&] { ++done; });
  dispatch.runPending();
  EXPECT_EQ(done, 2);
}

TEST_F(UIViewControllerTest, PresentingOutsideAWindowOrTwiceIsRefused) {
  auto loose = UIViewController::make();
  auto shown = UIViewController::make();
  bool ran = false;
  loose->present(shown, false, [&] { ran = true; });
  dispatch.runPending();
  EXPECT_FALSE(ran);
  EXPECT_EQ(loose->presentedViewController(), nullptr);
  EXPECT_THAT(output.text(), ::testing::HasSubstr("whose view is not in the window hierarchy!"));

  root->present(shown, false, nullptr);
  auto other = UIViewController::make();
  window->addSubview(other->view());
  EXPECT_THROW(other->present(shown, false, nullptr), ios::NSException);
  EXPECT_THROW(root->present(root, false, nullptr), ios::NSException);
  // Dismissing from the presented side dismisses it.
  shown->dismiss(false, nullptr);
  EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(UIViewControllerTest, ChildrenGetTheContainmentCallsInOrder) {
  auto child = Probe::make();
  root->addChild(child);
  root->addChild(child);  // already a child: nothing
  EXPECT_THAT(root->children(), ElementsAre(child));
  EXPECT_EQ(child->parent(), root);
  child->removeFromParent();
  EXPECT_THAT(root->children(), IsEmpty());
  EXPECT_EQ(child->parent(), nullptr);
  EXPECT_THAT(child->log, ElementsAre("will", "did-nil"));
}

TEST_F(UIViewControllerTest, NavigationStackPushesAndPops) {
  auto a = Probe::make();
  auto b = Probe::make();
  auto c = UIViewController::make();
  auto nav = UINavigationController::make(a);
  EXPECT_EQ(a->navigationController(), nav);
  EXPECT_EQ(nav->navigationController(), nullptr);
  window->setRootViewController(nav);
  EXPECT_EQ(a->view()->superview(), nav->view());
  EXPECT_EQ(nav->navigationBar()->frame(), ios::CGRect(0, 20, 375, 44));

  nav->pushViewController(b, false);
  nav->pushViewController(c, false);
  EXPECT_THAT(nav->viewControllers(), ElementsAre(a, b, c));
  EXPECT_EQ(nav->topViewController(), c);
  EXPECT_EQ(c->view()->superview(), nav->view());
  EXPECT_EQ(b->view()->superview(), nullptr);
  EXPECT_THROW(nav->pushViewController(b, false), ios::NSException);
  EXPECT_THROW(nav->pushViewController(UINavigationController::make(), false), ios::NSException);
  EXPECT_THROW(nav->pushViewController(nullptr, false), ios::NSException);

  EXPECT_EQ(nav->popViewController(false), c);
  EXPECT_EQ(c->navigationController(), nullptr);
  nav->pushViewController(c, false);
  EXPECT_THAT(nav->popToRootViewController(false), ElementsAre(b, c));
  EXPECT_EQ(nav->popViewController(false), nullptr);  // the root stays
  EXPECT_THAT(nav->popToRootViewController(false), IsEmpty());
  EXPECT_THAT(b->log, ElementsAre("will", "did", "will-nil", "did-nil"));

  // The visible controller is a presented one when there is one.
  auto modal = UIViewController::make();
  nav->present(modal, false, nullptr);
  EXPECT_EQ(nav->visibleViewController(), modal);
  EXPECT_EQ(nav->topViewController(), a);
  EXPECT_EQ(modal->navigationController(), nav);
}

TEST_F(UIViewControllerTest, AnimatedPushInAWindowDelaysTheTransactionCompletion) {
  auto nav = UINavigationController::make(UIViewController::make());
  window->setRootViewController(nav);
  int done = 0;
  ios::CATransaction::begin();
  ios::CATransaction::setCompletionBlock([&] { ++done; });
  nav->pushViewController(UIViewController::make(), true);
  ios::CATransaction::commit();
  dispatch.advance(0.34);
  EXPECT_EQ(done, 0);
  dispatch.advance(0.01);
  EXPECT_EQ(done, 1);
}

TEST_F(UIViewControllerTest, TabBarSelection) {
  auto tabs = UITabBarController::make();
  EXPECT_EQ(tabs->selectedViewController(), nullptr);
  EXPECT_EQ(tabs->selectedIndex(), ios::NSNotFound);
  auto feed = UIViewController::make();
  auto profile = UIViewController::make();
  tabs->setViewControllers({feed, profile}, false);
  EXPECT_EQ(tabs->selectedViewController(), feed);
  tabs->setSelectedIndex(1);
  EXPECT_EQ(tabs->selectedViewController(), profile);
  tabs->setSelectedIndex(5);
  tabs->setSelectedViewController(UIViewController::make());
  EXPECT_EQ(tabs->selectedIndex(), 1u);
  tabs->setSelectedViewController(feed);
  EXPECT_EQ(tabs->selectedIndex(), 0u);
  EXPECT_EQ(profile->tabBarController(), tabs);
  EXPECT_EQ(tabs->tabBar()->frame(), ios::CGRect(0, 618, 375, 49));
  window->setRootViewController(tabs);
  EXPECT_EQ(feed->view()->superview(), tabs->view());
  EXPECT_THROW(tabs->setViewControllers({feed, feed}, false), ios::NSException);
}

// An action's handler may drop the last reference to its alert, and so to the action
// and the handler itself: both stay alive until the handler returns.
TEST_F(UIViewControllerTest, AnAlertActionOutlivesAHandlerThatReleasesIt) {
  auto alert = ios::UIAlertController::make("Delete?", std::nullopt, ios::UIAlertControllerStyle::alert);
  auto token = std::make_shared<int>(7);
  std::weak_ptr<int> weakToken = token;
  std::weak_ptr<ios::UIAlertAction> weakAction;
  int seen = 0;
  alert->addAction(ios::UIAlertAction::make("OK", ios::UIAlertActionStyle::default_,
                                            [&alert, &seen, token, weakToken](ios::UIAlertAction& action) {
                                              alert.reset();  // the alert, its actions and this closure
                                              EXPECT_FALSE(weakToken.expired());
                                              EXPECT_EQ(action.title(), "OK");
                                              seen = *token;
                                            }));
  token.reset();
  ios::UIAlertAction* action = alert->actions().front().get();
  weakAction = alert->actions().front();
  action->perform();
  EXPECT_EQ(seen, 7);
  EXPECT_TRUE(weakAction.expired());
  EXPECT_TRUE(weakToken.expired());
}

}  // namespace
