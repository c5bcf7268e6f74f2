// KP's application, screen and dispatch conveniences.
#include "KPQuaslet/Helper/KPFunctions.h"
#include "KPQuaslet/services/UIApplication+KPExt.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URL.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"

namespace kp {
namespace {

std::optional<std::string> infoText(const std::string& key) {
  const ios::PropertyList value = ios::Bundle::main().object(key);
  if (const std::string* text = value.stringValue()) return *text;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> KP::appDisplayName() {
  if (auto name = infoText("CFBundleDisplayName")) return name;
  return infoText("CFBundleName");
}

std::optional<std::string> KP::appVersion() { return infoText("CFBundleShortVersionString"); }

std::optional<std::string> KP::appBuild() { return infoText(ios::kCFBundleVersionKey); }

std::optional<std::string> KP::appBundleID() { return ios::Bundle::main().bundleIdentifier(); }

std::optional<std::string> KP::appVersionAndBuild() {
  const auto version = appVersion();
  const auto build = appBuild();
  if (!version || !build) return std::nullopt;
  if (*version == *build) return "v" + *version;
  return "v" + *version + "(" + *build + ")";
}

std::string KP::deviceVersion() { return ios::utsnameMachine(); }

std::shared_ptr<ios::UIViewController> KP::topMostVC() {
  const auto window = ios::UIApplication::shared()->keyWindow();
  auto top = topViewController(window ? window->rootViewController() : nullptr);
  if (!top) {
    print("Error: You don't have any views set. You may be calling them in viewDidLoad. Try viewDidAppear instead.",
          logLevel::debug, "KPQuaslet/Helper/KP+Application.cpp", 126, "topMostVC");
  }
  return top;
}

ios::UIInterfaceOrientation KP::screenOrientation() {
  return ios::UIApplication::shared()->statusBarOrientation();
}

namespace {

bool isPortrait(ios::UIInterfaceOrientation orientation) {
  return orientation == ios::UIInterfaceOrientation::portrait ||
         orientation == ios::UIInterfaceOrientation::portraitUpsideDown;
}

}  // namespace

ios::CGFloat KP::screenWidth() {
  const ios::CGSize size = ios::UIScreen::main().bounds().size;
  return isPortrait(screenOrientation()) ? size.width : size.height;
}

ios::CGFloat KP::screenHeight() {
  const ios::CGSize size = ios::UIScreen::main().bounds().size;
  return isPortrait(screenOrientation()) ? size.height : size.width;
}

ios::CGFloat KP::screenStatusBarHeight() { return ios::UIApplication::shared()->statusBarFrame().size.height; }

ios::CGFloat KP::screenHeightWithoutStatusBar() { return screenHeight() - screenStatusBarHeight(); }

void KP::detectScreenShot(std::function<void()> action) {
  ios::NotificationCenter::defaultCenter()->addObserver(
      ios::Notification::Name("UIApplicationUserDidTakeScreenshotNotification"), nullptr,
      ios::OperationQueue::main(), [action = std::move(action)](const ios::Notification&) { action(); });
}

std::optional<std::string> KP::currentRegion() {
  // The region is the part of the identifier after the language (and script).
  const std::string id = ios::Locale::current().identifier();
  std::size_t start = id.find('_');
  while (start != std::string::npos) {
    const std::size_t end = id.find_first_of("_@", start + 1);
    const std::string part = id.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    if (part.size() == 2 || (part.size() == 3 && std::isdigit(static_cast<unsigned char>(part[0])))) return part;
    if (end == std::string::npos || id[end] == '@') break;
    start = end;
  }
  return std::nullopt;
}

void KP::gotoAppStore(const std::string& urlString) {
  auto url = ios::URL::fromString(urlString);
  if (!url) return;
  auto application = ios::UIApplication::shared();
  if (ios::UIDevice::current().isSystemVersionAtLeast(10)) {
    application->open(*url, {}, [](bool) {});
  } else {
    (void)application->openURL(*url);
  }
}

void KP::dispatchDelay(double seconds, std::function<void()> closure) {
  runThisAfterDelay(seconds, ios::DispatchQueue::main(), std::move(closure));
}

void KP::runThisAfterDelay(double seconds, std::function<void()> after) {
  runThisAfterDelay(seconds, ios::DispatchQueue::main(), std::move(after));
}

void KP::runThisAfterDelay(double seconds, const ios::DispatchQueue& queue, std::function<void()> after) {
  queue.asyncAfter(ios::DispatchTime::now().advanced(ios::secondsToNanoseconds(seconds)), std::move(after));
}

void KP::runThisInMainThread(std::function<void()> block) { ios::DispatchQueue::main().async(std::move(block)); }

void KP::runThisInBackground(std::function<void()> block) {
  ios::DispatchQueue::global(ios::DispatchQoS::default_).async(std::move(block));
}

std::shared_ptr<ios::Timer> KP::runThisEvery(double seconds, double startAfterSeconds,
                                             std::function<void(ios::Timer*)> handler) {
  auto timer = ios::CFRunLoopTimerCreateWithHandler(
      ios::CFAbsoluteTimeGetCurrent() + startAfterSeconds, seconds,
      [handler = std::move(handler)](ios::Timer& fired) { handler(&fired); });
  ios::CFRunLoopAddTimer(ios::CFRunLoopGetCurrent(), timer, ios::kCFRunLoopCommonModes);
  return timer;
}

}  // namespace kp
