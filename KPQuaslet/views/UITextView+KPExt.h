// File: KPQuaslet/views/UITextView+KPExt.h
//
// Text-view conveniences: a frame initialiser for read-only text, a Done button above the
// keyboard, clearing, scrolling to either end, and an edit-menu switch for copy, select
// all and paste.
//
//   auto terms = kp::makeTextView(0, 0, 320, 400, 15);   // Helvetica Neue 15, read-only
//   terms->setText(licence);
//   kp::scrollToBottom(*terms);
//
// The edit-menu flag is runtime-visible, in the "KPQuaslet" category of UITextView:
// property "canPerformAction" ("TB,N") and the replaced "canPerformAction:withSender:".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIToolbar.h"

namespace kp {

// makeTextView()
//
// A text view of frame (x, y, w, h) in Helvetica Neue of `fontSize` points (no font when
// the platform has none of that name), with a clear background, clipping to its bounds,
// left-aligned text, user interaction on, not editable and not scrolling.
[[nodiscard]] std::shared_ptr<ios::UITextView> makeTextView(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w,
                                                            ios::CGFloat h, ios::CGFloat fontSize = 17);

// addDoneButton()
//
// Gives the view a toolbar above the keyboard, of `barStyle` and sized to fit, with a
// flexible space and then a Done-style button titled `title` ("Done" when nil) that
// sends "resignFirstResponder" to the view: tapping it ends editing.
void addDoneButton(const std::shared_ptr<ios::UITextView>& view, ios::UIBarStyle barStyle,
                   const std::optional<std::string>& title = std::nullopt);

// Sets the text to "" and the attributed text to an empty one.
void clear(ios::UITextView& view);

// Scrolls so that the last UTF-16 unit of the text is visible: the range (length − 1,
// 1). An empty text has no last unit and the range would start before the text (a
// position an unsigned range cannot hold): nothing is scrolled then.
void scrollToBottom(ios::UITextView& view);

// Scrolls so that the first UTF-16 unit of the text is visible: the range (0, 1), also
// for an empty text (the platform accepts it there).
void scrollToTop(ios::UITextView& view);

// canPerformAction() / setCanPerformAction()
//
// The edit-menu flag: whether copy, select all and paste are offered. True until set.
[[nodiscard]] bool canPerformAction(const ios::UITextView& view);
void setCanPerformAction(ios::UITextView& view, bool enabled);

// canPerformAction(action, sender)
//
// The text view's answer to the edit menu: for copy, select all and paste, its flag as
// the runtime reads it; for anything else, UIScrollView's answer.
[[nodiscard]] bool canPerformAction(ios::UITextView& view, ios::SEL action,
                                    const std::shared_ptr<ios::NSObject>& sender);

}  // namespace kp
