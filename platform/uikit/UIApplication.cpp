#include "platform/uikit/UIApplication.h"

#include <mutex>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Precondition.h"
#include "platform/uikit/internal/TargetAction.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIApplication, "UIApplication", nullptr)

namespace {

struct AppState {
  mutable std::mutex mutex;
  UIInterfaceOrientation orientation = UIInterfaceOrientation::portrait;
  CGRect statusBarFrame{{0, 0}, {375, 20}};
  UIBackgroundTaskIdentifier nextTask = 1;
  std::map<UIBackgroundTaskIdentifier, std::function<void()>> tasks;
  std::vector<std::pair<UIBackgroundTaskIdentifier, bool>> taskLog;
  bool supportsAlternateIcons = false;
  std::set<std::string> iconNames;
  std::optional<std::string> iconName;
  std::vector<testing::OpenedURL> opened;
  std::weak_ptr<NSObject> delegate;
};

AppState& state() {
  static auto* s = new AppState;
  return *s;
}

}  // namespace

std::string ios_describe(UIInterfaceOrientation orientation) {
  switch (orientation) {
    case UIInterfaceOrientation::unknown: return "unknown";
    case UIInterfaceOrientation::portrait: return "portrait";
    case UIInterfaceOrientation::portraitUpsideDown: return "portraitUpsideDown";
    case UIInterfaceOrientation::landscapeRight: return "landscapeRight";
    case UIInterfaceOrientation::landscapeLeft: return "landscapeLeft";
  }
  fatalError("UIInterfaceOrientation: " + std::to_string(static_cast<std::int64_t>(orientation)) +
             " is the value of no case");
}

std::shared_ptr<UIApplication> UIApplication::shared() {
  // Never destroyed: code running during exit may still ask for it.
  static auto* application = new std::shared_ptr<UIApplication>(make());
  return *application;
}

UIInterfaceOrientation UIApplication::statusBarOrientation() const {
  std::lock_guard lock(state().mutex);
  return state().orientation;
}

void UIApplication::setStatusBarOrientation(UIInterfaceOrientation orientation) {
  std::lock_guard lock(state().mutex);
  state().orientation = orientation;
}

CGRect UIApplication::statusBarFrame() const {
  std::lock_guard lock(state().mutex);
  return state().statusBarFrame;
}

void UIApplication::setStatusBarFrame(CGRect frame) {
  std::lock_guard lock(state().mutex);
  state().statusBarFrame = frame;
}

UIBackgroundTaskIdentifier UIApplication::beginBackgroundTask(std::function<void()> expirationHandler) {
  std::lock_guard lock(state().mutex);
  const auto id = state().nextTask++;
  state().tasks[id] = std::move(expirationHandler);
  state().taskLog.emplace_back(id, true);
  return id;
}

void UIApplication::endBackgroundTask(UIBackgroundTaskIdentifier identifier) {
  std::function<void()> released;
  std::lock_guard lock(state().mutex);
  auto it = state().tasks.find(identifier);
  if (it == state().tasks.end()) return;
  released = std::move(it->second);
  state().tasks.erase(it);
  state().taskLog.emplace_back(identifier, false);
}

bool UIApplication::supportsAlternateIcons() const {
  std::lock_guard lock(state().mutex);
  return state().supportsAlternateIcons;
}

std::optional<std::string> UIApplication::alternateIconName() const {
  std::lock_guard lock(state().mutex);
  return state().iconName;
}

void UIApplication::setAlternateIconName(std::optional<std::string> name,
                                         std::function<void(std::optional<NSError>)> completionHandler) {
  std::optional<NSError> error;
  {
    std::lock_guard lock(state().mutex);
    if (!state().supportsAlternateIcons) {
      error = NSError{"NSCocoaErrorDomain", 3328};  // feature unsupported
    } else if (name && !state().iconNames.count(*name)) {
      error = NSError{"NSCocoaErrorDomain", 4};  // no such file
    } else {
      state().iconName = std::move(name);
    }
  }
  if (completionHandler) {
    DispatchQueue::main().async([completionHandler = std::move(completionHandler), error] { completionHandler(error); });
  }
}

void UIApplication::open(const URL& url, const std::map<std::string, std::string>&,
                         std::function<void(bool)> completionHandler) {
  {
    std::lock_guard lock(state().mutex);
    state().opened.push_back({url.absoluteString(), testing::OpenURLForm::open});
  }
  // Every URL opens here: the completion is told so.
  if (completionHandler) {
    DispatchQueue::main().async([completionHandler = std::move(completionHandler)] { completionHandler(true); });
  }
}

bool UIApplication::sendAction(SEL action, const id& target, const id& sender) {
  if (action == nullptr || target == nullptr) return false;
  uikit_internal::sendAction(target, action, sender);
  return true;
}

id UIApplication::delegate() const {
  std::lock_guard lock(state().mutex);
  return state().delegate.lock();
}

void UIApplication::setDelegate(const id& delegate) {
  std::lock_guard lock(state().mutex);
  state().delegate = delegate;
}

bool UIApplication::openURL(const URL& url) {
  std::lock_guard lock(state().mutex);
  state().opened.push_back({url.absoluteString(), testing::OpenURLForm::openURL});
  return true;
}

namespace testing {

void setAlternateIconNames(bool supported, std::set<std::string> names) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.supportsAlternateIcons = supported;
  s.iconNames = std::move(names);
}

std::vector<std::string> openedURLs() {
  std::vector<std::string> urls;
  for (auto& request : openedURLRequests()) urls.push_back(std::move(request.url));
  return urls;
}

std::vector<OpenedURL> openedURLRequests() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.opened;
}

std::vector<std::pair<UIBackgroundTaskIdentifier, bool>> backgroundTaskLog() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.taskLog;
}

void resetApplication() {
  auto& s = state();
  std::map<UIBackgroundTaskIdentifier, std::function<void()>> released;
  std::lock_guard lock(s.mutex);
  released.swap(s.tasks);
  s.orientation = UIInterfaceOrientation::portrait;
  s.statusBarFrame = CGRect{{0, 0}, {375, 20}};
  s.taskLog.clear();
  s.supportsAlternateIcons = false;
  s.iconNames.clear();
  s.iconName.reset();
  s.opened.clear();
  s.delegate.reset();
}

}  // namespace testing
}  // namespace ios
