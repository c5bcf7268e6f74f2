// File: platform/uikit/NSStringDrawing.h
//
// Text measurement: the size a text takes on one line in a font.
//
//   ios::NSAttributedString::Attributes attrs{{std::string(ios::NSAttributedString::Key::font),
//                                              ios::UIFont::systemFont(10)}};
//   ios::sizeWithAttributes("Settings", attrs);          // (40, 15)
//
// Fidelity: Linux has the platform's fonts neither to draw nor to measure with, so
// measurement follows one deterministic model that tests can compute by hand:
//   - every character (extended grapheme cluster) advances 0.5 × the point size, or
//     0.55 × the point size in a bold font;
//   - a line is 1.5 × the point size high;
//   - a line break ("\n", "\r\n" or "\r") starts a new line; the width is the widest line;
//   - the empty text measures (0, 0).
// Wrapped measurement (labels of several lines) breaks lines at spaces: a line takes as
// many whole words, one space apart, as fit in the width; a word wider than a line is
// broken between characters; spaces at a break take no room. Its width is the widest
// line, its height the line count (at most the maximum, when there is one) × 1.5 × size.
// Without a font attribute the platform's default (the system font of 12 points) is
// used. Kerning, ligatures and the other attributes do not change the size.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UIFont.h"

namespace ios {

// sizeWithAttributes()
//
// The size of `text` drawn with `attributes` (NSString.size(withAttributes:)), by the
// model above.
[[nodiscard]] CGSize sizeWithAttributes(std::string_view text, const NSAttributedString::Attributes& attributes);

// sizeWithFont()
//
// The size of `text` in `font`, by the model above.
[[nodiscard]] CGSize sizeWithFont(std::string_view text, const UIFont& font);

// sizeWithFont(maxWidth, maxLines)
//
// The size of `text` in `font` wrapped at `maxWidth` points into at most `maxLines`
// lines (0: any number), by the model above.
[[nodiscard]] CGSize sizeWithFont(std::string_view text, const UIFont& font, CGFloat maxWidth, std::int64_t maxLines);

}  // namespace ios
