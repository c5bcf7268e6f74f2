// File: KPQuaslet/imaging/UIButton+KPGradient.h
//
// Gradient and solid backgrounds for buttons, drawn as a small image the button
// stretches.
//
//   kp::setGradientBackgroundColors(*button, {ios::UIColor::red(), ios::UIColor::blue()},
//                                   kp::KPImageGradientDirection::toRight(), ios::UIControl::State::normal);
//
// Written against what it uses of a button, setBackgroundImage(image, state) taking an
// optional image (none removes the state's background), so it serves any button class
// that offers it.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "KPQuaslet/imaging/Gradient.h"
#include "KPQuaslet/imaging/internal/ViewImages.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// setGradientBackgroundColors()
//
// Sets the button's background image for `state`: with two or more colours a linear
// gradient through them in `direction`, with one a solid fill, each drawn 1 × 1 point at
// the main screen's scale; with none (or when the image cannot be drawn, for example for
// a pattern colour) the state's background image is removed. Other states keep theirs.
// View work: call it on the main thread.
template <class Button, class State>
  requires requires(Button& button, std::optional<ios::UIImage> image, State state) {
    button.setBackgroundImage(std::move(image), state);
  }
void setGradientBackgroundColors(Button& button, const std::vector<ios::UIColor>& colors,
                                 KPImageGradientDirection direction, State state) {
  button.setBackgroundImage(imaging_internal::gradientBackgroundImage(colors, direction), state);
}

}  // namespace kp
