#include "KPQuaslet/views/UIButton+KPExt.h"

#include <array>
#include <cmath>
#include <string>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIGraphics.h"

namespace kp {
namespace {

using ios::CGFloat;
using ios::CGSize;
using ios::UIButton;
using ios::UIControlState;
using ios::UIEdgeInsets;

// The states the all-states setters write, in the order they write them.
constexpr std::array<UIControlState, 4> kAllStates = {
    ios::UIControlStateOption::normal, ios::UIControlStateOption::selected, ios::UIControlStateOption::highlighted,
    ios::UIControlStateOption::disabled};

// The button's image and the size of its title in the title label's font; nothing when
// the button has no image or no title text.
struct ImageAndTitle {
  ios::UIImage image;
  CGSize titleSize;
};

std::optional<ImageAndTitle> imageAndTitle(UIButton& button) {
  const auto image = button.imageView()->image();
  const auto label = button.titleLabel();
  const auto& text = label->text();
  if (!image || !text) return std::nullopt;
  return ImageAndTitle{*image, ios::sizeWithFont(*text, label->font())};
}

}  // namespace

std::shared_ptr<UIButton> makeButton(CGFloat x, CGFloat y, CGFloat w, CGFloat h,
                                     const std::shared_ptr<ios::NSObject>& target, ios::SEL action) {
  auto button = UIButton::make(ios::CGRect(x, y, w, h));
  button->addTarget(target, action, ios::UIControlEventOption::touchUpInside);
  return button;
}

void setBackgroundColor(UIButton& button, const ios::UIColor& color, UIControlState state) {
  ios::UIGraphicsBeginImageContextWithOptions(CGSize(1, 1), false, 0);
  const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
  if (ios::UIGraphicsGetCurrentContext() != nullptr) {
    color.setFill();
    ios::UIRectFill(ios::CGRect(0, 0, 1, 1));
  }
  // Without a context of its own there is no image: the state's image becomes none.
  button.setBackgroundImage(ios::UIGraphicsGetImageFromCurrentImageContext(), state);
}

void setImageForAllStates(UIButton& button, const std::optional<ios::UIImage>& image) {
  for (UIControlState s : kAllStates) button.setImage(image, s);
}

void setTitleColorForAllStates(UIButton& button, const ios::UIColor& color) {
  for (UIControlState s : kAllStates) button.setTitleColor(color, s);
}

void setTitleForAllStates(UIButton& button, const std::string& title) {
  for (UIControlState s : kAllStates) button.setTitle(title, s);
}

void centerTextAndImage(UIButton& button, CGFloat spacing) {
  const CGFloat h = spacing / 2;
  button.setImageEdgeInsets(UIEdgeInsets{0, -h, 0, h});
  button.setTitleEdgeInsets(UIEdgeInsets{0, h, 0, -h});
  button.setContentEdgeInsets(UIEdgeInsets{0, h, 0, h});
}

void centerTextAndImage(UIButton& button, bool imageAboveText, CGFloat spacing) {
  if (!imageAboveText) {
    centerTextAndImage(button, spacing);
    return;
  }
  const auto parts = imageAndTitle(button);
  if (!parts) return;
  const CGSize image = parts->image.size();
  const CGSize title = parts->titleSize;
  button.setTitleEdgeInsets(UIEdgeInsets{0, -image.width, -(image.height + spacing), 0});
  button.setImageEdgeInsets(UIEdgeInsets{-(title.height + spacing), 0, 0, -title.width});
  const CGFloat e = std::fabs(title.height - image.height) / 2;
  button.setContentEdgeInsets(UIEdgeInsets{e, 0, e, 0});
}

void makeImageToTitle(UIButton& button, CGFloat spacing, std::optional<CGSize> imageSize, bool vertical,
                      UIButtonImageHorizontalAlignment align) {
  const auto parts = imageAndTitle(button);
  if (!parts) return;
  const CGSize realImage = parts->image.size();
  const CGSize image = imageSize.value_or(realImage);
  const CGFloat iw = image.width;
  const CGFloat ih = image.height;
  const CGFloat tw = parts->titleSize.width;
  const CGFloat th = parts->titleSize.height;
  const CGFloat s = spacing;

  if (vertical) {
    const CGSize frame = button.frame().size;
    const CGFloat W = frame.width;
    const CGFloat H = frame.height;
    button.contentHorizontalAlignment = ios::UIControlContentHorizontalAlignment::left;
    button.contentVerticalAlignment = ios::UIControlContentVerticalAlignment::top;
    const CGFloat a = (H - (th + ih)) / 2;
    const CGFloat imageLeft = (W - iw) / 2;
    button.setImageEdgeInsets(UIEdgeInsets{a - s, imageLeft, 0, 0});
    if (imageSize) {
      // The bottom and right insets make the image's box exactly the given size.
      button.setImageEdgeInsets(UIEdgeInsets{a - s, imageLeft, H - (a - s) - ih, W - imageLeft - iw});
    }
    // The title's left inset takes off the real image's width, also with a given size.
    button.setTitleEdgeInsets(UIEdgeInsets{a + ih + s, (W - tw) / 2 - realImage.width, 0, 0});
    return;
  }

  const CGFloat h = s / 2;
  if (align == UIButtonImageHorizontalAlignment::left) {
    button.setImageEdgeInsets(UIEdgeInsets{0, -h, 0, h});
    button.setTitleEdgeInsets(UIEdgeInsets{0, h, 0, -h});
  } else {
    button.setTitleEdgeInsets(UIEdgeInsets{0, -h - tw / 2, 0, h});
    button.setImageEdgeInsets(UIEdgeInsets{0, h + tw, 0, -h});
  }
  button.setContentEdgeInsets(UIEdgeInsets{0, h, 0, h});
}

std::string ios_describe(UIButtonImageHorizontalAlignment value) {
  switch (value) {
    case UIButtonImageHorizontalAlignment::left: return "left";
    case UIButtonImageHorizontalAlignment::right: return "right";
  }
  notACase("UIButtonImageHorizontalAlignment", static_cast<std::int64_t>(value));
}

}  // namespace kp
