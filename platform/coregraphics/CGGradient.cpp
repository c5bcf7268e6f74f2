#include "platform/coregraphics/CGGradient.h"

namespace ios {

CGGradientRef CGGradient::make(CGColorSpace space, std::span<const CGFloat> components,
                               std::span<const CGFloat> locations, std::size_t count) {
  const std::size_t perColor = space.numberOfComponents() + 1;
  if (space.model() != CGColorSpaceModel::rgb && space.model() != CGColorSpaceModel::monochrome) return nullptr;
  const std::size_t n = count > 0 ? count : (locations.empty() ? components.size() / perColor : locations.size());
  if (n == 0 || components.size() < n * perColor || (!locations.empty() && locations.size() < n)) return nullptr;
  auto gradient = std::shared_ptr<CGGradient>(new CGGradient());
  for (std::size_t i = 0; i < n; ++i) {
    Stop stop{};
    stop.location = locations.empty() ? (n == 1 ? 0.0 : static_cast<CGFloat>(i) / static_cast<CGFloat>(n - 1))
                                      : locations[i];
    CGColor(space, components.subspan(i * perColor, perColor)).rgba(stop.red, stop.green, stop.blue, stop.alpha);
    gradient->stops_.push_back(stop);
  }
  return gradient;
}

CGGradientRef CGGradient::make(std::span<const CGColor> colors, std::span<const CGFloat> locations) {
  if (colors.empty() || (!locations.empty() && locations.size() != colors.size())) return nullptr;
  std::vector<CGFloat> components;
  for (const CGColor& color : colors) {
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!color.rgba(r, g, b, a)) return nullptr;
    components.insert(components.end(), {r, g, b, a});
  }
  return make(CGColorSpaceCreateDeviceRGB(), components, locations, colors.size());
}

}  // namespace ios
