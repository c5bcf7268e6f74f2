#include "KPQuaslet/views/UILabel+KPExt.h"

#include <limits>

#include "platform/uikit/UIView.h"

namespace kp {
namespace {

using ios::CGFloat;
using ios::UILabel;

constexpr CGFloat kUnlimited = std::numeric_limits<CGFloat>::max();

ios::UIFont withTraits(const ios::UIFont& font, std::uint32_t traits) {
  const auto descriptor = font.fontDescriptor().withSymbolicTraits(traits);
  // A family without the face keeps the font as it is rather than failing.
  if (!descriptor) return font;
  return ios::UIFont::fontWithDescriptor(*descriptor, 0);
}

}  // namespace

std::shared_ptr<UILabel> makeLabel(const std::optional<std::string>& text) {
  auto label = UILabel::make();
  label->setText(text);
  return label;
}

std::shared_ptr<UILabel> makeLabel(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  auto label = UILabel::make(ios::CGRect(x, y, w, h));
  label->setBackgroundColor(ios::UIColor::clear());
  label->setClipsToBounds(true);
  label->textAlignment = ios::NSTextAlignment::left;
  label->setUserInteractionEnabled(true);
  label->numberOfLines = 1;
  return label;
}

std::shared_ptr<UILabel> makeLabel(CGFloat x, CGFloat y, CGFloat w, CGFloat h, CGFloat fontSize) {
  auto label = makeLabel(x, y, w, h);
  label->setFont(label->font().withSize(fontSize));
  return label;
}

CGFloat requiredHeight(const UILabel& label) {
  auto probe = UILabel::make(ios::CGRect(0, 0, label.frame().size.width, kUnlimited));
  probe->numberOfLines = 0;
  probe->lineBreakMode = ios::NSLineBreakMode::byWordWrapping;
  probe->setFont(label.font());
  probe->setText(label.text());
  probe->setAttributedText(label.attributedText());
  probe->sizeToFit();
  return probe->frame().size.height;
}

ios::CGSize getEstimatedSize(const UILabel& label, CGFloat width, CGFloat height) {
  return label.sizeThatFits(ios::CGSize(width, height));
}

CGFloat getEstimatedHeight(const UILabel& label) {
  return label.sizeThatFits(ios::CGSize(label.frame().size.width, kUnlimited)).height;
}

CGFloat getEstimatedWidth(const UILabel& label) {
  return label.sizeThatFits(ios::CGSize(kUnlimited, label.frame().size.height)).width;
}

void fitHeight(UILabel& label) {
  ios::CGRect f = label.frame();
  f.size.height = getEstimatedHeight(label);
  label.setFrame(f);
}

void fitWidth(UILabel& label) { fitWidth(label, 0); }

void fitWidth(UILabel& label, CGFloat padding) {
  ios::CGRect f = label.frame();
  f.size.width = getEstimatedWidth(label) + padding;
  label.setFrame(f);
}

void fitSize(UILabel& label) {
  fitWidth(label);
  fitHeight(label);
  label.sizeToFit();
}

void setText(UILabel& label, const std::optional<std::string>& text, bool animated, std::optional<double> duration) {
  if (!animated) {
    label.setText(text);
    return;
  }
  // The animations hold the label itself, not a reference that a later run could outlive.
  auto shared = std::static_pointer_cast<UILabel>(label.shared_from_this());
  ios::UIView::transition(shared, duration.value_or(0.3), ios::UIViewAnimationOption::transitionCrossDissolve,
                          [shared, text] { shared->setText(text); });
}

ios::UIFont bold(const ios::UIFont& font) { return withTraits(font, ios::UIFont::traitBold); }
ios::UIFont italic(const ios::UIFont& font) { return withTraits(font, ios::UIFont::traitItalic); }

ios::UIFont monospaced(const ios::UIFont& font) {
  const auto descriptor = font.fontDescriptor().addingFeatureSettings({ios::UIFontFeatureSetting{6, 0}});
  return ios::UIFont::fontWithDescriptor(descriptor, 0);
}

}  // namespace kp
