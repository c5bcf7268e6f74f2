#include "KPQuaslet/imaging/Array+KPGradient.h"

namespace kp {

std::shared_ptr<ios::CAGradientLayer> gradient(const std::vector<ios::UIColor>& colors,
                                               const GradientLayerTransform& transform) {
  auto layer = ios::CAGradientLayer::make();
  std::vector<ios::CGColor> cgColors;
  cgColors.reserve(colors.size());
  for (const ios::UIColor& color : colors) cgColors.push_back(color.cgColor());
  layer->setColors(std::move(cgColors));
  if (!transform) return layer;
  return transform(layer);
}

}  // namespace kp
