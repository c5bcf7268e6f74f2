#include "platform/uikit/UIViewSubclasses.h"

#include <cmath>
#include <limits>

#include "platform/uikit/internal/TextEngine.h"
#include "platform/uikit/internal/TextLayer.h"

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

UILabel::UILabel(CGRect frame) : UIView(frame, uikit_internal::makeTextLayer()) {
  setUserInteractionEnabled(false);
  uikit_internal::setTextDrawer(*layer(), [this](cairo_t* cr, CGRect bounds) {
    if (!attributedText_) return;
    text_internal::draw(cr, *attributedText_, font_, textColor_,
                        text_internal::TextBox{bounds.size.width, numberOfLines, lineBreakMode, textAlignment}, bounds,
                        text_internal::VerticalPlacement::center);
  });
}

UILabel::~UILabel() { uikit_internal::setTextDrawer(*layer(), {}); }

void UILabel::setText(std::optional<std::string> text) {
  attributedText_ = text ? std::optional<NSAttributedString>(NSAttributedString(
                               *text, {{std::string(NSAttributedString::Key::font), font_},
                                       {std::string(NSAttributedString::Key::foregroundColor), textColor_}}))
                         : std::nullopt;
  text_ = std::move(text);
}

void UILabel::setAttributedText(std::optional<NSAttributedString> text) {
  text_ = text ? std::optional<std::string>(text->string()) : std::nullopt;
  attributedText_ = std::move(text);
}

template <class Value>
void UILabel::restyle(std::string_view key, const Value& value) {
  if (!attributedText_ || attributedText_->length() == 0) return;
  NSMutableAttributedString styled = attributedText_->mutableCopy();
  styled.addAttribute(key, value, NSRange{0, styled.length()});
  attributedText_ = std::move(styled);
}

void UILabel::setTextColor(const UIColor& color) {
  textColor_ = color;
  restyle(NSAttributedString::Key::foregroundColor, color);
}

void UILabel::setFont(const UIFont& font) {
  font_ = font;
  restyle(NSAttributedString::Key::font, font);
}

CGSize UILabel::sizeThatFits(CGSize size) const {
  if (!attributedText_ || attributedText_->length() == 0) return CGSize();
  const CGFloat width = numberOfLines == 1 ? std::numeric_limits<CGFloat>::infinity() : size.width;
  const CGSize needed = text_internal::measure(
      *attributedText_, font_, text_internal::TextBox{width, numberOfLines, lineBreakMode, textAlignment});
  return CGSize(std::ceil(needed.width), std::ceil(needed.height));
}

void UILabel::sizeToFit() {
  CGRect f = frame();
  f.size = sizeThatFits(CGSize(bounds().size.width, std::numeric_limits<CGFloat>::max()));
  setFrame(f);
}

UIScrollView::UIScrollView(CGRect frame) : UIView(frame) {}

UIScrollView::UIScrollView(CGRect frame, std::shared_ptr<CALayer> layer) : UIView(frame, std::move(layer)) {}

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
