// File: KPQuaslet/imaging/internal/ViewImages.h
//
// The images that views and buttons show: the bordered rounded rectangle drawn behind a
// view's content instead of a layer corner radius (its path of four tangent arcs with the
// stroke kept inside the edges, its image, and the snapping of the view's width to whole
// points), and the small gradient or solid image a button stretches as its background.
//
//   ios::UIImage frame = kp::imaging_internal::roundedRectImage({100, 40}, 8, 1,
//                                                               ios::UIColor::clear(), ios::UIColor::black());
#pragma once

#include <optional>
#include <vector>

#include "KPQuaslet/imaging/Gradient.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp::imaging_internal {

// The width an image drawn for a view of `width` points gets: below 2 points as it is;
// otherwise whole points, the fraction dropped when below one half and rounded up from
// one half on.
[[nodiscard]] ios::CGFloat snappedWidth(ios::CGFloat width);

// The rounded-rectangle path for a `size` image, corner `radius` and border width `b`:
// it runs b/2 inside every edge, starts at (W - b/2, r + b/2) and turns through the
// bottom-right, bottom-left, top-left and top-right corners by tangent arcs, ending where
// it began (not closed). The radius is limited to what fits inside the path.
[[nodiscard]] ios::CGMutablePath roundedRectPath(ios::CGSize size, ios::CGFloat radius, ios::CGFloat borderWidth);

// The path filled with `backgroundColor` and stroked with `borderColor` at `borderWidth`
// in an image of (snappedWidth(width), height) points at the main screen's scale. The
// empty UIImage() when that size has no area.
[[nodiscard]] ios::UIImage roundedRectImage(ios::CGSize viewSize, ios::CGFloat radius, ios::CGFloat borderWidth,
                                            const ios::UIColor& backgroundColor, const ios::UIColor& borderColor);

// The background image for a button: with two or more colours the gradient image of
// 1 × 1 point in `direction`, with one the solid image of that colour and size, with none
// nothing (the state's background is removed). Nothing too when the image cannot be made.
[[nodiscard]] std::optional<ios::UIImage> gradientBackgroundImage(const std::vector<ios::UIColor>& colors,
                                                                  KPImageGradientDirection direction);

}  // namespace kp::imaging_internal
