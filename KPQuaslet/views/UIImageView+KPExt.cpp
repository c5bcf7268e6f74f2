#include "KPQuaslet/views/UIImageView+KPExt.h"

#include "platform/foundation/NSNumberObject.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

namespace kp {
namespace {

using ios::UIImageView;

// Keys of the view's associated state; only their addresses matter.
const char activityIndicatorKey = 0;
const char showActivityIndicatorWhenLoadingKey = 0;

}  // namespace

bool kp_showActivityIndicatorWhenLoading(const UIImageView& view) {
  const auto box = ios::associatedObject<ios::NSNumberObject>(&view, &showActivityIndicatorWhenLoadingKey);
  return box != nullptr && box->number().boolValue();
}

std::shared_ptr<ios::UIActivityIndicatorView> activityIndicator(const UIImageView& view) {
  return ios::associatedObject<ios::UIActivityIndicatorView>(&view, &activityIndicatorKey);
}

void setKp_showActivityIndicatorWhenLoading(UIImageView& view, bool show) {
  if (show == kp_showActivityIndicatorWhenLoading(view)) return;
  if (show) {
    auto indicator = ios::UIActivityIndicatorView::make(ios::UIActivityIndicatorViewStyle::gray);
    const ios::CGRect b = view.bounds();
    indicator->setCenter(ios::CGPoint(b.midX(), b.midY()));
    namespace mask = ios::UIViewAutoresizingOption;
    indicator->setAutoresizingMask(mask::flexibleLeftMargin | mask::flexibleRightMargin | mask::flexibleTopMargin |
                                   mask::flexibleBottomMargin);
    indicator->setHidden(true);
    indicator->hidesWhenStopped = true;
    view.addSubview(indicator);
    ios::objc_setAssociatedObject(&view, &activityIndicatorKey, indicator, ios::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  } else {
    if (auto indicator = activityIndicator(view)) indicator->removeFromSuperview();
    ios::objc_setAssociatedObject(&view, &activityIndicatorKey, nullptr, ios::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  }
  ios::objc_setAssociatedObject(&view, &showActivityIndicatorWhenLoadingKey, ios::NSNumberObject::make(show),
                                ios::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void setImage(UIImageView& view, const std::optional<ios::UIImage>& image, bool animated, double animationDuration) {
  if (!animated) {
    view.setImage(image);
    return;
  }
  namespace option = ios::UIViewAnimationOption;
  // The animations hold the image view itself, not a reference that a later run could outlive.
  auto shared = std::static_pointer_cast<UIImageView>(view.shared_from_this());
  ios::UIView::transition(shared, animationDuration,
                          option::transitionCrossDissolve | option::beginFromCurrentState |
                              option::allowUserInteraction,
                          [shared, image] { shared->setImage(image); });
}

void blur(UIImageView& view, ios::UIBlurEffectStyle style) {
  auto overlay = ios::UIVisualEffectView::make(ios::UIBlurEffect(style));
  overlay->setFrame(view.bounds());
  overlay->setAutoresizingMask(ios::UIViewAutoresizingOption::flexibleWidth |
                               ios::UIViewAutoresizingOption::flexibleHeight);
  view.addSubview(overlay);
  view.setClipsToBounds(true);
}

std::shared_ptr<UIImageView> blurred(UIImageView& view, ios::UIBlurEffectStyle style) {
  blur(view, style);
  return std::static_pointer_cast<UIImageView>(view.shared_from_this());
}

bool isAtTop(const ios::UIScrollView& view) { return view.contentOffset().y == -view.contentInset().top; }

void scrollsToTop(ios::UIScrollView& view) { view.setContentOffset(ios::CGPoint(0, -view.contentInset().top), true); }

std::optional<ios::UIImage> capture(const ios::UIWindow& window) {
  ios::UIGraphicsBeginImageContextWithOptions(window.frame().size, window.isOpaque(), ios::UIScreen::main().scale());
  const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
  // A window the platform cannot draw gives no context and no image.
  const auto context = ios::UIGraphicsGetCurrentContext();
  if (!context) return std::nullopt;
  window.layer()->render(context);
  return ios::UIGraphicsGetImageFromCurrentImageContext();
}

std::shared_ptr<ios::UIStackView> makeStackView(const std::vector<std::shared_ptr<ios::UIView>>& arrangedSubviews,
                                                ios::UILayoutConstraintAxis axis, ios::CGFloat spacing,
                                                ios::UIStackViewAlignment alignment,
                                                ios::UIStackViewDistribution distribution) {
  auto stack = ios::UIStackView::withArrangedSubviews(arrangedSubviews);
  stack->axis = axis;
  stack->spacing = spacing;
  stack->alignment = alignment;
  stack->distribution = distribution;
  return stack;
}

void addBehaviors(ios::UIDynamicAnimator& animator,
                  const std::vector<std::shared_ptr<ios::UIDynamicBehavior>>& behaviors) {
  for (const auto& behavior : behaviors) animator.addBehavior(behavior);
}

}  // namespace kp
