#include "platform/uikit/UINavigationController.h"

#include <algorithm>
#include <set>

#include "platform/foundation/NSException.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/UIScreen.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UINavigationController, "UINavigationController", nullptr)

namespace {

// The status bar above the navigation bar, in points.
constexpr CGFloat statusBarHeight = 20;

[[noreturn]] void refuse(const std::string& reason) { NSException(NSInvalidArgumentException, reason).raise(); }

}  // namespace

UINavigationController::UINavigationController()
    : navigationBar_(UINavigationBar::make(
          CGRect(0, statusBarHeight, UIScreen::main().bounds().size.width, UINavigationBar::barHeight))) {}

void UINavigationController::loadView() {
  setView(UIView::make(UIScreen::main().bounds()));
  view()->addSubview(navigationBar_);
  showTop(false);
}

void UINavigationController::checkPushable(const std::shared_ptr<UIViewController>& controller) const {
  if (controller == nullptr) refuse("Cannot push a nil view controller");
  if (std::dynamic_pointer_cast<UINavigationController>(controller) != nullptr) {
    refuse("Pushing a navigation controller is not supported");
  }
  if (std::find(stack_.begin(), stack_.end(), controller) != stack_.end()) {
    refuse("Pushing the same view controller instance more than once is not supported");
  }
}

void UINavigationController::showTop(bool animated) {
  showContentView(shownView_, topViewController());
  std::shared_ptr<UIView> container = isViewLoaded() ? view() : nullptr;
  if (animated && container != nullptr && container->window() != nullptr) {
    auto transition = CABasicAnimation::make("position");
    transition->duration = transitionDuration;
    container->layer()->add(transition, "transition");
  }
}

void UINavigationController::setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& controllers,
                                                bool animated) {
  std::set<const UIViewController*> seen;
  for (const auto& c : controllers) {
    if (c == nullptr) refuse("Cannot set a nil view controller");
    if (std::dynamic_pointer_cast<UINavigationController>(c) != nullptr) {
      refuse("Pushing a navigation controller is not supported");
    }
    if (!seen.insert(c.get()).second) {
      refuse("All view controllers in a navigation controller must be distinct");
    }
  }
  replaceChildren(stack_, controllers);
  stack_ = controllers;
  showTop(animated);
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& controller,
                                                bool animated) {
  checkPushable(controller);
  std::vector<std::shared_ptr<UIViewController>> next = stack_;
  next.push_back(controller);
  replaceChildren(stack_, next);
  stack_ = std::move(next);
  showTop(animated);
}

std::shared_ptr<UIViewController> UINavigationController::popViewController(bool animated) {
  if (stack_.size() <= 1) return nullptr;
  std::shared_ptr<UIViewController> popped = stack_.back();
  stack_.pop_back();
  popped->willMove(nullptr);
  popped->removeFromParent();
  showTop(animated);
  return popped;
}

std::vector<std::shared_ptr<UIViewController>> UINavigationController::popToRootViewController(bool animated) {
  if (stack_.size() <= 1) return {};
  std::vector<std::shared_ptr<UIViewController>> popped(stack_.begin() + 1, stack_.end());
  stack_.resize(1);
  for (const auto& c : popped) {
    c->willMove(nullptr);
    c->removeFromParent();
  }
  showTop(animated);
  return popped;
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
  return stack_.empty() ? nullptr : stack_.back();
}

std::shared_ptr<UIViewController> UINavigationController::visibleViewController() const {
  if (std::shared_ptr<UIViewController> shown = presentedViewController()) return shown;
  return topViewController();
}

void UINavigationController::setNavigationBarHidden(bool hidden, bool) { navigationBar_->setHidden(hidden); }

}  // namespace ios
