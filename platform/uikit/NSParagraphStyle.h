// File: platform/uikit/NSParagraphStyle.h
//
// How a paragraph of text is laid out: its alignment, where its lines break and what
// happens to text that does not fit, and the room between lines. Stored in an
// attributed string under NSAttributedString::Key::paragraphStyle.
//
//   ios::NSParagraphStyle style;
//   style.alignment = ios::NSTextAlignment::center;
//   style.lineBreakMode = ios::NSLineBreakMode::byTruncatingTail;
//   ios::NSAttributedString title("Long title", {{std::string(ios::NSAttributedString::Key::paragraphStyle), style}});
//
// Fidelity: a value (the platform's immutable and mutable classes in one). Alignment,
// line-break mode and line spacing are kept and used by measurement and drawing; tab
// stops, indents, hyphenation and writing direction are absent. Text is laid out with
// the paragraph style of its first character.
#pragma once

#include <cstdint>

#include "platform/coregraphics/CGGeometry.h"

namespace ios {

enum class NSTextAlignment : std::int64_t { left = 0, center = 1, right = 2, justified = 3, natural = 4 };

enum class NSLineBreakMode : std::int64_t {
  byWordWrapping = 0,
  byCharWrapping = 1,
  byClipping = 2,
  byTruncatingHead = 3,
  byTruncatingTail = 4,
  byTruncatingMiddle = 5,
};

struct NSParagraphStyle {
  NSTextAlignment alignment = NSTextAlignment::natural;
  NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping;
  // Extra room between the lines of a paragraph, in points (negative values count as 0).
  CGFloat lineSpacing = 0;
  friend bool operator==(const NSParagraphStyle&, const NSParagraphStyle&) = default;
};

}  // namespace ios
