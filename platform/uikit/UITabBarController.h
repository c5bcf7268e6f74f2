// File: platform/uikit/UITabBarController.h
//
// A container that shows one of several controllers, chosen with a tab bar.
//
//   auto tabs = ios::UITabBarController::make();
//   tabs->setViewControllers({feed, profile}, false);
//   tabs->setSelectedIndex(1);
//   tabs->selectedViewController();   // profile
//
// Fidelity: the listed controllers are the container's children; the first one is
// selected when the list is set (none when it is empty); selecting an index or a
// controller that is not listed changes nothing. The selected controller's view fills
// the container's view and the 49-point tab bar sits at its bottom. Tab bar items,
// the "More" controller and delegates are absent.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/foundation/NSRange.h"
#include "platform/uikit/UIViewController.h"

namespace ios {

// UITabBar
//
// The bar at the bottom of a tab bar controller: a plain view of the platform's height.
class UITabBar : public UIView {
  IOS_RUNTIME_CLASS(UITabBar, UIView);

 public:
  // The bar's height in points.
  static constexpr CGFloat barHeight = 49;

 protected:
  explicit UITabBar(CGRect frame = CGRect());
};

class UITabBarController : public UIViewController {
  IOS_RUNTIME_CLASS(UITabBarController, UIViewController);

 public:
  // The listed controllers, in tab order.
  [[nodiscard]] std::vector<std::shared_ptr<UIViewController>> viewControllers() const { return controllers_; }
  // Replaces the list and selects its first controller. Raises
  // "NSInvalidArgumentException" for a null entry or a controller listed twice.
  void setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& controllers, bool animated);
  // The index of the selected controller, NSNotFound when none is.
  [[nodiscard]] std::size_t selectedIndex() const { return selected_; }
  void setSelectedIndex(std::size_t index);
  // The selected controller, or null.
  [[nodiscard]] std::shared_ptr<UIViewController> selectedViewController() const;
  void setSelectedViewController(const std::shared_ptr<UIViewController>& controller);
  // The container's tab bar (made with the container).
  [[nodiscard]] std::shared_ptr<UITabBar> tabBar() const { return tabBar_; }

 protected:
  UITabBarController();
  void loadView() override;

 private:
  void showSelected();

  std::vector<std::shared_ptr<UIViewController>> controllers_;
  std::size_t selected_ = NSNotFound;
  std::shared_ptr<UITabBar> tabBar_;
  std::weak_ptr<UIView> shownView_;
};

}  // namespace ios
