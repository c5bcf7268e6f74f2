#include "platform/uikit/UITabBarController.h"

#include <algorithm>
#include <set>

#include "platform/foundation/NSException.h"
#include "platform/uikit/UIScreen.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UITabBarController, "UITabBarController", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UITabBar, "UITabBar", nullptr)

UITabBar::UITabBar(CGRect frame) : UIView(frame) {}

UITabBarController::UITabBarController() {
  const CGRect screen = UIScreen::main().bounds();
  tabBar_ = UITabBar::make(CGRect(0, screen.size.height - UITabBar::barHeight, screen.size.width, UITabBar::barHeight));
}

void UITabBarController::loadView() {
  setView(UIView::make(UIScreen::main().bounds()));
  view()->addSubview(tabBar_);
  showSelected();
}

void UITabBarController::setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& controllers,
                                            bool) {
  std::set<const UIViewController*> seen;
  for (const auto& c : controllers) {
    if (c == nullptr || !seen.insert(c.get()).second) {
      NSException(NSInvalidArgumentException, "The view controllers of a tab bar controller must be distinct")
          .raise();
    }
  }
  replaceChildren(controllers_, controllers);
  controllers_ = controllers;
  selected_ = controllers_.empty() ? NSNotFound : 0;
  showSelected();
}

void UITabBarController::setSelectedIndex(std::size_t index) {
  if (index >= controllers_.size()) return;
  selected_ = index;
  showSelected();
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const {
  return selected_ < controllers_.size() ? controllers_[selected_] : nullptr;
}

void UITabBarController::setSelectedViewController(const std::shared_ptr<UIViewController>& controller) {
  auto it = std::find(controllers_.begin(), controllers_.end(), controller);
  if (controller == nullptr || it == controllers_.end()) return;
  setSelectedIndex(static_cast<std::size_t>(it - controllers_.begin()));
}

void UITabBarController::showSelected() { showContentView(shownView_, selectedViewController()); }

}  // namespace ios
