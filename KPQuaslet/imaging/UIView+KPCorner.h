// File: KPQuaslet/imaging/UIView+KPCorner.h
//
// Rounded corners for views drawn into a bitmap instead of masking the layer: the view
// gets an image view behind its content that shows a filled and bordered rounded
// rectangle of its size.
//
//   auto card = ios::UIView::make(ios::CGRect(0, 0, 100, 40));
//   kp::kp_addCorner(*card, 8);          // one-point black border, clear inside
//   kp::kp_addCorner(*card, 8, 2, ios::UIColor::white(), ios::UIColor::gray());
//
// The image is drawn at the main screen's scale when the call is made; it does not follow
// later changes of the view's size. Neither a layer mask nor a layer corner radius is
// used. These calls change views and belong on the main thread.
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

namespace kp {

// kp_drawRectWithRoundedCorner()
//
// An image of the view's bounds size (its width snapped to whole points: the fraction
// dropped below one half, rounded up from one half, widths under 2 points as they are)
// at the main screen's scale, showing a rectangle filled with `backgroundColor` and
// stroked with `borderColor` at `borderWidth`. The stroke lies wholly inside the image
// (the outline runs half the border width inside every edge) and its corners are
// rounded by `radius`, limited to what fits inside that outline. The empty UIImage() for
// a view without area. The view is not changed.
[[nodiscard]] ios::UIImage kp_drawRectWithRoundedCorner(const ios::UIView& view, ios::CGFloat radius,
                                                        ios::CGFloat borderWidth, const ios::UIColor& backgroundColor,
                                                        const ios::UIColor& borderColor);

// kp_addCorner()
//
// Draws kp_drawRectWithRoundedCorner() for the view and inserts a new image view showing
// it (its frame the image's size at the origin) at index 0 of the view's subviews,
// behind all others. Each call adds one more image view. A view without area gets none,
// since there is nothing to draw.
void kp_addCorner(ios::UIView& view, ios::CGFloat radius, ios::CGFloat borderWidth,
                  const ios::UIColor& backgroundColor, const ios::UIColor& borderColor);

// kp_addCorner() with a one-point black border and a clear inside.
void kp_addCorner(ios::UIView& view, ios::CGFloat radius);

}  // namespace kp
