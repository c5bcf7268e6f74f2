#include "platform/uikit/UIViewController.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIViewController, "UIViewController", nullptr)

namespace {

std::mutex keyWindowMutex;
std::weak_ptr<UIWindow> keyWindowRef;

// "<Class: 0x...>", as the platform names an object in its log lines.
std::string objectName(const NSObject& object) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&object));
  return std::string("<") + class_getName(object.getClass()) + ": " + address + ">";
}

// Runs `completion` on the main queue once a transition of `duration` is over.
void afterTransition(double duration, std::function<void()> completion) {
  if (!completion) return;
  if (duration > 0) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + duration, std::move(completion));
  } else {
    DispatchQueue::main().async(std::move(completion));
  }
}

}  // namespace

UIViewController::~UIViewController() = default;

std::shared_ptr<UIView> UIViewController::view() {
  loadViewIfNeeded();
  return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) { view_ = std::move(view); }

void UIViewController::loadViewIfNeeded() {
  if (view_ != nullptr) return;
  loadView();
  if (view_ == nullptr) view_ = UIView::make(UIScreen::main().bounds());
  viewDidLoad();
}

void UIViewController::loadView() { view_ = UIView::make(UIScreen::main().bounds()); }

std::shared_ptr<UIViewController> UIViewController::presentedViewController() const { return presented_; }

std::shared_ptr<UIViewController> UIViewController::presentingViewController() const { return presenting_.lock(); }

void UIViewController::present(const std::shared_ptr<UIViewController>& controller, bool animated,
                               std::function<void()> completion) {
  if (controller == nullptr) {
    NSException(NSInvalidArgumentException, "Application tried to present a nil modal view controller on target " +
                                                objectName(*this) + ".")
        .raise();
  }
  if (controller.get() == this || controller->presentingViewController() != nullptr) {
    NSException(NSInvalidArgumentException,
                "Application tried to present modally an active controller " + objectName(*this) + ".")
        .raise();
  }
  std::shared_ptr<UIWindow> window = isViewLoaded() ? view_->window() : nullptr;
  if (window == nullptr) {
    print("Warning: Attempt to present " + objectName(*controller) + " on " + objectName(*this) +
          " whose view is not in the window hierarchy!");
    return;
  }
  if (presented_ != nullptr) {
    print("Warning: Attempt to present " + objectName(*controller) + " on " + objectName(*this) +
          " which is already presenting " + objectName(*presented_));
    return;
  }
  presented_ = controller;
  controller->presenting_ = std::static_pointer_cast<UIViewController>(shared_from_this());
  std::shared_ptr<UIView> shown = controller->view();
  shown->setFrame(window->bounds());
  window->addSubview(shown);
  afterTransition(animated ? presentationDuration : 0, std::move(completion));
}

void UIViewController::detachPresented(std::vector<std::shared_ptr<UIViewController>>& dismissed) {
  if (presented_ == nullptr) return;
  std::shared_ptr<UIViewController> shown = std::move(presented_);
  presented_ = nullptr;
  shown->detachPresented(dismissed);
  shown->presenting_.reset();
  if (shown->isViewLoaded()) shown->view_->removeFromSuperview();
  dismissed.push_back(std::move(shown));
}

void UIViewController::dismiss(bool animated, std::function<void()> completion) {
  std::shared_ptr<UIViewController> presenter;
  if (presented_ != nullptr) {
    presenter = std::static_pointer_cast<UIViewController>(shared_from_this());
  } else {
    presenter = presenting_.lock();
  }
  if (presenter == nullptr) return;
  std::vector<std::shared_ptr<UIViewController>> dismissed;
  presenter->detachPresented(dismissed);
  afterTransition(animated ? presentationDuration : 0, std::move(completion));
}

void UIViewController::addChild(const std::shared_ptr<UIViewController>& child) {
  if (child == nullptr || child.get() == this) return;
  if (child->parent().get() == this) return;
  if (child->parent() != nullptr) child->removeFromParent();
  auto self = std::static_pointer_cast<UIViewController>(shared_from_this());
  child->willMove(self);
  children_.push_back(child);
  child->parent_ = self;
}

