#include "KPQuaslet/imaging/RoundedCorners.h"

#include <algorithm>
#include <cmath>

#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "platform/uikit/UIBezierPath.h"

namespace kp {

using ios::CGFloat;
using ios::CGSize;

ios::UIImage kp_drawRectWithRoundedCorner(const ios::UIImage& image, CGFloat radius, CGSize size) {
  imaging_internal::ImageContext context(size, false, 0);
  if (!context) return ios::UIImage();
  const ios::CGRect rect{{0, 0}, size};
  ios::UIBezierPath::make(rect, ios::UIRectCorner::allCorners, {radius, radius})->addClip();
  image.draw(rect);
  return context.image().value_or(ios::UIImage());
}

namespace imaging_internal {

CGFloat snappedWidth(CGFloat width) {
  if (!(width >= 2) || !std::isfinite(width)) return width;
  const CGFloat whole = std::floor(width);
  return width - whole < 0.5 ? whole : whole + 1;
}

ios::CGMutablePath roundedRectPath(CGSize size, CGFloat radius, CGFloat borderWidth) {
  const CGFloat w = size.width, h = size.height, half = borderWidth / 2;
  // A larger radius would put the tangent points beyond the edges and fold the path.
  const CGFloat fits = std::max<CGFloat>(0, std::min(w, h) / 2 - half);
  const CGFloat r = std::clamp<CGFloat>(std::isfinite(radius) ? radius : 0, 0, fits);
  ios::CGMutablePath path;
  path.move({w - half, r + half});
  path.addArc({w - half, h - half}, {w - r - half, h - half}, r);
  path.addArc({half, h - half}, {half, h - r - half}, r);
  path.addArc({half, half}, {w - half, half}, r);
  path.addArc({w - half, half}, {w - half, r + half}, r);
  return path;
}

ios::UIImage roundedRectImage(CGSize viewSize, CGFloat radius, CGFloat borderWidth,
                              const ios::UIColor& backgroundColor, const ios::UIColor& borderColor) {
  const CGSize size{snappedWidth(viewSize.width), viewSize.height};
  ImageContext context(size, false, 0);
  if (!context) return ios::UIImage();
  context->setLineWidth(borderWidth);
  context->setStrokeColor(borderColor.cgColor());
  context->setFillColor(backgroundColor.cgColor());
  context->addPath(roundedRectPath(size, radius, borderWidth));
  context->drawPath(ios::CGPathDrawingMode::fillStroke);
  return context.image().value_or(ios::UIImage());
}

}  // namespace imaging_internal
}  // namespace kp
