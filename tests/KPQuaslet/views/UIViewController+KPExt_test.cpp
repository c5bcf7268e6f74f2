#include "KPQuaslet/views/UIViewController+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIImageNamed.h"

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Runtime.h"
#include "platform/safariservices/SFSafariViewController.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

using ios::CGRect;
using ios::UIViewController;
using ::testing::ElementsAre;

// A controller whose class implements the will-show and did-hide hooks.
class KeyboardAware : public UIViewController {
  IOS_RUNTIME_CLASS(KeyboardAware, UIViewController);

 public:
  std::vector<std::pair<std::string, CGRect>> frames;
  std::vector<std::string> moves;
  void willMove(const std::shared_ptr<UIViewController>&) override {
    moves.push_back(view()->superview() ? "will (in view)" : "will (loose)");
  }
  void didMove(const std::shared_ptr<UIViewController>& parent) override {
    moves.push_back(parent ? "did" : "did-nil");
  }

 protected:
  KeyboardAware() = default;
};

IOS_DEFINE_RUNTIME_CLASS(KeyboardAware, "KeyboardAware", [](ios::Class cls) {
  ios::class_addMethod(cls, ios::sel_registerName("keyboardWillShowWithFrame:"),
                       ios::imp([](KeyboardAware& self, ios::SEL, CGRect r) { self.frames.push_back({"willShow", r}); }));
  ios::class_addMethod(cls, ios::sel_registerName("keyboardDidHideWithFrame:"),
                       ios::imp([](KeyboardAware& self, ios::SEL, CGRect r) { self.frames.push_back({"didHide", r}); }));
})

class UIViewControllerKPExt : public ios::testing::PlatformFixture {
 protected:
  ios::testing::ManualDispatch dispatch;
  std::shared_ptr<ios::UIWindow> window = ios::UIWindow::make(ios::CGRect(0, 0, 375, 667));
  std::shared_ptr<ios::NotificationCenter> center = ios::NotificationCenter::defaultCenter();

  void post(const ios::Notification::Name& name, CGRect frame) {
    center->post(name, nullptr, ios::Notification::UserInfo{{ios::UIKeyboardFrameEndUserInfoKey, frame}});
  }
};

TEST_F(UIViewControllerKPExt, KeyboardNotificationsReachTheHooksWithTheEndFrame) {
  auto controller = KeyboardAware::make();
  const CGRect keyboard(0, 400, 375, 267);
  kp::addKeyboardWillShowNotification(*controller);
  kp::addKeyboardWillShowNotification(*controller);  // registered twice: called twice
  kp::addKeyboardDidHideNotification(*controller);
  kp::addKeyboardDidShowNotification(*controller);   // its hook is the empty default
  post(ios::UIKeyboardWillShowNotification, keyboard);
  post(ios::UIKeyboardDidShowNotification, keyboard);
  post(ios::UIKeyboardDidHideNotification, CGRect(0, 667, 375, 267));
  ASSERT_EQ(controller->frames.size(), 3u);
  EXPECT_EQ(controller->frames[0], std::make_pair(std::string("willShow"), keyboard));
  EXPECT_EQ(controller->frames[1].first, "willShow");
  EXPECT_EQ(controller->frames[2], std::make_pair(std::string("didHide"), CGRect(0, 667, 375, 267)));

  // Without user info, with another value or without the end frame: no hook, no crash.
  center->post(ios::UIKeyboardWillShowNotification, nullptr);
  center->post(ios::UIKeyboardWillShowNotification, nullptr,
               ios::Notification::UserInfo{{ios::UIKeyboardFrameEndUserInfoKey, 3.0}});
  center->post(ios::UIKeyboardWillShowNotification, nullptr,
               ios::Notification::UserInfo{{ios::UIKeyboardFrameBeginUserInfoKey, keyboard}});
  EXPECT_EQ(controller->frames.size(), 3u);

  kp::removeKeyboardWillShowNotification(*controller);  // both registrations end
  post(ios::UIKeyboardWillShowNotification, keyboard);
  EXPECT_EQ(controller->frames.size(), 3u);
  kp::keyboardWillShowWithFrame(*controller, keyboard);  // the hook called directly
  EXPECT_EQ(controller->frames.size(), 4u);

  // removeNotificationObserver ends every registration, keyboard or not.
  auto other = UIViewController::make();
  kp::addKeyboardDidHideNotification(*other);
  kp::removeNotificationObserver(*controller);
  post(ios::UIKeyboardDidHideNotification, keyboard);
  EXPECT_EQ(controller->frames.size(), 4u);
  EXPECT_EQ(center->observerCount(), 1u);
}

