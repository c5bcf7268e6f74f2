// File: KPQuaslet/views/UIView+Shadow.h
//
// A view's layer shadow: four properties visible to the object runtime, the whole
// shadow as one Shadow value, and three ready-made styles.
//
//   kp::setShadowRadius(*card, 6);
//   kp::applyHoverShadow(*card);            // an oval shadow under the card
//
// shadowColor, shadowOffset, shadowOpacity and shadowRadius are registered as runtime
// methods of UIView in the category "KPQuaslet" and store nothing on the view. shadow()
// and setShadow() go through those runtime messages, so a subclass that overrides them
// is honoured. The path styles use the bounds at the time of the call.
#pragma once

#include <optional>

#include "KPQuaslet/views/Shadow.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

namespace kp {

// The layer's shadow colour as a new colour, nothing when it has none; setting nothing
// clears it. A fresh layer's shadow colour is opaque black.
[[nodiscard]] std::optional<ios::UIColor> shadowColor(const ios::UIView& view);
void setShadowColor(ios::UIView& view, const std::optional<ios::UIColor>& color);
// The layer's shadow offset ((0, -3) on a fresh layer).
[[nodiscard]] ios::CGSize shadowOffset(const ios::UIView& view);
void setShadowOffset(ios::UIView& view, ios::CGSize offset);
// The layer's single-precision shadow opacity, widened; setting narrows to float.
[[nodiscard]] ios::CGFloat shadowOpacity(const ios::UIView& view);
void setShadowOpacity(ios::UIView& view, ios::CGFloat opacity);
// The layer's shadow radius (3 on a fresh layer).
[[nodiscard]] ios::CGFloat shadowRadius(const ios::UIView& view);
void setShadowRadius(ios::UIView& view, ios::CGFloat radius);

// The shadow read by runtime messages: the colour (clear when none), offset, opacity,
// radius.
[[nodiscard]] Shadow shadow(ios::UIView& view);
// Sends setShadowColor:, setShadowOffset:, setShadowOpacity: and setShadowRadius:, in
// that order.
void setShadow(ios::UIView& view, const Shadow& shadow);

// Grey, offset (0, 3), opacity 0.4, radius 4; no path, masksToBounds unchanged.
void applyPlainShadow(ios::UIView& view);
// A shadow that sags under the bottom edge: an open path from (1, h) to (w - 2, h),
// down to (w - 2, h + 11) and curving back to (1, h + 11); black, opacity 0.3, radius
// 1, offset (0, -3).
void applyCurvedShadow(ios::UIView& view);
// An oval shadow under the view: a rounded rectangle (5, h + 5, w - 10, 15) of corner
// radius 10 (limited to half the 15-point height: round ends); black, opacity 0.2,
// radius 5, no offset.
void applyHoverShadow(ios::UIView& view);

}  // namespace kp
