// File: KPQuaslet/views/UIImageView+KPExt.h
//
// Image-view extras: an activity indicator for loading, an animated image change and a
// blur overlay; with the small conveniences of scroll views, windows, stack views and
// dynamic animators.
//
//   kp::setKp_showActivityIndicatorWhenLoading(*photo, true);   // adds a hidden spinner
//   kp::setImage(*photo, loaded, true, 0.25);                   // cross-dissolves
//   kp::blur(*photo, ios::UIBlurEffectStyle::light);
//   if (!kp::isAtTop(*list)) kp::scrollsToTop(*list);
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIViewExtras.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {

// kp_showActivityIndicatorWhenLoading() / setKp_showActivityIndicatorWhenLoading()
//
// Whether the view carries a loading indicator. Turning it on adds a gray activity
// indicator, hidden, centred in the view's bounds and keeping to the centre when the
// view resizes; turning it off removes it. Setting the current value does nothing. The
// library never starts the indicator: the caller does, through
// activityIndicator(view).
[[nodiscard]] bool kp_showActivityIndicatorWhenLoading(const ios::UIImageView& view);
void setKp_showActivityIndicatorWhenLoading(ios::UIImageView& view, bool show);

// The indicator added by setKp_showActivityIndicatorWhenLoading(), or null.
[[nodiscard]] std::shared_ptr<ios::UIActivityIndicatorView> activityIndicator(const ios::UIImageView& view);

// Sets the image; when `animated`, inside a cross-dissolve transition of
// `animationDuration` seconds that starts from the current state and allows
// interaction.
void setImage(ios::UIImageView& view, const std::optional<ios::UIImage>& image, bool animated,
              double animationDuration);

// Adds a blur overlay of `style` covering the view's bounds (and following its size),
// and clips the view to its bounds. Each call adds one more overlay.
void blur(ios::UIImageView& view, ios::UIBlurEffectStyle style);

// blur(), answering the view for chaining.
std::shared_ptr<ios::UIImageView> blurred(ios::UIImageView& view, ios::UIBlurEffectStyle style);

// Whether the content is scrolled exactly to its top (the offset is minus the top inset).
[[nodiscard]] bool isAtTop(const ios::UIScrollView& view);

// Scrolls, animated, to the top of the content at the left edge.
void scrollsToTop(ios::UIScrollView& view);

// An image of the window as shown, at the main screen's scale (opaque when the window
// is); nothing when the window is too small or too large to draw.
[[nodiscard]] std::optional<ios::UIImage> capture(const ios::UIWindow& window);

// A stack view of `arrangedSubviews` with the axis, spacing, alignment and
// distribution given.
[[nodiscard]] std::shared_ptr<ios::UIStackView> makeStackView(
    const std::vector<std::shared_ptr<ios::UIView>>& arrangedSubviews, ios::UILayoutConstraintAxis axis,
    ios::CGFloat spacing, ios::UIStackViewAlignment alignment, ios::UIStackViewDistribution distribution);

// Adds each behaviour to the animator, in order.
void addBehaviors(ios::UIDynamicAnimator& animator,
                  const std::vector<std::shared_ptr<ios::UIDynamicBehavior>>& behaviors);

}  // namespace kp
