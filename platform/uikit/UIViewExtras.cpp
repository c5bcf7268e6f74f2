#include "platform/uikit/UIViewExtras.h"

#include <algorithm>

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIActivityIndicatorView, "UIActivityIndicatorView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIVisualEffectView, "UIVisualEffectView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIStackView, "UIStackView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIDynamicBehavior, "UIDynamicBehavior", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIDynamicAnimator, "UIDynamicAnimator", nullptr)

UIActivityIndicatorView::UIActivityIndicatorView(UIActivityIndicatorViewStyle style)
    : UIView(style == UIActivityIndicatorViewStyle::whiteLarge ? CGRect(0, 0, 37, 37) : CGRect(0, 0, 20, 20)),
      style_(style) {
  setHidden(true);
}

void UIActivityIndicatorView::startAnimating() {
  animating_ = true;
  setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
  animating_ = false;
  if (hidesWhenStopped) setHidden(true);
}

std::shared_ptr<UIStackView> UIStackView::withArrangedSubviews(
    const std::vector<std::shared_ptr<UIView>>& arrangedSubviews) {
  auto stack = make();
  for (const auto& view : arrangedSubviews) stack->addArrangedSubview(view);
  return stack;
}

void UIStackView::addArrangedSubview(const std::shared_ptr<UIView>& view) {
  if (view == nullptr) return;
  std::erase(arranged_, view);
  arranged_.push_back(view);
  addSubview(view);
}

void UIDynamicAnimator::addBehavior(const std::shared_ptr<UIDynamicBehavior>& behavior) {
  if (behavior == nullptr || std::find(behaviors_.begin(), behaviors_.end(), behavior) != behaviors_.end()) return;
  behaviors_.push_back(behavior);
}

}  // namespace ios
