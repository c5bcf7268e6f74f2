// File: KPQuaslet/views/internal/LayerColor.h
//
// The view properties that show a layer colour as a UIColor: nothing stays nothing.
//
//   std::optional<ios::UIColor> c = kp::views_internal::uiColor(layer.borderColor());
//
// Internal to the library.
#pragma once

#include <optional>

#include "platform/coregraphics/CGColor.h"
#include "platform/uikit/UIColor.h"

namespace kp::views_internal {

// A new colour wrapping `color`, or nothing.
[[nodiscard]] inline std::optional<ios::UIColor> uiColor(const std::optional<ios::CGColor>& color) {
  if (!color) return std::nullopt;
  return ios::UIColor::colorWithCGColor(*color);
}

// The colour's CGColor, or nothing.
[[nodiscard]] inline std::optional<ios::CGColor> cgColor(const std::optional<ios::UIColor>& color) {
  if (!color) return std::nullopt;
  return color->cgColor();
}

}  // namespace kp::views_internal
