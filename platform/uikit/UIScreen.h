// File: platform/uikit/UIScreen.h
//
// The main screen's scale (pixels a point), which image contexts of scale 0 use.
//
//   ios::UIScreen::main().scale();                           // 2 unless a test set it
//   ios::testing::setMainScreenScale(3);
//
// Fidelity: only the scale is kept; it is readable from any thread. Bounds, modes and
// other screens are absent.
#pragma once

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

class UIScreen {
 public:
  // The main screen.
  [[nodiscard]] static UIScreen& main();

  // Pixels a point (2 by default).
  [[nodiscard]] CGFloat scale() const;

 private:
  UIScreen() = default;
};

namespace testing {

// Sets the main screen's scale (a positive finite value; others are ignored).
void setMainScreenScale(CGFloat scale);
// Puts the scale back to 2.
void resetMainScreen();

}  // namespace testing
}  // namespace ios
