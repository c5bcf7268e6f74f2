// File: KPQuaslet/views/UILabel+KPExt.h
//
// Label and font conveniences: initialisers, measuring and fitting the label to its
// text, a cross-dissolving text change, and bold, italic and monospaced-digit fonts.
//
//   auto title = kp::makeLabel(16, 20, 200, 22, 15);
//   title->setText("A long heading that wraps");
//   title->numberOfLines = 0;
//   kp::fitHeight(*title);                          // as high as the wrapped text
//   kp::setText(*title, "Done", true, std::nullopt); // 0.3 s cross-dissolve
//
// Measuring asks the label's sizeThatFits(), which measures with the installed fonts
// (platform/uikit/NSStringDrawing.h) and rounds up to whole points; the greatest
// finite CGFloat stands for "unlimited" in the width or the height. A label whose
// frame width is zero, negative or not finite measures its text unwrapped (its lines
// end only at line breaks) instead of converting the width to a character count.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {

// A label made plainly, showing `text`.
[[nodiscard]] std::shared_ptr<ios::UILabel> makeLabel(const std::optional<std::string>& text);

// makeLabel(x, y, w, h) / makeLabel(x, y, w, h, fontSize)
//
// A one-line label of frame (x, y, w, h) with a clear background, clipping to its
// bounds, left-aligned text and user interaction on; in the default font, or in it at
// `fontSize` points.
[[nodiscard]] std::shared_ptr<ios::UILabel> makeLabel(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w, ios::CGFloat h);
[[nodiscard]] std::shared_ptr<ios::UILabel> makeLabel(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w, ios::CGFloat h,
                                                      ios::CGFloat fontSize);

// The height the label's text needs when wrapped at the label's width into any number
// of lines, in its font (its attributed text's, when it has one). The label is not
// changed.
[[nodiscard]] ios::CGFloat requiredHeight(const ios::UILabel& label);

// The label's sizeThatFits() of (width, height).
[[nodiscard]] ios::CGSize getEstimatedSize(const ios::UILabel& label, ios::CGFloat width, ios::CGFloat height);
// The height the text needs at the label's width.
[[nodiscard]] ios::CGFloat getEstimatedHeight(const ios::UILabel& label);
// The width the text needs at the label's height.
[[nodiscard]] ios::CGFloat getEstimatedWidth(const ios::UILabel& label);

// Sets the frame's height to getEstimatedHeight(); origin and width kept.
void fitHeight(ios::UILabel& label);
// Sets the frame's width to getEstimatedWidth() (plus `padding`); origin and height kept.
void fitWidth(ios::UILabel& label);
void fitWidth(ios::UILabel& label, ios::CGFloat padding);
// fitWidth(), then fitHeight() at the new width, then sizeToFit().
void fitSize(ios::UILabel& label);

// Sets the text; when `animated`, inside a cross-dissolve transition of `duration`
// seconds (0.3 when not given).
void setText(ios::UILabel& label, const std::optional<std::string>& text, bool animated,
             std::optional<double> duration);

// bold() / italic()
//
// The font's face with exactly the bold (or italic) trait, at the same size: the trait
// replaces the others (bold of an italic font is upright). A font whose family has no
// such face is answered unchanged.
[[nodiscard]] ios::UIFont bold(const ios::UIFont& font);
[[nodiscard]] ios::UIFont italic(const ios::UIFont& font);

// The font with monospaced digits (feature type 6, selector 0), at the same size.
[[nodiscard]] ios::UIFont monospaced(const ios::UIFont& font);

}  // namespace kp
