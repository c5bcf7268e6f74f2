#include "platform/uikit/UIToolbar.h"

#include "platform/uikit/UIScreen.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIToolbar, "UIToolbar", nullptr)

void UIToolbar::setItems(Items items, bool /*animated*/) { items_ = std::move(items); }

CGSize UIToolbar::sizeThatFits(CGSize size) const {
  const CGFloat width = size.width > 0 ? size.width : UIScreen::main().bounds().size.width;
  return CGSize(width, barHeight);
}

void UIToolbar::sizeToFit() {
  const CGRect f = frame();
  setFrame(CGRect(f.origin, sizeThatFits(f.size)));
}

}  // namespace ios
