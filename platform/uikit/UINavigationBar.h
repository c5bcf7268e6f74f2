// File: platform/uikit/UINavigationBar.h
//
// The bar at the top of a navigation controller.
//
//   auto bar = nav->navigationBar();
//   bar->frame();   // (0, 20, screen width, 44)
//
// Fidelity: a view with the platform's bar height that keeps its colours (tint for the
// items, bar tint for the background); what it draws is absent.
#pragma once

#include <optional>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

namespace ios {

class UINavigationBar : public UIView {
  IOS_RUNTIME_CLASS(UINavigationBar, UIView);

 public:
  // The bar's height in points.
  static constexpr CGFloat barHeight = 44;

  // The colour of the bar's items, or none.
  [[nodiscard]] const std::optional<UIColor>& tintColor() const { return tintColor_; }
  void setTintColor(std::optional<UIColor> color) { tintColor_ = std::move(color); }
  // The colour of the bar's background, or none.
  [[nodiscard]] const std::optional<UIColor>& barTintColor() const { return barTintColor_; }
  void setBarTintColor(std::optional<UIColor> color) { barTintColor_ = std::move(color); }

 protected:
  explicit UINavigationBar(CGRect frame = CGRect());

 private:
  std::optional<UIColor> tintColor_;
  std::optional<UIColor> barTintColor_;
};

}  // namespace ios
