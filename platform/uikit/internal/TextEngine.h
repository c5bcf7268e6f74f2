// File: platform/uikit/internal/TextEngine.h
//
// The one text engine: lays text out with Pango over the pinned fonts of
// FontFaces.h, measures it and draws it into a cairo context. NSStringDrawing, UIFont's
// metrics, labels, buttons, text fields and text views all come here, so what is
// measured is what is drawn. The interface carries no Pango type.
//
//   ios::text_internal::TextBox box{200, 0, ios::NSLineBreakMode::byWordWrapping};
//   ios::text_internal::measure(ios::NSAttributedString("Hello world"), font, box);
//
// Thread safety: every call may come from any thread; Pango's font map and context
// are shared under one lock.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/internal/Cairo.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/NSParagraphStyle.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"

namespace ios::text_internal {

// The largest point size the engine lays out; larger (and non-positive or non-finite)
// sizes leave text empty.
inline constexpr CGFloat kLargestPointSize = 16384;

// Stops the process with one message naming `file` and the Debian `package` that
// installs it when the file cannot be read; the engine checks every pinned font so
// before it lays out any text.
void requireFontFile(std::string_view file, std::string_view package);

struct FontMetrics {
  CGFloat ascender = 0;
  CGFloat descender = 0;  // negative: below the baseline
  CGFloat capHeight = 0;
  CGFloat xHeight = 0;
  CGFloat leading = 0;
  CGFloat lineHeight = 0;
};

// The metrics of `font`, in points; all zero for a size the engine does not lay out.
[[nodiscard]] FontMetrics fontMetrics(const UIFont& font);

// Where text goes: the width its lines wrap at, how many lines it may take and what
// happens at a line's end.
struct TextBox {
  // Lines wrap at this width when it is a positive finite number; otherwise (zero,
  // negative, NaN, infinite) only line breaks in the text start new lines.
  CGFloat width = 0;
  // At most this many lines are measured and drawn; 0 or less: any number.
  std::int64_t numberOfLines = 0;
  // Word or character wrapping; with a limit on the lines, the truncating modes put an
  // ellipsis where the last line ends early, clipping cuts it. One line never wraps.
  NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping;
  NSTextAlignment alignment = NSTextAlignment::natural;
};

// Where drawn text sits vertically in its rectangle.
enum class VerticalPlacement { top, center };

// The size `text` takes in `box`, with `font` wherever the text has no font of its
// own (a run's font, kerning and the first character's paragraph style count). Empty
// text, and text with a font size the engine does not lay out, measure (0, 0).
// Ill-formed UTF-8 is measured with U+FFFD for each bad byte.
[[nodiscard]] CGSize measure(const NSAttributedString& text, const UIFont& font, const TextBox& box);
// The same for plain text in one font.
[[nodiscard]] CGSize measure(std::string_view text, const UIFont& font, const TextBox& box);

// Draws `text` into `cr` (user space in points, y down) inside `rect`, laid out as
// measure() lays it out with box.width = rect's width, in `color` wherever the text
// has no colour of its own; underline and strikethrough runs are drawn. Nothing is
// drawn where measure() answers (0, 0) or `rect` is not finite.
void draw(cairo_t* cr, const NSAttributedString& text, const UIFont& font, const UIColor& color, TextBox box,
          CGRect rect, VerticalPlacement placement);

}  // namespace ios::text_internal