void UIViewController::removeFromParent() {
  std::shared_ptr<UIViewController> parent = parent_.lock();
  if (parent == nullptr) return;
  auto self = std::static_pointer_cast<UIViewController>(shared_from_this());
  std::erase(parent->children_, self);
  parent_.reset();
  didMove(nullptr);
}

void UIViewController::replaceChildren(const std::vector<std::shared_ptr<UIViewController>>& before,
                                       const std::vector<std::shared_ptr<UIViewController>>& now) {
  for (const auto& old : before) {
    if (std::find(now.begin(), now.end(), old) == now.end() && old->parent().get() == this) {
      old->willMove(nullptr);
      old->removeFromParent();
    }
  }
  auto self = std::static_pointer_cast<UIViewController>(shared_from_this());
  for (const auto& c : now) {
    if (c->parent() != self) {
      addChild(c);
      c->didMove(self);
    }
  }
}

void UIViewController::showContentView(std::weak_ptr<UIView>& shown,
                                       const std::shared_ptr<UIViewController>& controller) {
  if (!isViewLoaded()) return;
  if (auto old = shown.lock()) old->removeFromSuperview();
  shown.reset();
  if (controller == nullptr) return;
  std::shared_ptr<UIView> content = controller->view();
  content->setFrame(view_->bounds());
  view_->insertSubview(content, 0);
  shown = content;
}

void UIViewController::willMove(const std::shared_ptr<UIViewController>&) {}

void UIViewController::didMove(const std::shared_ptr<UIViewController>&) {}

namespace {

// The first controller of type T among `start`, its parents, then its presenter's.
template <class T>
std::shared_ptr<T> findContainer(const UIViewController& start) {
  auto current = std::const_pointer_cast<UIViewController>(
      std::static_pointer_cast<const UIViewController>(start.shared_from_this()));
  // The receiver itself does not count: a container asks for its own container.
  for (std::shared_ptr<UIViewController> c = current->parent(); c != nullptr; c = c->parent()) {
    if (auto found = std::dynamic_pointer_cast<T>(c)) return found;
  }
  for (std::shared_ptr<UIViewController> c = current; c != nullptr; c = c->parent()) {
    if (auto presenter = c->presentingViewController()) {
      if (auto found = std::dynamic_pointer_cast<T>(presenter)) return found;
      return findContainer<T>(*presenter);
    }
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
  return findContainer<UINavigationController>(*this);
}

std::shared_ptr<UITabBarController> UIViewController::tabBarController() const {
  return findContainer<UITabBarController>(*this);
}

// The window's root controller and key status live with the controllers they serve.

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
  if (rootViewController_ != nullptr && rootViewController_->isViewLoaded()) {
    std::shared_ptr<UIView> old = rootViewController_->view();
    if (old->superview().get() == this) old->removeFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (rootViewController_ == nullptr) return;
  std::shared_ptr<UIView> view = rootViewController_->view();
  view->setFrame(bounds());
  addSubview(view);
}

void UIWindow::makeKeyAndVisible() {
  setHidden(false);
  std::lock_guard<std::mutex> lock(keyWindowMutex);
  keyWindowRef = std::static_pointer_cast<UIWindow>(shared_from_this());
}

bool UIWindow::isKeyWindow() const {
  std::lock_guard<std::mutex> lock(keyWindowMutex);
  return keyWindowRef.lock().get() == this;
}

std::shared_ptr<UIWindow> UIApplication::keyWindow() const {
  std::lock_guard<std::mutex> lock(keyWindowMutex);
  return keyWindowRef.lock();
}

namespace testing {

void resetKeyWindow() {
  std::lock_guard<std::mutex> lock(keyWindowMutex);
  keyWindowRef.reset();
}

}  // namespace testing
}  // namespace ios
