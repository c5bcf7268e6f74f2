// File: platform/uikit/UIViewSubclasses.h
//
// The small view classes: an image view, a label and a scroll view.
//
//   auto photo = ios::UIImageView::make(image);            // sized to the image
//   auto list = ios::UIScrollView::make(ios::CGRect(0, 0, 320, 480));
//   list->setContentOffset({0, 100}, false);               // bounds origin (0, 100)
//
// Fidelity: an image view shows its image as its layer's contents (stretched to the
// bounds: the content mode is stored, not applied); image views and labels start with
// user interaction off, as on the platform. A label draws its attributed text when its
// layer is rendered (NSStringDrawing.h's fonts and line breaking), centred vertically in
// its bounds, with its alignment, number of lines and line-break mode; runs keep their
// own font, colour, kerning, underline and strikethrough. A scroll view's content offset is its bounds origin; setting it animated
// records a view animation of 0.3 s; the adjusted content inset is the content inset
// (no safe area). Scrolling physics, zooming and indicators are absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/NSParagraphStyle.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

namespace ios {

// UIView.ContentMode raw values.
enum class UIViewContentMode : std::int64_t {
  scaleToFill = 0,
  scaleAspectFit = 1,
  scaleAspectFill = 2,
  redraw = 3,
  center = 4,
  top = 5,
  bottom = 6,
  left = 7,
  right = 8,
};

class UIImageView : public UIView {
  IOS_RUNTIME_CLASS(UIImageView, UIView);

 public:
  [[nodiscard]] const std::optional<UIImage>& image() const { return image_; }
  // Sets the image and the layer's contents (its CGImage).
  void setImage(std::optional<UIImage> image);
  UIViewContentMode contentMode = UIViewContentMode::scaleToFill;

 protected:
  explicit UIImageView(CGRect frame = CGRect());
  // An image view of the image's size in points.
  explicit UIImageView(const UIImage& image);

 private:
  std::optional<UIImage> image_;
};

class UILabel : public UIView {
  IOS_RUNTIME_CLASS(UILabel, UIView);

 public:
  ~UILabel() override;

  [[nodiscard]] const std::optional<std::string>& text() const { return text_; }
  // Sets the text; the attributed text becomes it in the label's font and text colour
  // (nil for nil).
  void setText(std::optional<std::string> text);
  [[nodiscard]] const std::optional<NSAttributedString>& attributedText() const { return attributedText_; }
  // Sets the attributed text; the text becomes its string (nil for nil).
  void setAttributedText(std::optional<NSAttributedString> text);
  // The text colour; setting it colours the whole attributed text, as the platform does.
  [[nodiscard]] const UIColor& textColor() const { return textColor_; }
  void setTextColor(const UIColor& color);
  // The font; the system font of 17 points until set. Setting it sets the font of the
  // whole attributed text, as the platform does, so a label measures its text in the
  // font set last, whether that was set before or after the text.
  [[nodiscard]] const UIFont& font() const { return font_; }
  void setFont(const UIFont& font);
  // Lines the text may take; 0 for any number.
  std::int64_t numberOfLines = 1;
  NSLineBreakMode lineBreakMode = NSLineBreakMode::byTruncatingTail;
  NSTextAlignment textAlignment = NSTextAlignment::natural;

  // The size the attributed text needs within `size`, measured as NSStringDrawing.h
  // measures (each run in its own font, the label's where it has none) and rounded up
  // to whole points: one line of its natural width for a one-line label, wrapped at
  // size.width into at most numberOfLines lines otherwise (a width that is not a
  // positive finite number does not wrap); (0, 0) without text.
  [[nodiscard]] CGSize sizeThatFits(CGSize size) const;
  // Resizes the label to sizeThatFits(its width, unlimited height), origin kept.
  void sizeToFit();

 protected:
  explicit UILabel(CGRect frame = CGRect());

 private:
  // Sets `key` to `value` over the whole attributed text.
  template <class Value>
  void restyle(std::string_view key, const Value& value);

  std::optional<std::string> text_;
  std::optional<NSAttributedString> attributedText_;
  UIColor textColor_ = UIColor::black();
  UIFont font_ = UIFont::systemFont(UIFont::labelFontSize());
};

class UIScrollView : public UIView {
  IOS_RUNTIME_CLASS(UIScrollView, UIView);

 public:
  // The point of the content at the top-left corner: the bounds origin.
  [[nodiscard]] CGPoint contentOffset() const { return bounds().origin; }
  void setContentOffset(CGPoint offset);
  void setContentOffset(CGPoint offset, bool animated);
  [[nodiscard]] CGSize contentSize() const { return contentSize_; }
  void setContentSize(CGSize size) { contentSize_ = size; }
  [[nodiscard]] UIEdgeInsets contentInset() const { return contentInset_; }
  void setContentInset(UIEdgeInsets inset) { contentInset_ = inset; }
  [[nodiscard]] UIEdgeInsets adjustedContentInset() const { return contentInset_; }

 protected:
  explicit UIScrollView(CGRect frame = CGRect());
  // For scroll views backed by another kind of layer.
  UIScrollView(CGRect frame, std::shared_ptr<CALayer> layer);

 private:
  CGSize contentSize_;
  UIEdgeInsets contentInset_;
};

}  // namespace ios
