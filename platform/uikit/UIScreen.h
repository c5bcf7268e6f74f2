// File: platform/uikit/UIScreen.h
//
// The main screen's scale (pixels a point), which image contexts of scale 0 use, and
// its bounds in points.
//
//   ios::UIScreen::main().scale();                           // 2 unless described otherwise
//   ios::UIScreen::main().bounds();                          // (0, 0, 375, 667)
//   ios::testing::setMainScreenScale(3);                     // tests only
//
// A host program describes its screen with ios::UIDevice::simulate() or the
// KP_DEVICE_SCREEN_* environment variables (UIDevice.h); the seams below are for tests.
//
// Fidelity: the scale and the bounds are kept; both are readable from any thread.
// Modes, the native bounds and other screens are absent.
#pragma once

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

class UIScreen {
 public:
  // The main screen.
  [[nodiscard]] static UIScreen& main();

  // Pixels a point (2 unless the device is described otherwise).
  [[nodiscard]] CGFloat scale() const;
  // The screen's rectangle in points (375 x 667 unless described otherwise).
  [[nodiscard]] CGRect bounds() const;

 private:
  UIScreen() = default;
};

namespace testing {

// Sets the main screen's scale (a positive finite value; others are ignored).
void setMainScreenScale(CGFloat scale);
// Sets the main screen's size in points (finite, not negative; others are ignored).
void setMainScreenSize(CGSize size);
// Puts the scale back to 2 and the size back to 375 x 667 (not to the described device).
void resetMainScreen();

}  // namespace testing
}  // namespace ios
