// File: platform/uikit/UIOffset.h
//
// A horizontal and vertical displacement.
//
//   ios::UIOffset offset{2, 2};
//   ios::describe(offset);          // "UIOffset(horizontal: 2.0, vertical: 2.0)"
//
// Fidelity: the platform's plain value with its field names; its text form is the one
// the platform's language writes for the structure. The string conversions are absent.
#pragma once

#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/Describe.h"

namespace ios {

struct UIOffset {
  CGFloat horizontal = 0;
  CGFloat vertical = 0;

  // The offset (0, 0).
  static const UIOffset zero;

  friend constexpr bool operator==(const UIOffset&, const UIOffset&) = default;
};
inline constexpr UIOffset UIOffset::zero{};

// "UIOffset(horizontal: 2.0, vertical: 2.0)".
[[nodiscard]] inline std::string ios_describe(const UIOffset& offset) {
  return "UIOffset(horizontal: " + describeDouble(offset.horizontal) + ", vertical: " +
         describeDouble(offset.vertical) + ")";
}

}  // namespace ios
