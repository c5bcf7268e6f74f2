#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIImageView, "UIImageView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UILabel, "UILabel", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIScrollView, "UIScrollView", nullptr)

UIImageView::UIImageView(CGRect frame) : UIView(frame) { setUserInteractionEnabled(false); }

UIImageView::UIImageView(const UIImage& image) : UIImageView(CGRect(CGPoint::zero, image.size())) {
  setImage(image);
}

void UIImageView::setImage(std::optional<UIImage> image) {
  layer()->setContents(image ? image->cgImage() : CGImageRef());
  image_ = std::move(image);
}

UILabel::UILabel(CGRect frame) : UIView(frame) { setUserInteractionEnabled(false); }

UIScrollView::UIScrollView(CGRect frame) : UIView(frame) {}

void UIScrollView::setContentOffset(CGPoint offset) {
  CGRect b = bounds();
  b.origin = offset;
  setBounds(b);
}

void UIScrollView::setContentOffset(CGPoint offset, bool animated) {
  if (!animated) {
    setContentOffset(offset);
    return;
  }
  UIView::animate(0.3, [this, offset] { setContentOffset(offset); });
}

}  // namespace ios
