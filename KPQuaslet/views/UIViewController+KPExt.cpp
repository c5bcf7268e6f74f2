#include "KPQuaslet/views/UIViewController+KPExt.h"

#include <any>
#include <cctype>
#include <cmath>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "platform/uikit/UIImageNamed.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/safariservices/SFSafariViewController.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {
namespace {

// One keyboard notification: its name, the handler the centre sends, the hook it calls.
struct KeyboardRoute {
  const ios::Notification::Name& name;
  const char* handler;
  const char* hook;
};

const KeyboardRoute willShow{ios::UIKeyboardWillShowNotification, "keyboardWillShowNotification:",
                             "keyboardWillShowWithFrame:"};
const KeyboardRoute didShow{ios::UIKeyboardDidShowNotification, "keyboardDidShowNotification:",
                            "keyboardDidShowWithFrame:"};
const KeyboardRoute willHide{ios::UIKeyboardWillHideNotification, "keyboardWillHideNotification:",
                             "keyboardWillHideWithFrame:"};
const KeyboardRoute didHide{ios::UIKeyboardDidHideNotification, "keyboardDidHideNotification:",
                            "keyboardDidHideWithFrame:"};

// The keyboard's end frame in the notification, or nothing when it carries none.
std::optional<CGRect> endFrame(const ios::Notification& note) {
  if (!note.userInfo()) return std::nullopt;
  auto it = note.userInfo()->find(ios::UIKeyboardFrameEndUserInfoKey);
  if (it == note.userInfo()->end()) return std::nullopt;
  if (const CGRect* frame = std::any_cast<CGRect>(&it->second)) return *frame;
  return std::nullopt;
}

// The handlers and the (empty) hooks, visible to the runtime in the category "KPQuaslet".
const kp_internal::CategoryRegistration controllerCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  for (const KeyboardRoute* route : {&willShow, &didShow, &willHide, &didHide}) {
    const char* hook = route->hook;
    category.instanceMethods.push_back(
        {ios::sel_registerName(route->handler),
         ios::imp([hook](UIViewController& self, ios::SEL, const ios::Notification& note) {
           // A notification without a frame is not the keyboard's: there is nothing to pass on.
           if (std::optional<CGRect> frame = endFrame(note)) {
             ios::send<void>(&self, ios::sel_registerName(hook), *frame);
           }
         }),
         {}});
    category.instanceMethods.push_back(
        {ios::sel_registerName(route->hook), ios::imp([](UIViewController&, ios::SEL, CGRect) {}), {}});
  }
  ios::attachCategory(UIViewController::classObject(), category);
});

ios::id asObject(UIViewController& controller) { return controller.shared_from_this(); }

void add(UIViewController& controller, const KeyboardRoute& route) {
  ios::NotificationCenter::defaultCenter()->addObserver(asObject(controller), ios::sel_registerName(route.handler),
                                                        route.name, nullptr);
}

void remove(UIViewController& controller, const KeyboardRoute& route) {
  ios::NotificationCenter::defaultCenter()->removeObserver(asObject(controller), route.name, nullptr);
}

void hook(UIViewController& controller, const KeyboardRoute& route, CGRect frame) {
  ios::send<void>(&controller, ios::sel_registerName(route.hook), frame);
}

// The controller the geometry members answer for: a navigation controller answers for
// its visible controller (itself when it has none), and so on while that controller is
// itself a navigation controller. The visible controller is kept alive by its stack.
UIViewController& subject(UIViewController& controller) {
  UIViewController* current = &controller;
  while (auto* nav = dynamic_cast<ios::UINavigationController*>(current)) {
    std::shared_ptr<UIViewController> visible = nav->visibleViewController();
    if (visible == nullptr || visible.get() == current) break;
    current = visible.get();
  }
  return *current;
}

}  // namespace

void addKeyboardWillShowNotification(UIViewController& c) { add(c, willShow); }
void addKeyboardDidShowNotification(UIViewController& c) { add(c, didShow); }
void addKeyboardWillHideNotification(UIViewController& c) { add(c, willHide); }
void addKeyboardDidHideNotification(UIViewController& c) { add(c, didHide); }
void removeKeyboardWillShowNotification(UIViewController& c) { remove(c, willShow); }
void removeKeyboardDidShowNotification(UIViewController& c) { remove(c, didShow); }
void removeKeyboardWillHideNotification(UIViewController& c) { remove(c, willHide); }
void removeKeyboardDidHideNotification(UIViewController& c) { remove(c, didHide); }

void removeNotificationObserver(UIViewController& controller) {
  ios::NotificationCenter::defaultCenter()->removeObserver(asObject(controller));
}

void keyboardWillShowWithFrame(UIViewController& c, CGRect frame) { hook(c, willShow, frame); }
void keyboardDidShowWithFrame(UIViewController& c, CGRect frame) { hook(c, didShow, frame); }
void keyboardWillHideWithFrame(UIViewController& c, CGRect frame) { hook(c, willHide, frame); }
void keyboardDidHideWithFrame(UIViewController& c, CGRect frame) { hook(c, didHide, frame); }

