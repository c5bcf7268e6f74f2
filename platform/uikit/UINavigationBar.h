// File: platform/uikit/UINavigationBar.h
//
// The bar at the top of a navigation controller, its items, and the appearance proxy
// that every bar's looks default to.
//
//   auto bar = nav->navigationBar();
//   bar->setBackgroundImage(ios::UIImage(), ios::UIBarMetrics::default_);
//   ios::UINavigationBar::appearance()->setTintColor(ios::UIColor::white());
//
// Fidelity: a view with the platform's bar height that keeps its looks (tint and bar
// tint colours, background and shadow images per metrics, translucency, title text
// attributes) and its items. Like the platform's, a bar is built from private views:
// a background view ("_UIBarBackground", the first subview) holding the 1-pixel
// hairline image view at the bar's bottom edge, and for each item an item view
// ("UINavigationItemView"); a back indicator ("_UINavigationBarBackIndicatorView")
// and a prompt ("UINavBarPrompt") are classes a test can add. The appearance proxy is
// one process-wide bar whose values are read when asked (a bar does not copy them).
// Drawing, layout of items and bar styles are absent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

// The bar metrics an image is set for.
enum class UIBarMetrics : std::int64_t { default_ = 0, compact = 1 };

// UINavigationItem
//
// What a bar shows for one controller: a title or title view and bar button items.
class UINavigationItem : public NSObject {
  IOS_RUNTIME_CLASS(UINavigationItem, NSObject);

 public:
  [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
  void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
  [[nodiscard]] std::shared_ptr<UIView> titleView() const { return titleView_; }
  void setTitleView(std::shared_ptr<UIView> view) { titleView_ = std::move(view); }
  // The item lists; nothing when never set.
  using Items = std::optional<std::vector<std::shared_ptr<UIBarButtonItem>>>;
  [[nodiscard]] const Items& leftBarButtonItems() const { return left_; }
  void setLeftBarButtonItems(Items items) { left_ = std::move(items); }
  [[nodiscard]] const Items& rightBarButtonItems() const { return right_; }
  void setRightBarButtonItems(Items items) { right_ = std::move(items); }

 protected:
  UINavigationItem() = default;
  explicit UINavigationItem(std::optional<std::string> title) : title_(std::move(title)) {}

 private:
  std::optional<std::string> title_;
  std::shared_ptr<UIView> titleView_;
  Items left_;
  Items right_;
};

// The bar's private element views.
class UINavigationItemView : public UIView {
  IOS_RUNTIME_CLASS(UINavigationItemView, UIView);

 protected:
  UINavigationItemView() = default;
};
class UINavBarPrompt : public UIView {
  IOS_RUNTIME_CLASS(UINavBarPrompt, UIView);

 protected:
  UINavBarPrompt() = default;
};
class UINavigationBarBackIndicatorView : public UIImageView {
  IOS_RUNTIME_CLASS(UINavigationBarBackIndicatorView, UIImageView);

 protected:
  UINavigationBarBackIndicatorView() = default;
};

class UINavigationBar : public UIView {
  IOS_RUNTIME_CLASS(UINavigationBar, UIView);

 public:
  // The bar's height in points.
  static constexpr CGFloat barHeight = 44;

  // A bar with its background view and hairline, and no items.
  [[nodiscard]] static std::shared_ptr<UINavigationBar> make() { return build(CGRect()); }
  template <class Frame>
    requires std::is_convertible_v<Frame, CGRect>
  [[nodiscard]] static std::shared_ptr<UINavigationBar> make(Frame&& frame) {
    return build(std::forward<Frame>(frame));
  }

  // The appearance proxy: the looks every bar has until it sets its own.
  [[nodiscard]] static std::shared_ptr<UINavigationBar> appearance();

  // The colour of the bar's items (the proxy's when unset).
  [[nodiscard]] std::optional<UIColor> tintColor() const;
  void setTintColor(std::optional<UIColor> color);
  // The colour of the bar's background (the proxy's when unset).
  [[nodiscard]] std::optional<UIColor> barTintColor() const;
  void setBarTintColor(std::optional<UIColor> color);
  // The background image for `metrics` (the proxy's when unset); none is the standard look.
  [[nodiscard]] std::optional<UIImage> backgroundImage(UIBarMetrics metrics) const;
  void setBackgroundImage(std::optional<UIImage> image, UIBarMetrics metrics);
  // The image of the bottom edge (the proxy's when unset); none is the standard hairline.
  [[nodiscard]] std::optional<UIImage> shadowImage() const;
  void setShadowImage(std::optional<UIImage> image);
  // Whether the bar lets content show through (true unless set).
  [[nodiscard]] bool isTranslucent() const;
  void setTranslucent(bool translucent);
  // The attributes of the title text (the proxy's when unset).
  [[nodiscard]] std::optional<NSAttributedString::Attributes> titleTextAttributes() const;
  void setTitleTextAttributes(std::optional<NSAttributedString::Attributes> attributes);

  // The items, bottom first; each gets an item view in the bar.
  [[nodiscard]] std::vector<std::shared_ptr<UINavigationItem>> items() const { return items_; }
  void pushItem(const std::shared_ptr<UINavigationItem>& item);

 protected:
  explicit UINavigationBar(CGRect frame = CGRect());

 private:
  template <class T>
  struct Setting {
    bool set = false;
    T value{};
  };
  static std::shared_ptr<UINavigationBar> build(CGRect frame);
  [[nodiscard]] const UINavigationBar* proxyFor(bool set) const;

  Setting<std::optional<UIColor>> tintColor_;
  Setting<std::optional<UIColor>> barTintColor_;
  Setting<std::optional<UIImage>> backgroundImage_[2];
  Setting<std::optional<UIImage>> shadowImage_;
  Setting<bool> translucent_;
  Setting<std::optional<NSAttributedString::Attributes>> titleTextAttributes_;
  std::vector<std::shared_ptr<UINavigationItem>> items_;
};

namespace testing {

// Puts the appearance proxy back to the standard looks.
void resetNavigationBarAppearance();

}  // namespace testing
}  // namespace ios
