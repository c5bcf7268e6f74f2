// File: platform/uikit/UINavigationBar.h
//
// The bar at the top of a navigation controller.
//
//   auto bar = nav->navigationBar();
//   bar->frame();   // (0, 20, screen width, 44)
//
// Fidelity: a plain view with the platform's bar height; what it draws is absent.
#pragma once

#include "platform/uikit/UIView.h"

namespace ios {

class UINavigationBar : public UIView {
  IOS_RUNTIME_CLASS(UINavigationBar, UIView);

 public:
  // The bar's height in points.
  static constexpr CGFloat barHeight = 44;

 protected:
  explicit UINavigationBar(CGRect frame = CGRect());
};

}  // namespace ios
