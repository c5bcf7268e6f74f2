// File: platform/uikit/UIViewExtras.h
//
// Small view classes: the activity indicator, the blur overlay, the stack view and the
// dynamic animator with its behaviours.
//
//   auto spinner = ios::UIActivityIndicatorView::make(ios::UIActivityIndicatorViewStyle::gray);
//   spinner->startAnimating();
//   auto blur = ios::UIVisualEffectView::make(ios::UIBlurEffect(ios::UIBlurEffectStyle::dark));
//   auto row = ios::UIStackView::withArrangedSubviews({icon, title});
//
// Fidelity: the activity indicator is 20 × 20 points for the gray and white styles and
// 37 × 37 for whiteLarge, and shows or hides itself when it starts or stops (with
// hidesWhenStopped); nothing spins. A visual-effect view keeps its effect and draws
// nothing. A stack view keeps its arranged views (also its subviews, in order), axis,
// spacing, alignment and distribution, and lays nothing out. A dynamic animator keeps its
// behaviours in the order added; nothing moves.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIView.h"

namespace ios {

enum class UIActivityIndicatorViewStyle : std::int64_t { whiteLarge = 0, white = 1, gray = 2 };

class UIActivityIndicatorView : public UIView {
  IOS_RUNTIME_CLASS(UIActivityIndicatorView, UIView);

 public:
  [[nodiscard]] UIActivityIndicatorViewStyle style() const { return style_; }
  [[nodiscard]] bool isAnimating() const { return animating_; }
  // Starts; shows the indicator.
  void startAnimating();
  // Stops; hides the indicator when hidesWhenStopped.
  void stopAnimating();
  bool hidesWhenStopped = true;

 protected:
  explicit UIActivityIndicatorView(UIActivityIndicatorViewStyle style = UIActivityIndicatorViewStyle::white);

 private:
  UIActivityIndicatorViewStyle style_;
  bool animating_ = false;
};

enum class UIBlurEffectStyle : std::int64_t { extraLight = 0, light = 1, dark = 2, regular = 4, prominent = 5 };

// A blur effect of a style.
struct UIBlurEffect {
  explicit UIBlurEffect(UIBlurEffectStyle style_) : style(style_) {}
  UIBlurEffectStyle style;
  friend bool operator==(const UIBlurEffect&, const UIBlurEffect&) = default;
};

class UIVisualEffectView : public UIView {
  IOS_RUNTIME_CLASS(UIVisualEffectView, UIView);

 public:
  [[nodiscard]] const std::optional<UIBlurEffect>& effect() const { return effect_; }

 protected:
  explicit UIVisualEffectView(std::optional<UIBlurEffect> effect = std::nullopt) : effect_(effect) {}

 private:
  std::optional<UIBlurEffect> effect_;
};

enum class UILayoutConstraintAxis : std::int64_t { horizontal = 0, vertical = 1 };
enum class UIStackViewAlignment : std::int64_t {
  fill = 0,
  leading = 1,
  top = 1,
  firstBaseline = 2,
  center = 3,
  trailing = 4,
  bottom = 4,
  lastBaseline = 5,
};
enum class UIStackViewDistribution : std::int64_t {
  fill = 0,
  fillEqually = 1,
  fillProportionally = 2,
  equalSpacing = 3,
  equalCentering = 4,
};

class UIStackView : public UIView {
  IOS_RUNTIME_CLASS(UIStackView, UIView);

 public:
  // UIStackView(arrangedSubviews:): a stack of these views, in order.
  [[nodiscard]] static std::shared_ptr<UIStackView> withArrangedSubviews(
      const std::vector<std::shared_ptr<UIView>>& arrangedSubviews);

  [[nodiscard]] const std::vector<std::shared_ptr<UIView>>& arrangedSubviews() const { return arranged_; }
  // Appends `view` to the arranged views and the subviews.
  void addArrangedSubview(const std::shared_ptr<UIView>& view);
  UILayoutConstraintAxis axis = UILayoutConstraintAxis::horizontal;
  CGFloat spacing = 0;
  UIStackViewAlignment alignment = UIStackViewAlignment::fill;
  UIStackViewDistribution distribution = UIStackViewDistribution::fill;

 protected:
  explicit UIStackView(CGRect frame = CGRect()) : UIView(frame) {}

 private:
  std::vector<std::shared_ptr<UIView>> arranged_;
};

// A behaviour of a dynamic animator (gravity, collision, ...): here only its identity.
class UIDynamicBehavior : public NSObject {
  IOS_RUNTIME_CLASS(UIDynamicBehavior, NSObject);

 protected:
  UIDynamicBehavior() = default;
};

class UIDynamicAnimator : public NSObject {
  IOS_RUNTIME_CLASS(UIDynamicAnimator, NSObject);

 public:
  [[nodiscard]] const std::vector<std::shared_ptr<UIDynamicBehavior>>& behaviors() const { return behaviors_; }
  // Adds `behavior` after the others; one already added is not added again.
  void addBehavior(const std::shared_ptr<UIDynamicBehavior>& behavior);
  [[nodiscard]] std::shared_ptr<UIView> referenceView() const { return reference_.lock(); }

 protected:
  explicit UIDynamicAnimator(const std::shared_ptr<UIView>& referenceView = nullptr) : reference_(referenceView) {}

 private:
  std::weak_ptr<UIView> reference_;
  std::vector<std::shared_ptr<UIDynamicBehavior>> behaviors_;
};

}  // namespace ios
