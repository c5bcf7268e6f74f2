// File: KPQuaslet/views/UITextField+KPExt.h
//
// Text-field conveniences: a frame initialiser with the library's defaults, emptiness
// and trimming, placeholder colour, left padding and icons, a bottom-border look, an
// edit-menu switch for copy, select all and paste, and a maximum length.
//
//   auto code = kp::makeTextField(20, 100, 200, 30);
//   kp::setPlaceHolderTextColor(*code, ios::UIColor::gray());
//   kp::setCanPerformAction(*code, false);        // no copy, select all or paste
//   ios::send<void>(code, ios::sel_registerName("setMaxLength:"), std::int64_t{6});
//
// The edit-menu flag and the maximum length are runtime-visible, in the "KPQuaslet"
// category of UITextField: properties "canPerformAction" ("TB,N") and "maxLength"
// ("Tq,N"), the replaced "canPerformAction:withSender:" and the editing handler
// "checkMaxLengthWithTextField:". The maximum length is reached through the runtime
// only. Setting it registers the field as its own target for editing changed; after
// each edit a text longer than the maximum is cut to its first characters (whole
// characters: an emoji of several code points counts once), the selection kept. Text an
// input method is still composing is not cut; the cut happens as soon as the
// composition ends, however it ends. Mended: the field is also its own target for
// editing did end, because ending editing ends the composition without an edit and
// would otherwise leave the composed text longer than the maximum.
// A negative maximum counts as 0.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITextField.h"

namespace kp {

// makeTextField()
//
// A text field of frame (x, y, w, h) in the system font of `fontSize` points, with a
// clear background, clipping to its bounds, left-aligned text and user interaction on.
[[nodiscard]] std::shared_ptr<ios::UITextField> makeTextField(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w,
                                                              ios::CGFloat h, ios::CGFloat fontSize = 17);

// Whether the field's text is nil or empty.
[[nodiscard]] bool isEmpty(const ios::UITextField& field);

// The text without white space and line breaks at either end; nil for a nil text.
[[nodiscard]] std::optional<std::string> trimmedText(const ios::UITextField& field);

// Sets the text to "" and the attributed text to an empty one.
void clear(ios::UITextField& field);

// Shows the placeholder in `color`. A field without a placeholder, or with an empty
// one, is left unchanged.
void setPlaceHolderTextColor(ios::UITextField& field, const ios::UIColor& color);

// Puts an empty view `padding` points wide, as high as the field, on its left, always.
void addPaddingLeft(ios::UITextField& field, ios::CGFloat padding);

// Puts `image` on the field's left, centred in a box `padding` points wider than the
// image, always.
void addPaddingLeftIcon(ios::UITextField& field, const ios::UIImage& image, ios::CGFloat padding);

// Removes the border and draws a one-point grey line under the field (a white
// background whose shadow falls one point down).
void setBottomBorder(ios::UITextField& field);

// canPerformAction() / setCanPerformAction()
//
// The edit-menu flag: whether copy, select all and paste are offered. True until set.
[[nodiscard]] bool canPerformAction(const ios::UITextField& field);
void setCanPerformAction(ios::UITextField& field, bool enabled);

// canPerformAction(action, sender)
//
// The field's answer to the edit menu: for copy, select all and paste, its flag as the
// runtime reads it (whatever the selection or the pasteboard); for anything else,
// UIControl's answer.
[[nodiscard]] bool canPerformAction(ios::UITextField& field, ios::SEL action,
                                    const std::shared_ptr<ios::NSObject>& sender);

}  // namespace kp
