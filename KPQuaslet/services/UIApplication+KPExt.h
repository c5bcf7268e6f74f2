// File: KPQuaslet/services/UIApplication+KPExt.h
//
// Background work and alternate icons on the application, and general-pasteboard text.
//
//   kp::runInBackground(*ios::UIApplication::shared(), [] { save(); });
//   kp::changeAppIcon("Dark");   // prints "No Error" or the error once done
//   kp::copy("text");  kp::getString();  // "text"
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"

namespace kp {

// runInBackground()
//
// On the main queue, later: begins a background task (with `expirationHandler`, or an
// empty one), runs `closure`, then ends the task with the identifier the begin gave.
void runInBackground(ios::UIApplication& application, std::function<void()> closure,
                     std::function<void()> expirationHandler = nullptr);

// topViewController()
//
// The controller the user sees from `base`: through a navigation controller's visible
// controller, a tab-bar controller's selected one (when it has one), then anything
// presented; nothing for an empty base.
[[nodiscard]] std::shared_ptr<ios::UIViewController> topViewController(std::shared_ptr<ios::UIViewController> base);

// changeAppIcon()
//
// Switches to the named alternate icon (nothing: the primary icon) when the application
// supports alternate icons; the outcome is printed as one line, the error's description
// or "No Error". Does nothing without alternate-icon support, or below iOS 10.3.
void changeAppIcon(const std::optional<std::string>& name);

// Puts `text` on the general pasteboard.
void copy(const std::string& text);
// The general pasteboard's text, or "".
[[nodiscard]] std::string getString();

}  // namespace kp
