// File: platform/uikit/UIToolbar.h
//
// A bar of bar button items, as shown above the keyboard or at the bottom of a screen.
//
//   auto bar = ios::UIToolbar::make();
//   bar->setItems(std::vector{space, done}, false);
//   bar->sizeToFit();   // 44 points high, as wide as the screen
//
// Fidelity: the style, the items in order and the bar's size. A toolbar fits to the
// platform's height of 44 points and keeps its width, or takes the main screen's when it
// has none. Item layout, drawing, tint and appearance are absent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIView.h"

namespace ios {

// UIBarStyle raw values.
enum class UIBarStyle : std::int64_t { default_ = 0, black = 1, blackTranslucent = 2 };

class UIToolbar : public UIView {
  IOS_RUNTIME_CLASS(UIToolbar, UIView);

 public:
  static constexpr CGFloat barHeight = 44;

  [[nodiscard]] UIBarStyle barStyle() const { return barStyle_; }
  void setBarStyle(UIBarStyle style) { barStyle_ = style; }

  using Items = std::optional<std::vector<std::shared_ptr<UIBarButtonItem>>>;
  // The items, left to right; nothing until set.
  [[nodiscard]] const Items& items() const { return items_; }
  // Sets the items (`animated` changes nothing here).
  void setItems(Items items, bool animated);

  // The toolbar's size for `size`: its width (the main screen's when zero) and the bar
  // height.
  [[nodiscard]] CGSize sizeThatFits(CGSize size) const;
  // Resizes the toolbar to sizeThatFits(its size), origin kept.
  void sizeToFit();

 protected:
  explicit UIToolbar(CGRect frame = CGRect()) : UIView(frame) {}

 private:
  UIBarStyle barStyle_ = UIBarStyle::default_;
  Items items_;
};

}  // namespace ios
