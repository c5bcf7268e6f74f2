#include "platform/uikit/UIView.h"

#include <algorithm>

#include "platform/foundation/Precondition.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIView, "UIView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIWindow, "UIWindow", nullptr)

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
  if (!view) return;
  for (const UIView* ancestor = this; ancestor != nullptr; ancestor = ancestor->superview_.lock().get()) {
    KP_PRECONDITION(ancestor != view.get(), "a view cannot be added to itself or to one of its own subviews");
  }
  auto keep = view;  // removeFromSuperview() may drop the last other reference
  keep->removeFromSuperview();
  keep->superview_ = std::static_pointer_cast<UIView>(shared_from_this());
  subviews_.push_back(std::move(keep));
}

void UIView::removeFromSuperview() {
  auto parent = superview_.lock();
  superview_.reset();
  if (!parent) return;
  auto& siblings = parent->subviews_;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
                 siblings.end());
}

}  // namespace ios
