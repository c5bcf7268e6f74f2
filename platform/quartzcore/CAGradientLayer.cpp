#include "platform/quartzcore/CAGradientLayer.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "platform/coregraphics/CGGradient.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/foundation/ScopeExit.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(CAGradientLayer, "CAGradientLayer", nullptr)

namespace {

// The layer's bounds with its corners rounded by `radius` (limited to half the shorter
// side), as the background is drawn.
CGMutablePath roundedBounds(CGRect b, CGFloat radius) {
  CGMutablePath path;
  const CGFloat r = std::clamp<CGFloat>(std::isfinite(radius) ? radius : 0, 0,
                                        std::min(b.size.width, b.size.height) / 2);
  const CGFloat x0 = b.origin.x, y0 = b.origin.y, x1 = x0 + b.size.width, y1 = y0 + b.size.height;
  if (r <= 0) {
    path.addRect(b);
    return path;
  }
  path.move({x0 + r, y0});
  path.addArc({x1, y0}, {x1, y1}, r);
  path.addArc({x1, y1}, {x0, y1}, r);
  path.addArc({x0, y1}, {x0, y0}, r);
  path.addArc({x0, y0}, {x1, y0}, r);
  path.closeSubpath();
  return path;
}

}  // namespace

void CAGradientLayer::drawOwnContent(CGContext& context) const {
  const CGRect b = bounds();
  if (colors_.empty() || !(b.size.width > 0) || !(b.size.height > 0)) return;
  context.saveGState();
  const ScopeExit restore([&context] { context.restoreGState(); });
  context.beginPath();
  context.addPath(roundedBounds(b, cornerRadius()));
  context.clip();
  if (colors_.size() == 1) {
    context.setFillColor(colors_.front());
    context.fill(b);
  } else {
    // Locations that do not pair one to one with the colours, or that are not numbers,
    // are set aside and the colours spread evenly.
    std::span<const CGFloat> stops;
    if (locations_ && locations_->size() == colors_.size() &&
        std::all_of(locations_->begin(), locations_->end(), [](CGFloat l) { return std::isfinite(l); })) {
      stops = *locations_;
    }
    if (const CGGradientRef gradient = CGGradient::make(colors_, stops)) {
      const auto at = [&](CGPoint unit) {
        return CGPoint{b.origin.x + unit.x * b.size.width, b.origin.y + unit.y * b.size.height};
      };
      context.drawLinearGradient(*gradient, at(startPoint_), at(endPoint_),
                                 kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    }
  }
}

}  // namespace ios
