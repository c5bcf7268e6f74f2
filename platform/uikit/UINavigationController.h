// File: platform/uikit/UINavigationController.h
//
// A container that shows a stack of controllers under a navigation bar.
//
//   auto nav = ios::UINavigationController::make(home);
//   nav->pushViewController(details, true);
//   nav->topViewController();    // details
//
// Fidelity: the stack, its children and the bar follow the platform's rules: the
// controllers on the stack are the container's children; pushing a controller already
// on the stack, a navigation controller or null raises "NSInvalidArgumentException";
// the root cannot be popped. The top controller's view fills the container's view and
// the bar sits over it, 44 points high below a 20-point status bar. An animated push
// or pop inside a window adds a 0.35 s transition animation to the container's layer,
// so a CATransaction completion set around it waits for the transition; outside a
// window nothing is animated. Toolbars, interactive pop gestures, navigation items
// shown in the bar and delegates are absent.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIViewController.h"

namespace ios {

class UINavigationController : public UIViewController {
  IOS_RUNTIME_CLASS(UINavigationController, UIViewController);

 public:
  // make(rootViewController)
  //
  // UINavigationController(rootViewController:): a container whose stack holds the
  // root, already its child. (make() without arguments starts with an empty stack.)
  template <class Root>
    requires std::is_convertible_v<Root, std::shared_ptr<UIViewController>>
  [[nodiscard]] static std::shared_ptr<UINavigationController> make(Root&& rootViewController) {
    std::shared_ptr<UINavigationController> nav = ::ios::runtime_internal::construct<UINavigationController>();
    nav->setViewControllers({std::shared_ptr<UIViewController>(std::forward<Root>(rootViewController))}, false);
    return nav;
  }

  // The length of an animated push or pop, in seconds.
  static constexpr double transitionDuration = 0.35;

  // The controllers on the stack, root first.
  [[nodiscard]] std::vector<std::shared_ptr<UIViewController>> viewControllers() const { return stack_; }
  // setViewControllers()
  //
  // Replaces the stack: controllers that leave it stop being children, new ones become
  // children. Raises "NSInvalidArgumentException" for a null entry, a navigation
  // controller, or a controller listed twice.
  void setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& controllers, bool animated);
  // pushViewController()
  //
  // Puts `controller` on top of the stack and shows it. Raises
  // "NSInvalidArgumentException" for null, a controller already on the stack, or a
  // navigation controller.
  void pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated);
  // Takes the top controller off the stack and answers it; null when only the root (or
  // nothing) is on the stack.
  std::shared_ptr<UIViewController> popViewController(bool animated);
  // Pops everything above the root; answers the popped controllers, lowest first.
  std::vector<std::shared_ptr<UIViewController>> popToRootViewController(bool animated);

  // The controller on top of the stack, or null.
  [[nodiscard]] std::shared_ptr<UIViewController> topViewController() const;
  // The controller the user sees: the one this container presents, else the top one.
  [[nodiscard]] std::shared_ptr<UIViewController> visibleViewController() const;

  // The container's bar (made with the container).
  [[nodiscard]] std::shared_ptr<UINavigationBar> navigationBar() const { return navigationBar_; }
  // Whether the bar is hidden.
  [[nodiscard]] bool isNavigationBarHidden() const { return navigationBar_->isHidden(); }
  void setNavigationBarHidden(bool hidden, bool animated);

 protected:
  UINavigationController();
  void loadView() override;

 private:
  void checkPushable(const std::shared_ptr<UIViewController>& controller) const;
  void showTop(bool animated);

  std::vector<std::shared_ptr<UIViewController>> stack_;
  std::shared_ptr<UINavigationBar> navigationBar_;
  std::weak_ptr<UIView> shownView_;
};

}  // namespace ios