CGFloat top(UIViewController& controller) {
  UIViewController& c = subject(controller);
  const CGRect frame = c.view()->frame();
  std::shared_ptr<ios::UINavigationController> nav = c.navigationController();
  if (nav == nullptr) return frame.origin.y;
  if (nav->isNavigationBarHidden()) return frame.minY();
  return nav->navigationBar()->frame().maxY();
}

CGFloat bottom(UIViewController& controller) {
  UIViewController& c = subject(controller);
  const CGRect frame = c.view()->frame();
  std::shared_ptr<ios::UITabBarController> tabs = c.tabBarController();
  if (tabs == nullptr || tabs->tabBar()->isHidden()) return frame.maxY();
  return tabs->tabBar()->frame().origin.y;
}

CGFloat tabBarHeight(UIViewController& controller) {
  std::shared_ptr<ios::UITabBarController> tabs = subject(controller).tabBarController();
  return tabs == nullptr ? 0 : tabs->tabBar()->frame().size.height;
}

CGFloat navigationBarHeight(UIViewController& controller) {
  std::shared_ptr<ios::UINavigationController> nav = subject(controller).navigationController();
  return nav == nullptr ? 0 : nav->navigationBar()->frame().size.height;
}

CGFloat statusBarHeight(UIViewController& controller) {
  std::shared_ptr<ios::UIView> view = controller.view();
  std::shared_ptr<ios::UIWindow> window = view->window();
  if (window == nullptr) return 0;
  return window->convert(ios::UIApplication::shared()->statusBarFrame(), view.get()).size.height;
}

CGFloat topBarsHeight(UIViewController& controller) {
  return statusBarHeight(controller) + navigationBarHeight(controller);
}

CGRect applicationFrame(UIViewController& controller) {
  const CGRect frame = controller.view()->frame();
  const CGFloat t = top(controller);
  return CGRect(frame.origin.x, t, frame.size.width, bottom(controller) - t);
}

std::shared_ptr<ios::UINavigationBar> navBar(const UIViewController& controller) {
  std::shared_ptr<ios::UINavigationController> nav = controller.navigationController();
  return nav == nullptr ? nullptr : nav->navigationBar();
}

std::optional<ios::UIColor> navigationBarColor(UIViewController& controller) {
  std::shared_ptr<ios::UINavigationBar> bar = navBar(subject(controller));
  return bar == nullptr ? std::nullopt : bar->barTintColor();
}

void setNavigationBarColor(UIViewController& controller, std::optional<ios::UIColor> color) {
  if (std::shared_ptr<ios::UINavigationBar> bar = navBar(controller)) bar->setBarTintColor(std::move(color));
}

void pushVC(UIViewController& controller, const std::shared_ptr<UIViewController>& next) {
  if (auto nav = controller.navigationController()) nav->pushViewController(next, true);
}

void popVC(UIViewController& controller) {
  if (auto nav = controller.navigationController()) (void)nav->popViewController(true);
}

void popToRootVC(UIViewController& controller) {
  if (auto nav = controller.navigationController()) (void)nav->popToRootViewController(true);
}

void presentVC(UIViewController& controller, const std::shared_ptr<UIViewController>& presented) {
  controller.present(presented, true, nullptr);
}

void dismissVC(UIViewController& controller, std::function<void()> completion) {
  controller.dismiss(true, std::move(completion));
}

void addAsChildViewController(UIViewController& controller, const std::shared_ptr<UIViewController>& child,
                              const std::shared_ptr<ios::UIView>& view) {
  view->addSubview(child->view());
  controller.addChild(child);
  child->didMove(std::static_pointer_cast<UIViewController>(controller.shared_from_this()));
}

std::shared_ptr<UIViewController> previousViewController(const UIViewController& controller) {
  std::shared_ptr<ios::UINavigationController> nav = controller.navigationController();
  if (nav == nullptr) return nullptr;
  const std::vector<std::shared_ptr<UIViewController>> stack = nav->viewControllers();
  if (stack.empty()) return nullptr;
  if (stack.back().get() == &controller && stack.size() > 1) return stack[stack.size() - 2];
  return stack.back();
}

void setBackgroundImage(UIViewController& controller, const std::string& imageName) {
  setBackgroundImage(controller, ios::imageNamed(imageName));
}

void setBackgroundImage(UIViewController& controller, const std::optional<ios::UIImage>& image) {
  std::shared_ptr<ios::UIView> view = controller.view();
  std::shared_ptr<ios::UIImageView> imageView = ios::UIImageView::make(view->frame());
  imageView->setImage(image);
  // Added, then sent to the back: behind everything already there.
  view->insertSubview(imageView, 0);
}

void openURL(UIViewController& controller, const ios::URL& url) {
  std::optional<std::string> scheme = url.scheme();
  if (scheme) {
    for (char& ch : *scheme) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  }
  // The browser takes only web addresses; anything else would stop the application.
  if (scheme != "http" && scheme != "https") return;
  controller.present(ios::SFSafariViewController::make(url), true, nullptr);
}

}  // namespace kp
