// File: platform/uikit/NSStringDrawing.h
//
// Text measurement: the size a text takes in a font, on one line or wrapped at a width.
//
//   ios::NSAttributedString::Attributes attrs{{std::string(ios::NSAttributedString::Key::font),
//                                              ios::UIFont::systemFont(10)}};
//   ios::sizeWithAttributes("Settings", attrs);          // about (39.3, 11.6)
//   ios::sizeWithFont("Hello world", ios::UIFont::systemFont(17), 60, 0,
//                     ios::NSLineBreakMode::byWordWrapping);  // two lines high
//
// Fidelity: text is shaped and measured with the installed fonts UIFont.h names
// (Pango over fontconfig and HarfBuzz), so widths are the glyphs' own advances
// ("iiii" is narrower than "WWWW"), Chinese text is measured in the CJK face, and
// kerning and ligatures count. A line is the font's lineHeight high; a line break
// ("\n", "\r\n", "\r", U+2028, U+2029) starts a new line; the width is the widest line.
// Sizes are not rounded. Without a font attribute the platform's default (the system
// font of 12 points) is used. Edges, each with a defined answer:
//   - the empty text measures (0, 0);
//   - ill-formed UTF-8 is measured with U+FFFD in place of each bad byte (and of NUL);
//   - a font whose size is not a positive finite number of at most 16384 points
//     measures (0, 0);
//   - a maximum width that is zero, negative, NaN or infinite does not wrap: lines end
//     only at line breaks (the unlimited width the platform reads from an unbounded or
//     empty size);
//   - a maximum number of lines of 0 or less is no limit.
// Wrapping breaks lines between words (a word wider than a line is broken between
// characters; one space at a break takes no room, further spaces of a longer run may
// start the next line), or between characters in character wrapping; the truncating modes
// shorten the last allowed line with an ellipsis, the others cut it. One line
// (maxLines 1) never wraps: it keeps its natural width, at most the maximum width.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/NSParagraphStyle.h"
#include "platform/uikit/UIFont.h"

namespace ios {

// sizeWithAttributes()
//
// The size of `text` drawn on unlimited width with `attributes`
// (NSString.size(withAttributes:)): the font, kerning and paragraph style count.
[[nodiscard]] CGSize sizeWithAttributes(std::string_view text, const NSAttributedString::Attributes& attributes);

// sizeWithFont()
//
// The size of `text` in `font` on unlimited width.
[[nodiscard]] CGSize sizeWithFont(std::string_view text, const UIFont& font);

// sizeWithFont(maxWidth, maxLines, lineBreakMode)
//
// The size of `text` in `font` wrapped at `maxWidth` points into at most `maxLines`
// lines (0: any number), breaking lines as `lineBreakMode` says (see the note above).
[[nodiscard]] CGSize sizeWithFont(std::string_view text, const UIFont& font, CGFloat maxWidth, std::int64_t maxLines,
                                  NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping);

// boundingSize()
//
// The size of the attributed `text` wrapped at `maxWidth` into at most `maxLines`
// lines (NSAttributedString.boundingRect(with:options: .usesLineFragmentOrigin)): each
// run in its own font and kerning (`font` where a run has none), laid out with the
// paragraph style of the first character (its alignment, line-break mode and line
// spacing), else with `lineBreakMode`.
[[nodiscard]] CGSize boundingSize(const NSAttributedString& text, const UIFont& font, CGFloat maxWidth,
                                  std::int64_t maxLines,
                                  NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping);

}  // namespace ios
