// File: KPQuaslet/views/UIAlertController+KPExt.h
//
// Alerts made, extended and shown in one call each, and the web view's conveniences.
//
//   auto alert = kp::makeAlert("Saved", std::string("All done"), "OK", std::nullopt);
//   kp::show(*alert, true, true, nullptr);   // on the key window's root, with a vibration
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSError.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIWebView.h"

namespace kp {

// An alert with `title`, `message`, and one default action titled
// `defaultActionButtonTitle` without handler; its view takes `tintColor` when given.
[[nodiscard]] std::shared_ptr<ios::UIAlertController> makeAlert(std::string_view title,
                                                                std::optional<std::string> message,
                                                                std::string_view defaultActionButtonTitle,
                                                                const std::optional<ios::UIColor>& tintColor);
// The same with the error's localised description as the message.
[[nodiscard]] std::shared_ptr<ios::UIAlertController> makeAlert(std::string_view title, const ios::NSError& error,
                                                                std::string_view defaultActionButtonTitle,
                                                                const std::optional<ios::UIColor>& tintColor);
// Adds an action with the title, style, enabled state and handler (may be empty);
// answers it.
std::shared_ptr<ios::UIAlertAction> addAction(ios::UIAlertController& alert, std::string_view title,
                                              ios::UIAlertActionStyle style, bool isEnabled,
                                              ios::UIAlertAction::Handler handler);

// addTextField()
//
// Adds a text field set up with `text` and `placeholder` (each may be nothing). When
// both `editingChangedTarget` and `editingChangedSelector` are given, they are
// registered for editing-changed events; with either one missing, nothing is.
void addTextField(ios::UIAlertController& alert, std::optional<std::string> text,
                  std::optional<std::string> placeholder, const std::shared_ptr<ios::NSObject>& editingChangedTarget,
                  ios::SEL editingChangedSelector);
// Presents the alert from the key window's root controller (nothing, and no
// completion, without either); then vibrates when `vibrate` is true, presented or not.
void show(ios::UIAlertController& alert, bool animated, bool vibrate, std::function<void()> completion);

// Hides and removes the image views of the web view's scroll view whose x is at most
// 500 (the page's background shadows); other views stay, in their order. The shadows
// are hidden one by one in the scroll view's order, then taken out together, which
// ends as removing each after hiding it would and costs time in proportion to the
// scroll view's subviews, however the shadows are spread among them.
void removeBackgroundShadow(ios::UIWebView& webView);
// Loads `address` with the protocol's cache policy and a 60-second timeout; an address
// that is not a URL loads nothing.
void loadWebsite(ios::UIWebView& webView, std::string_view address);

}  // namespace kp
