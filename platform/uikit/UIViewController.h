// File: platform/uikit/UIViewController.h
//
// View controllers: a lazily loaded view, modal presentation, and child controllers.
//
//   auto settings = SettingsController::make();
//   window->setRootViewController(home);
//   home->present(settings, true, [] { ios::print("shown"); });
//
// Fidelity: kept are the platform's rules that callers rely on. The view is made by
// loadView() on first access (a plain view the size of the main screen unless a
// subclass makes another), then viewDidLoad() runs once. A controller presents one
// controller at a time: presenting from a controller whose view is not in a window, or
// that is already presenting, is refused with the platform's warning line on standard
// output and its completion never runs; presenting a controller that is already
// presented (or the presenter itself) raises "NSInvalidArgumentException". The
// presented controller's view covers the presenter's window. Completions of present
// and dismiss run on the main queue, once the transition has had its time (0.3 s when
// animated, the next turn otherwise). addChild() calls willMove(toParent:) itself and
// removeFromParent() calls didMove(toParent: nil) itself, as on the platform.
// Storyboard segues, size classes, rotation, appearance callbacks and transition
// coordinators are absent.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/uikit/UIView.h"

namespace ios {

class UINavigationController;
class UITabBarController;

// The keyboard's notifications. Their user info holds the keyboard's frames as CGRect
// values (the platform boxes them in NSValue) under the keys below.
inline const Notification::Name UIKeyboardWillShowNotification{"UIKeyboardWillShowNotification"};
inline const Notification::Name UIKeyboardDidShowNotification{"UIKeyboardDidShowNotification"};
inline const Notification::Name UIKeyboardWillHideNotification{"UIKeyboardWillHideNotification"};
inline const Notification::Name UIKeyboardDidHideNotification{"UIKeyboardDidHideNotification"};
inline constexpr const char* UIKeyboardFrameBeginUserInfoKey = "UIKeyboardFrameBeginUserInfoKey";
inline constexpr const char* UIKeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
inline constexpr const char* UIKeyboardAnimationDurationUserInfoKey = "UIKeyboardAnimationDurationUserInfoKey";

class UIViewController : public UIResponder {
  IOS_RUNTIME_CLASS(UIViewController, UIResponder);

 public:
  // The length of an animated present or dismiss, in seconds.
  static constexpr double presentationDuration = 0.3;

  ~UIViewController() override;

  // view()
  //
  // The controller's view, loaded on first access: loadView(), then viewDidLoad().
  [[nodiscard]] std::shared_ptr<UIView> view();
  // Replaces the view (null: unloads it, so that the next access loads it again).
  void setView(std::shared_ptr<UIView> view);
  // Whether the view has been loaded.
  [[nodiscard]] bool isViewLoaded() const { return view_ != nullptr; }
  // Loads the view if it is not loaded yet.
  void loadViewIfNeeded();

  // The controller's title, if any.
  [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
  virtual void setTitle(std::optional<std::string> title) { title_ = std::move(title); }

  // present()
  //
  // Shows `controller` modally over this one. Refused (warning line, no completion)
  // when this controller's view is not in a window or it already presents one; raises
  // "NSInvalidArgumentException" when `controller` is null, already presented, or this
  // controller itself. `completion` runs on the main queue after the transition.
  void present(const std::shared_ptr<UIViewController>& controller, bool animated, std::function<void()> completion);
  // dismiss()
  //
  // Dismisses the controller this one presents, or else this controller itself when it
  // is presented (with everything it presents in turn). `completion` runs on the main
  // queue after the transition; nothing happens, and it never runs, when there is
  // nothing to dismiss.
  void dismiss(bool animated, std::function<void()> completion);
  // The controller this one presents, or null.
  [[nodiscard]] std::shared_ptr<UIViewController> presentedViewController() const;
  // The controller that presents this one, or null.
  [[nodiscard]] std::shared_ptr<UIViewController> presentingViewController() const;

  // The parent (a container such as a navigation controller), or null.
  [[nodiscard]] std::shared_ptr<UIViewController> parent() const { return parent_.lock(); }
  // The child controllers, in the order they were added.
  [[nodiscard]] std::vector<std::shared_ptr<UIViewController>> children() const { return children_; }
  // addChild()
  //
  // Makes `child` a child of this controller: it first leaves its old parent, then gets
  // willMove(toParent: this). Its view is not touched. Adding this controller itself
  // or an existing child changes nothing.
  void addChild(const std::shared_ptr<UIViewController>& child);
  // Takes the controller from its parent and calls didMove(toParent: null); nothing
  // without a parent.
  void removeFromParent();
  // Called before the controller is added to or removed from a parent (null).
  virtual void willMove(const std::shared_ptr<UIViewController>& parent);
  // Called after the controller was added to or removed from a parent (null).
  virtual void didMove(const std::shared_ptr<UIViewController>& parent);

  // The nearest navigation controller among this controller and its ancestors (parents
  // first, then the presenting controller's), or null.
  [[nodiscard]] std::shared_ptr<UINavigationController> navigationController() const;
  // The nearest tab bar controller, looked for the same way, or null.
  [[nodiscard]] std::shared_ptr<UITabBarController> tabBarController() const;

 protected:
  UIViewController() = default;
  // Makes the view; a subclass may set another view with setView().
  virtual void loadView();
  // Runs once after the view was loaded.
  virtual void viewDidLoad() {}

  // For containers: makes `now` the container's children in place of `before`
  // (leaving ones get willMove(nil) and leave; new ones are added and get didMove).
  void replaceChildren(const std::vector<std::shared_ptr<UIViewController>>& before,
                       const std::vector<std::shared_ptr<UIViewController>>& now);
  // For containers: when the view is loaded, shows `controller`'s view (none: nothing)
  // filling it, behind the container's own subviews, in place of `shown`.
  void showContentView(std::weak_ptr<UIView>& shown, const std::shared_ptr<UIViewController>& controller);

 private:
  void detachPresented(std::vector<std::shared_ptr<UIViewController>>& dismissed);

  std::shared_ptr<UIView> view_;
  std::optional<std::string> title_;
  std::weak_ptr<UIViewController> parent_;
  std::vector<std::shared_ptr<UIViewController>> children_;
  std::shared_ptr<UIViewController> presented_;
  std::weak_ptr<UIViewController> presenting_;
};

namespace testing {

// Forgets the application's key window.
void resetKeyWindow();

}  // namespace testing
}  // namespace ios
