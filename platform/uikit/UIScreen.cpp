#include "platform/uikit/UIScreen.h"

#include <atomic>
#include <cmath>

namespace ios {
namespace {

constexpr CGFloat kDefaultScale = 2.0;

std::atomic<CGFloat>& mainScale() {
  static std::atomic<CGFloat> scale{kDefaultScale};
  return scale;
}

}  // namespace

UIScreen& UIScreen::main() {
  static UIScreen screen;
  return screen;
}

CGFloat UIScreen::scale() const { return mainScale().load(); }

namespace testing {

void setMainScreenScale(CGFloat scale) {
  if (scale > 0 && std::isfinite(scale)) mainScale().store(scale);
}

void resetMainScreen() { mainScale().store(kDefaultScale); }

}  // namespace testing
}  // namespace ios
