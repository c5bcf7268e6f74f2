// File: KPQuaslet/text/NSAttributedString+KPExt.h
//
// Restyling a whole attributed string: bold, italic, underline, strikethrough, colour.
//
//   ios::NSAttributedString title("Grüße 👋");
//   auto styled = kp::color(kp::bold(title), ios::UIColor::red());
//   styled.attribute(ios::NSAttributedString::Key::font, 0);   // the bold system font
//
// Each function returns a copy of its argument with one attribute set over the whole
// text (all of its UTF-16 units); the attribute replaces any value of the same key that
// the text carried over part of it, and the other attributes stay. The argument is not
// changed; an empty text gives an empty copy.
#pragma once

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UIColor.h"

namespace kp {

// A copy with the font attribute: the bold system font of UIFont::systemFontSize().
[[nodiscard]] ios::NSAttributedString bold(const ios::NSAttributedString& text);

// A copy with the font attribute: the italic system font of UIFont::systemFontSize().
[[nodiscard]] ios::NSAttributedString italic(const ios::NSAttributedString& text);

// A copy with the underline-style attribute NSUnderlineStyle::single (the integer 1).
[[nodiscard]] ios::NSAttributedString underline(const ios::NSAttributedString& text);

// A copy with the strikethrough-style attribute: the number 1 (an NSNumber).
[[nodiscard]] ios::NSAttributedString strikethrough(const ios::NSAttributedString& text);

// A copy with the foreground-colour attribute `color`.
[[nodiscard]] ios::NSAttributedString color(const ios::NSAttributedString& text, const ios::UIColor& color);

}  // namespace kp
