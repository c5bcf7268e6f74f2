// File: KPQuaslet/views/UIViewController+KPExt.h
//
// View-controller conveniences: keyboard notifications with frame hooks, the geometry
// left free by the bars, navigation and presentation shortcuts, child embedding, a
// background image, and the in-app browser.
//
//   kp::addKeyboardWillShowNotification(*controller);   // the hook gets the end frame
//   ios::CGRect free = kp::applicationFrame(*controller);
//   kp::pushVC(*controller, details);
//
// The keyboard handlers are runtime-visible members of the "KPQuaslet" category on
// UIViewController ("keyboardWillShowNotification:" and its three siblings). They send
// the hook messages ("keyboardWillShowWithFrame:" ...) through the runtime, so a
// subclass that adds its own method for a hook selector gets the keyboard's frame.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/URL.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIViewController.h"

namespace kp {

using ios::CGFloat;
using ios::CGRect;
using ios::UIViewController;

// Registers the controller with the default notification centre for the keyboard's
// will-show / did-show / will-hide / did-hide notification. Calling one twice
// registers twice (the hook then runs twice a notification).
void addKeyboardWillShowNotification(UIViewController& controller);
void addKeyboardDidShowNotification(UIViewController& controller);
void addKeyboardWillHideNotification(UIViewController& controller);
void addKeyboardDidHideNotification(UIViewController& controller);
// Ends the controller's registrations for that notification.
void removeKeyboardWillShowNotification(UIViewController& controller);
void removeKeyboardDidShowNotification(UIViewController& controller);
void removeKeyboardWillHideNotification(UIViewController& controller);
void removeKeyboardDidHideNotification(UIViewController& controller);
// Ends every registration of the controller with the default centre, keyboard or not.
void removeNotificationObserver(UIViewController& controller);

// The hooks the keyboard handlers call with the keyboard's end frame. Each sends its
// runtime message ("keyboardWillShowWithFrame:" ...; the CGRect is the argument),
// whose own implementation does nothing: a subclass adds a method for the selector.
void keyboardWillShowWithFrame(UIViewController& controller, CGRect frame);
void keyboardDidShowWithFrame(UIViewController& controller, CGRect frame);
void keyboardWillHideWithFrame(UIViewController& controller, CGRect frame);
void keyboardDidHideWithFrame(UIViewController& controller, CGRect frame);

// Where the free area starts: below a visible navigation bar (its frame's maximum y),
// at the view frame's minimum y with a hidden bar, the view frame's y without a
// navigation controller. A navigation controller answers for its visible controller,
// and the rule applies again while that one is a navigation controller too; so do
// bottom, tabBarHeight, navigationBarHeight, topBarsHeight, applicationFrame and the
// navigationBarColor getter.
[[nodiscard]] CGFloat top(UIViewController& controller);
// Where the free area ends: the tab bar's y, or the view frame's maximum y with a
// hidden tab bar or none.
[[nodiscard]] CGFloat bottom(UIViewController& controller);
// The tab bar's height; 0 without a tab bar controller.
[[nodiscard]] CGFloat tabBarHeight(UIViewController& controller);
// The navigation bar's height; 0 without a navigation controller.
[[nodiscard]] CGFloat navigationBarHeight(UIViewController& controller);
// The height of the status bar's frame converted by the window into the view's
// coordinates (for a rotated view, the height of the upright box around it); 0 when the
// view is in no window.
[[nodiscard]] CGFloat statusBarHeight(UIViewController& controller);
// statusBarHeight + navigationBarHeight.
[[nodiscard]] CGFloat topBarsHeight(UIViewController& controller);
// (view frame x, top, view frame width, bottom - top).
[[nodiscard]] CGRect applicationFrame(UIViewController& controller);
// The navigation controller's bar, or null without one.
[[nodiscard]] std::shared_ptr<ios::UINavigationBar> navBar(const UIViewController& controller);
// The bar tint colour of the navigation bar (that of the innermost visible controller's
// navigation controller when the receiver is itself one); none without a bar.
[[nodiscard]] std::optional<ios::UIColor> navigationBarColor(UIViewController& controller);
// Sets the bar tint colour of the bar of the controller's own navigation controller;
// nothing without one.
void setNavigationBarColor(UIViewController& controller, std::optional<ios::UIColor> color);

// Pushes `next` on the navigation stack, animated; nothing without a navigation controller.
void pushVC(UIViewController& controller, const std::shared_ptr<UIViewController>& next);
// Pops the top controller, animated; nothing without a navigation controller.
void popVC(UIViewController& controller);
// Pops to the root controller, animated; nothing without a navigation controller.
void popToRootVC(UIViewController& controller);
// Presents `presented`, animated, without completion.
void presentVC(UIViewController& controller, const std::shared_ptr<UIViewController>& presented);
// Dismisses animated; `completion` (may be empty) runs after the transition.
void dismissVC(UIViewController& controller, std::function<void()> completion);
// Adds the child's view to `view`, then makes it a child, then tells it it moved.
void addAsChildViewController(UIViewController& controller, const std::shared_ptr<UIViewController>& child,
                              const std::shared_ptr<ios::UIView>& view);
// The controller below this one on the navigation stack; the top one when this is not
// on top (it was just popped); itself when it is alone; null without a stack.
[[nodiscard]] std::shared_ptr<UIViewController> previousViewController(const UIViewController& controller);
// Adds an image view with the image (none: an empty one) and the view's frame behind
// the controller's content. Each call adds another.
void setBackgroundImage(UIViewController& controller, const std::optional<ios::UIImage>& image);
// The same with the main bundle's image of that name (an empty image view when there is
// none).
void setBackgroundImage(UIViewController& controller, const std::string& imageName);
// Presents the in-app browser on `url`, animated. Only http and https addresses can be
// shown: others change nothing.
void openURL(UIViewController& controller, const ios::URL& url);

}  // namespace kp
