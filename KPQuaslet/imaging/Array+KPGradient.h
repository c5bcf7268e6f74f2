// File: KPQuaslet/imaging/Array+KPGradient.h
//
// A gradient layer made from a list of colours.
//
//   auto fade = kp::gradient({ios::UIColor::red(), ios::UIColor::blue()});
//   auto sized = kp::gradient(colors, [](std::shared_ptr<ios::CAGradientLayer>& layer) {
//     layer->setFrame({0, 0, 320, 44});
//     return layer;
//   });
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/quartzcore/CAGradientLayer.h"
#include "platform/uikit/UIColor.h"

namespace kp {

// The transform gradient() hands its new layer to: it may change the layer in place or
// replace it, and answers the layer to use.
using GradientLayerTransform =
    std::function<std::shared_ptr<ios::CAGradientLayer>(std::shared_ptr<ios::CAGradientLayer>&)>;

// gradient()
//
// A new CAGradientLayer whose colours are the CGColors of `colors`, in order (its other
// properties keep the layer's defaults: top to bottom, evenly spread). With a
// `transform`, it is called once with the layer and its answer is the result, whatever
// layer that is; without one the result is the new layer. `colors` is not changed.
[[nodiscard]] std::shared_ptr<ios::CAGradientLayer> gradient(const std::vector<ios::UIColor>& colors,
                                                             const GradientLayerTransform& transform = nullptr);

}  // namespace kp
