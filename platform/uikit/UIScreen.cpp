#include "platform/uikit/UIScreen.h"

#include <atomic>
#include <cmath>
#include <mutex>

namespace ios {
namespace {

constexpr CGFloat kDefaultScale = 2.0;

std::atomic<CGFloat>& mainScale() {
  static std::atomic<CGFloat> scale{kDefaultScale};
  return scale;
}

constexpr CGSize kDefaultSize{375, 667};
std::mutex sizeLock;
CGSize screenSize = kDefaultSize;

}  // namespace

UIScreen& UIScreen::main() {
  static UIScreen screen;
  return screen;
}

CGFloat UIScreen::scale() const { return mainScale().load(); }

CGRect UIScreen::bounds() const {
  std::lock_guard lock(sizeLock);
  return CGRect(CGPoint::zero, screenSize);
}

namespace testing {

void setMainScreenScale(CGFloat scale) {
  if (scale > 0 && std::isfinite(scale)) mainScale().store(scale);
}

void setMainScreenSize(CGSize size) {
  if (!(size.width >= 0 && size.height >= 0 && std::isfinite(size.width) && std::isfinite(size.height))) return;
  std::lock_guard lock(sizeLock);
  screenSize = size;
}

void resetMainScreen() {
  mainScale().store(kDefaultScale);
  std::lock_guard lock(sizeLock);
  screenSize = kDefaultSize;
}

}  // namespace testing
}  // namespace ios
