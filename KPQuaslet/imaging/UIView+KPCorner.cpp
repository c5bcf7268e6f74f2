#include "KPQuaslet/imaging/UIView+KPCorner.h"

#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {

ios::UIImage kp_drawRectWithRoundedCorner(const ios::UIView& view, ios::CGFloat radius, ios::CGFloat borderWidth,
                                          const ios::UIColor& backgroundColor, const ios::UIColor& borderColor) {
  return imaging_internal::roundedRectImage(view.bounds().size, radius, borderWidth, backgroundColor, borderColor);
}

void kp_addCorner(ios::UIView& view, ios::CGFloat radius, ios::CGFloat borderWidth,
                  const ios::UIColor& backgroundColor, const ios::UIColor& borderColor) {
  ios::UIImage image = kp_drawRectWithRoundedCorner(view, radius, borderWidth, backgroundColor, borderColor);
  if (!image.cgImage()) return;
  // The image view takes the image's size at the origin.
  view.insertSubview(ios::UIImageView::make(image), 0);
}

void kp_addCorner(ios::UIView& view, ios::CGFloat radius) {
  kp_addCorner(view, radius, 1, ios::UIColor::clear(), ios::UIColor::black());
}

}  // namespace kp
