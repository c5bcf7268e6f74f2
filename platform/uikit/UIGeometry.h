// File: platform/uikit/UIGeometry.h
//
// UIKit's geometry additions: edge insets and the corners of a rectangle.
//
//   ios::UIEdgeInsets caps{0, 8, 0, 8};                       // top, left, bottom, right
//   ios::UIRectCorner corners = ios::UIRectCorner::topLeft | ios::UIRectCorner::topRight;
//
// Fidelity: plain values with the platform's field names; the text forms and the
// directional insets are absent.
#pragma once

#include <cstdint>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

struct UIEdgeInsets {
  CGFloat top = 0, left = 0, bottom = 0, right = 0;
  friend constexpr bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero{};

// The corners of a rectangle, as an option set; allCorners has every bit set.
enum class UIRectCorner : std::uint64_t {
  topLeft = 1 << 0,
  topRight = 1 << 1,
  bottomLeft = 1 << 2,
  bottomRight = 1 << 3,
  allCorners = ~std::uint64_t{0},
};

[[nodiscard]] constexpr UIRectCorner operator|(UIRectCorner a, UIRectCorner b) {
  return static_cast<UIRectCorner>(static_cast<std::uint64_t>(a) | static_cast<std::uint64_t>(b));
}
// Whether `set` holds every corner of `corner`.
[[nodiscard]] constexpr bool contains(UIRectCorner set, UIRectCorner corner) {
  return (static_cast<std::uint64_t>(set) & static_cast<std::uint64_t>(corner)) == static_cast<std::uint64_t>(corner);
}

}  // namespace ios
