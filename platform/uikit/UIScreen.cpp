#include "platform/uikit/UIScreen.h"

#include <atomic>
#include <cmath>
#include <mutex>

#include "platform/uikit/internal/DeviceState.h"

namespace ios {
namespace {

constexpr CGFloat kDefaultScale = 2.0;
constexpr CGSize kDefaultSize{375, 667};

// The main screen, as the environment describes it until simulate() or a test changes it.
struct ScreenState {
  std::atomic<CGFloat> scale{uikit_internal::environmentDevice().screenScale.value_or(kDefaultScale)};
  std::mutex sizeLock;
  CGSize size = uikit_internal::environmentDevice().screenSize.value_or(kDefaultSize);
};

ScreenState& screen() {
  static auto* state = new ScreenState;  // read by drawings until the process ends
  return *state;
}

}  // namespace

UIScreen& UIScreen::main() {
  static UIScreen screen;
  return screen;
}

CGFloat UIScreen::scale() const { return screen().scale.load(); }

CGRect UIScreen::bounds() const {
  std::lock_guard lock(screen().sizeLock);
  return CGRect(CGPoint::zero, screen().size);
}

namespace uikit_internal {

void storeScreenScale(CGFloat scale) { screen().scale.store(scale); }

void storeScreenSize(CGSize size) {
  std::lock_guard lock(screen().sizeLock);
  screen().size = size;
}

}  // namespace uikit_internal

namespace testing {

void setMainScreenScale(CGFloat scale) {
  if (!uikit_internal::deviceDescriptionFault({.screenScale = scale})) uikit_internal::storeScreenScale(scale);
}

void setMainScreenSize(CGSize size) {
  if (!uikit_internal::deviceDescriptionFault({.screenSize = size})) uikit_internal::storeScreenSize(size);
}

void resetMainScreen() {
  uikit_internal::storeScreenScale(kDefaultScale);
  uikit_internal::storeScreenSize(kDefaultSize);
}

}  // namespace testing
}  // namespace ios
