#include "KPQuaslet/services/UIApplication+KPExt.h"

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/UITabBarController.h"

namespace kp {

void runInBackground(ios::UIApplication& application, std::function<void()> closure,
                     std::function<void()> expirationHandler) {
  auto app = std::static_pointer_cast<ios::UIApplication>(application.shared_from_this());
  ios::DispatchQueue::main().async(
      [app, closure = std::move(closure), expirationHandler = std::move(expirationHandler)]() mutable {
        const auto task = app->beginBackgroundTask(expirationHandler ? std::move(expirationHandler) : [] {});
        ios::ScopeExit endTask([&] { app->endBackgroundTask(task); });  // also when the closure throws
        closure();
      });
}

std::shared_ptr<ios::UIViewController> topViewController(std::shared_ptr<ios::UIViewController> base) {
  if (!base) return nullptr;
  if (auto navigation = std::dynamic_pointer_cast<ios::UINavigationController>(base)) {
    return topViewController(navigation->visibleViewController());
  }
  if (auto tabs = std::dynamic_pointer_cast<ios::UITabBarController>(base)) {
    if (auto selected = tabs->selectedViewController()) return topViewController(selected);
  }
  if (auto presented = base->presentedViewController()) return topViewController(presented);
  return base;
}

void changeAppIcon(const std::optional<std::string>& name) {
  auto app = ios::UIApplication::shared();
  if (!ios::UIDevice::current().isSystemVersionAtLeast(10, 3) || !app->supportsAlternateIcons()) return;
  app->setAlternateIconName(name, [](std::optional<ios::NSError> error) {
    ios::print(error ? error->localizedDescription() : "No Error");
  });
}

void copy(const std::string& text) { ios::UIPasteboard::general().setString(text); }

std::string getString() { return ios::UIPasteboard::general().string().value_or(""); }

}  // namespace kp