TEST_F(UIViewControllerKPExt, GeometryOutsideAndInsideContainers) {
  auto loose = UIViewController::make();
  loose->view()->setFrame(CGRect(0, 10, 375, 500));
  EXPECT_EQ(kp::top(*loose), 10);
  EXPECT_EQ(kp::bottom(*loose), 510);
  EXPECT_EQ(kp::tabBarHeight(*loose), 0);
  EXPECT_EQ(kp::navigationBarHeight(*loose), 0);
  EXPECT_EQ(kp::statusBarHeight(*loose), 0);  // not in a window
  EXPECT_EQ(kp::topBarsHeight(*loose), 0);
  EXPECT_EQ(kp::navBar(*loose), nullptr);
  EXPECT_EQ(kp::navigationBarColor(*loose), std::nullopt);

  auto content = UIViewController::make();
  auto nav = ios::UINavigationController::make(content);
  auto tabs = ios::UITabBarController::make();
  tabs->setViewControllers({nav}, false);
  window->setRootViewController(tabs);
  EXPECT_EQ(kp::top(*content), 64);
  EXPECT_EQ(kp::bottom(*content), 618);
  EXPECT_EQ(kp::applicationFrame(*content), CGRect(0, 64, 375, 554));
  EXPECT_EQ(kp::statusBarHeight(*content), 20);
  EXPECT_EQ(kp::topBarsHeight(*content), 64);
  EXPECT_EQ(kp::tabBarHeight(*content), 49);
  EXPECT_EQ(kp::navBar(*content), nav->navigationBar());
  // The navigation controller answers for its visible controller.
  EXPECT_EQ(kp::top(*nav), 64);

  nav->setNavigationBarHidden(true, false);
  tabs->tabBar()->setHidden(true);
  EXPECT_EQ(kp::applicationFrame(*content), CGRect(0, 0, 375, 667));

  // The colour is read from and written to the same bar property.
  kp::setNavigationBarColor(*content, ios::UIColor::red());
  EXPECT_EQ(kp::navigationBarColor(*content), ios::UIColor::red());
  EXPECT_EQ(kp::navigationBarColor(*nav), ios::UIColor::red());
  EXPECT_EQ(nav->navigationBar()->barTintColor(), ios::UIColor::red());
}

TEST_F(UIViewControllerKPExt, NestedNavigationControllersAnswerForTheInnermostVisibleController) {
  // A navigation controller that presents another: the presented one is its visible
  // controller, and the presented one's visible controller is `content`.
  auto content = UIViewController::make();
  auto inner = ios::UINavigationController::make(content);
  auto outer = ios::UINavigationController::make(UIViewController::make());
  window->setRootViewController(outer);
  outer->present(inner, false, nullptr);
  dispatch.runPending();
  ASSERT_EQ(outer->visibleViewController(), inner);
  // The inner bar differs from the outer one in every answer.
  outer->setNavigationBarHidden(true, false);
  inner->navigationBar()->setFrame(CGRect(0, 20, 375, 30));
  inner->navigationBar()->setBarTintColor(ios::UIColor::green());
  outer->navigationBar()->setBarTintColor(ios::UIColor::blue());
  outer->navigationBar()->setFrame(CGRect(0, 0, 375, 90));
  ASSERT_EQ(kp::navBar(*content), inner->navigationBar());

  for (UIViewController* asked : {static_cast<UIViewController*>(outer.get()), static_cast<UIViewController*>(inner.get())}) {
    SCOPED_TRACE(asked == outer.get() ? "outer" : "inner");
    EXPECT_EQ(kp::top(*asked), kp::top(*content));
    EXPECT_EQ(kp::top(*asked), 50);
    EXPECT_EQ(kp::navigationBarHeight(*asked), 30);
    EXPECT_EQ(kp::topBarsHeight(*asked), kp::topBarsHeight(*content));
    EXPECT_EQ(kp::applicationFrame(*asked).origin.y, 50);
    EXPECT_EQ(kp::navigationBarColor(*asked), ios::UIColor::green());
  }
}

TEST_F(UIViewControllerKPExt, PreviousViewControllerFollowsTheStack) {
  auto first = UIViewController::make();
  auto second = UIViewController::make();
  EXPECT_EQ(kp::previousViewController(*first), nullptr);
  auto nav = ios::UINavigationController::make(first);
  EXPECT_EQ(kp::previousViewController(*first), first);  // alone: itself
  nav->pushViewController(second, false);
  EXPECT_EQ(kp::previousViewController(*second), first);
  EXPECT_EQ(kp::previousViewController(*first), second);  // not on top: the top one
}

