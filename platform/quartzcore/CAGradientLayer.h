// File: platform/quartzcore/CAGradientLayer.h
//
// A layer that fills its bounds with a linear gradient through its colours.
//
//   auto fade = ios::CAGradientLayer::make();
//   fade->setColors({ios::UIColor::red().cgColor(), ios::UIColor::blue().cgColor()});
//   fade->setStartPoint({0, 0.5});                        // left edge to right edge
//   fade->setEndPoint({1, 0.5});
//
// Fidelity: the platform's defaults are kept (no colours, no locations, start point
// (0.5, 0), end point (0.5, 1): top to bottom). Start and end points are in unit space
// over the bounds (0 to 1 across the width and the height, y down). Beyond either end the
// end colours continue, as on the platform. Without locations, with a number of
// locations that differs from the number of colours, or with one that is not a finite
// number, the colours are spread evenly from 0 to 1. One colour fills the bounds; none
// draws nothing; a colour without an RGB form (a pattern) makes the layer draw no
// gradient. The gradient lies under the layer's corner radius like its background.
// Changes of the gradient's own properties are not reported to view animations. Radial
// and conic gradients are absent, and so is the layer's `type`.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/quartzcore/CALayer.h"

namespace ios {

class CAGradientLayer : public CALayer {
  IOS_RUNTIME_CLASS(CAGradientLayer, CALayer);

 public:
  // The colours, from the start point to the end point; empty for none.
  [[nodiscard]] const std::vector<CGColor>& colors() const { return colors_; }
  void setColors(std::vector<CGColor> colors) { colors_ = std::move(colors); }
  // Where each colour sits between start (0) and end (1); nothing spreads them evenly.
  [[nodiscard]] const std::optional<std::vector<CGFloat>>& locations() const { return locations_; }
  void setLocations(std::optional<std::vector<CGFloat>> locations) { locations_ = std::move(locations); }
  [[nodiscard]] CGPoint startPoint() const { return startPoint_; }
  void setStartPoint(CGPoint point) { startPoint_ = point; }
  [[nodiscard]] CGPoint endPoint() const { return endPoint_; }
  void setEndPoint(CGPoint point) { endPoint_ = point; }

 protected:
  CAGradientLayer() = default;
  void drawOwnContent(CGContext& context) const override;

 private:
  std::vector<CGColor> colors_;
  std::optional<std::vector<CGFloat>> locations_;
  CGPoint startPoint_{0.5, 0};
  CGPoint endPoint_{0.5, 1};
};

}  // namespace ios
