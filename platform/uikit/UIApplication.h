// File: platform/uikit/UIApplication.h
//
// The application object: one per process.
//
//   auto app = ios::UIApplication::shared();
//   app->nextResponder();   // the responder chain's end, through the runtime
//
// Fidelity: the shared instance; the inherited, runtime-dispatched `nextResponder`
// (UIApplication defines none of its own, so it answers what UIResponder answers unless
// a category says otherwise); the status-bar orientation; background tasks (begun and
// ended in pairs; nothing expires on Linux); alternate icons (only names registered with
// ios::testing::setAlternateIconNames exist, and only when alternate icons are
// supported); and opening URLs, which records them with the form of the call that asked
// (there is no other application to hand them to); the delegate, which is not kept. Completion handlers are called on the
// main queue.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/URL.h"

#include "platform/uikit/UIResponder.h"

namespace ios {

class UIWindow;

enum class UIInterfaceOrientation : std::int64_t {
  unknown = 0,
  portrait = 1,
  portraitUpsideDown = 2,
  landscapeRight = 3,
  landscapeLeft = 4,
};
// The case name ("landscapeLeft"), as the value is printed.
[[nodiscard]] std::string ios_describe(UIInterfaceOrientation orientation);

using UIBackgroundTaskIdentifier = std::int64_t;
inline constexpr UIBackgroundTaskIdentifier UIBackgroundTaskInvalid = 0;

class UIApplication : public UIResponder {
  IOS_RUNTIME_CLASS(UIApplication, UIResponder);

 public:
  // shared()
  //
  // The process's application object, made on first use (safe from any thread); it
  // lives until the process ends.
  [[nodiscard]] static std::shared_ptr<UIApplication> shared();

  // The orientation of the status bar (portrait unless set).
  [[nodiscard]] UIInterfaceOrientation statusBarOrientation() const;
  void setStatusBarOrientation(UIInterfaceOrientation orientation);
  // The status bar's frame in screen points ({0, 0, 375, 20} unless set).
  [[nodiscard]] CGRect statusBarFrame() const;
  void setStatusBarFrame(CGRect frame);

  // Begins a background task; answers its identifier (never UIBackgroundTaskInvalid).
  UIBackgroundTaskIdentifier beginBackgroundTask(std::function<void()> expirationHandler);
  // Ends a background task begun before; unknown identifiers are ignored.
  void endBackgroundTask(UIBackgroundTaskIdentifier identifier);

  // Whether the application may change its icon.
  [[nodiscard]] bool supportsAlternateIcons() const;
  // The alternate icon in use, or nothing for the primary one.
  [[nodiscard]] std::optional<std::string> alternateIconName() const;
  // Switches to the named alternate icon (nothing: the primary icon). The completion
  // gets nothing on success, or the error.
  void setAlternateIconName(std::optional<std::string> name,
                            std::function<void(std::optional<NSError>)> completionHandler);

  // Asks the system to open `url`; the completion tells whether it was opened.
  void open(const URL& url, const std::map<std::string, std::string>& options,
            std::function<void(bool)> completionHandler);
  // Asks the system to open `url`; answers whether it was opened.
  bool openURL(const URL& url);

  // sendAction()
  //
  // Sends `action` to `target` from `sender`, as a control or bar button item does when
  // tapped (a selector with a colon takes the sender; a result is dropped). Answers
  // whether it was sent: false for a null action or target (the search of the responder
  // chain for a null target is absent).
  bool sendAction(SEL action, const id& target, const id& sender);

  // The key window (the one last made key and still alive), or null.
  [[nodiscard]] std::shared_ptr<UIWindow> keyWindow() const;
  // The application's delegate, or null (also once the delegate is gone).
  [[nodiscard]] id delegate() const;
  // Sets the delegate, without keeping it (the application does not own its delegate).
  void setDelegate(const id& delegate);

 private:
  // The one instance is shared(): the runtime makes no other by name.
  static constexpr bool kRuntimeSingleton = true;
  UIApplication() = default;
};

namespace testing {

// Whether alternate icons are supported, and the names that exist.
void setAlternateIconNames(bool supported, std::set<std::string> names);
// The URLs handed to open() / openURL(), oldest first.
[[nodiscard]] std::vector<std::string> openedURLs();
// Which call asked to open a URL: open(_:options:completionHandler:) or the older
// openURL(_:).
enum class OpenURLForm { open, openURL };
struct OpenedURL {
  std::string url;
  OpenURLForm form;
  bool operator==(const OpenedURL&) const = default;
};
// The URLs handed to open() / openURL() with the form of each call, oldest first.
[[nodiscard]] std::vector<OpenedURL> openedURLRequests();
// Background tasks: (identifier, began?) in the order they began and ended.
[[nodiscard]] std::vector<std::pair<UIBackgroundTaskIdentifier, bool>> backgroundTaskLog();
// Puts the application's state back to its start.
void resetApplication();

}  // namespace testing

}  // namespace ios