TEST_F(UIViewControllerKPExt, NavigationShortcutsAndChildren) {
  auto root = UIViewController::make();
  auto nav = ios::UINavigationController::make(root);
  window->setRootViewController(nav);
  auto next = UIViewController::make();
  kp::pushVC(*root, next);
  EXPECT_EQ(nav->topViewController(), next);
  kp::pushVC(*UIViewController::make(), UIViewController::make());  // no navigation controller: nothing
  kp::popVC(*next);
  EXPECT_EQ(nav->topViewController(), root);
  kp::pushVC(*root, next);
  kp::popToRootVC(*root);
  EXPECT_THAT(nav->viewControllers(), ElementsAre(root));

  auto modal = UIViewController::make();
  kp::presentVC(*nav, modal);
  EXPECT_EQ(nav->presentedViewController(), modal);
  bool dismissed = false;
  kp::dismissVC(*modal, [&] { dismissed = true; });
  dispatch.advance(0.3);
  EXPECT_TRUE(dismissed);

  auto child = KeyboardAware::make();
  auto holder = ios::UIView::make();
  root->view()->addSubview(holder);
  kp::addAsChildViewController(*root, child, holder);
  EXPECT_EQ(child->view()->superview(), holder);
  EXPECT_THAT(root->children(), ElementsAre(child));
  EXPECT_THAT(child->moves, ElementsAre("will (in view)", "did"));
}

TEST_F(UIViewControllerKPExt, BackgroundImagesGoBehindTheContent) {
  auto controller = UIViewController::make();
  controller->view()->setFrame(CGRect(0, 20, 375, 600));
  auto content = ios::UIView::make();
  controller->view()->addSubview(content);
  kp::setBackgroundImage(*controller, std::nullopt);
  kp::setBackgroundImage(*controller, std::nullopt);
  auto subviews = controller->view()->subviews();
  ASSERT_EQ(subviews.size(), 3u);
  EXPECT_EQ(subviews[2], content);
  auto background = std::dynamic_pointer_cast<ios::UIImageView>(subviews[0]);
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->frame(), CGRect(0, 20, 375, 600));  // the view's frame, not its bounds
  EXPECT_EQ(background->image(), std::nullopt);
}

TEST_F(UIViewControllerKPExt, BackgroundImagesByNameFromTheMainBundle) {
  auto controller = UIViewController::make();
  const ios::UIImage stripes(ios::CGImage::make(2, 1, 8, 32, 8, ios::CGColorSpaceCreateDeviceRGB(),
                                                ios::kCGImageAlphaPremultipliedLast, {255, 0, 0, 255, 0, 0, 255, 255}));
  ios::testing::registerNamedImage("stripes", stripes);
  kp::setBackgroundImage(*controller, std::string("stripes"));
  kp::setBackgroundImage(*controller, std::string("missing"));  // an empty image view all the same
  auto subviews = controller->view()->subviews();
  ASSERT_EQ(subviews.size(), 2u);
  auto missing = std::dynamic_pointer_cast<ios::UIImageView>(subviews[0]);
  auto found = std::dynamic_pointer_cast<ios::UIImageView>(subviews[1]);
  ASSERT_TRUE(missing && found);
  EXPECT_EQ(missing->image(), std::nullopt);
  ASSERT_TRUE(found->image());
  EXPECT_EQ(found->image()->cgImage(), stripes.cgImage());
}

TEST_F(UIViewControllerKPExt, OpenURLPresentsTheBrowserForWebAddressesOnly) {
  auto controller = UIViewController::make();
  window->setRootViewController(controller);
  kp::openURL(*controller, *ios::URL::fromString("mailto:someone@example.com"));
  EXPECT_EQ(controller->presentedViewController(), nullptr);
  kp::openURL(*controller, *ios::URL::fromString("HTTPS://example.com/a"));
  auto browser = std::dynamic_pointer_cast<ios::SFSafariViewController>(controller->presentedViewController());
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->url().absoluteString(), "HTTPS://example.com/a");
}

// The status bar's frame as the view sees it: for a view turned against the window the
// height of the upright box around the turned bar, not the distance between two corners.
TEST_F(UIViewControllerKPExt, StatusBarHeightOfATurnedView) {
  struct Row {
    double degrees;
    double height;
  };
  const double pi = 3.141592653589793;
  for (const Row& row : {Row{0, 20}, Row{90, 375}, Row{45, (375 + 20) / std::sqrt(2.0)}, Row{-45, (375 + 20) / std::sqrt(2.0)}, Row{180, 20}}) {
    auto window = ios::UIWindow::make(CGRect(0, 0, 375, 667));
    auto controller = UIViewController::make();
    window->setRootViewController(controller);
    controller->view()->setTransform(ios::CGAffineTransformMakeRotation(row.degrees * pi / 180));
    EXPECT_NEAR(kp::statusBarHeight(*controller), row.height, 1e-9) << row.degrees;
  }
  // The rectangle form of convert() on a plain offset keeps the size.
  auto root = ios::UIView::make(CGRect(0, 0, 100, 100));
  auto child = ios::UIView::make(CGRect(10, 20, 30, 30));
  root->addSubview(child);
  EXPECT_EQ(root->convert(CGRect(10, 20, 5, 6), child.get()), CGRect(0, 0, 5, 6));
  EXPECT_TRUE(root->convert(ios::CGRect::null, child.get()).isNull());
}

}  // namespace
