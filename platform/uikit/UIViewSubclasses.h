// File: platform/uikit/UIViewSubclasses.h
//
// The small view classes: an image view, a label and a scroll view.
//
//   auto photo = ios::UIImageView::make(image);            // sized to the image
//   auto list = ios::UIScrollView::make(ios::CGRect(0, 0, 320, 480));
//   list->setContentOffset({0, 100}, false);               // bounds origin (0, 100)
//
// Fidelity: an image view shows its image as its layer's contents (stretched to the
// bounds: content modes are absent); image views and labels start with user
// interaction off, as on the platform. A label keeps its text and colour but draws no
// text. A scroll view's content offset is its bounds origin; setting it animated
// records a view animation of 0.3 s; the adjusted content inset is the content inset
// (no safe area). Scrolling physics, zooming and indicators are absent.
#pragma once

#include <optional>
#include <string>

#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

namespace ios {

class UIImageView : public UIView {
  IOS_RUNTIME_CLASS(UIImageView, UIView);

 public:
  [[nodiscard]] const std::optional<UIImage>& image() const { return image_; }
  // Sets the image and the layer's contents (its CGImage).
  void setImage(std::optional<UIImage> image);

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
  [[nodiscard]] const std::optional<std::string>& text() const { return text_; }
  void setText(std::optional<std::string> text) { text_ = std::move(text); }
  [[nodiscard]] const UIColor& textColor() const { return textColor_; }
  void setTextColor(const UIColor& color) { textColor_ = color; }
  std::int64_t numberOfLines = 1;

 protected:
  explicit UILabel(CGRect frame = CGRect());

 private:
  std::optional<std::string> text_;
  UIColor textColor_ = UIColor::black();
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

 private:
  CGSize contentSize_;
  UIEdgeInsets contentInset_;
};

}  // namespace ios
