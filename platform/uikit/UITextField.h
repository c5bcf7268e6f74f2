// File: platform/uikit/UITextField.h
//
// Editable text: the one-line text field and the scrolling text view, with a selection,
// marked (composing) text, the edit-menu question canPerformAction and the keyboard's
// editing calls.
//
//   auto name = ios::UITextField::make(ios::CGRect(0, 0, 200, 30));
//   name->becomeFirstResponder();
//   name->insertText("Ada");            // as typed: sends editing changed
//   name->text();                       // "Ada"
//
// Fidelity: selections are UTF-16 offsets, as on the platform, and setting one clamps it
// to the text. A field's selection exists while it is the first responder (a caret at
// the end when it becomes it); a text view's always does. Setting the text from code
// sends no event and puts a caret at the end. insertText(), deleteBackward() and paste()
// stand for the keyboard and the edit menu: they edit at the selection (or the marked
// text) and then send editing changed. setMarkedText() stands for an input method's
// composing text; insertText() commits it. "canPerformAction:withSender:" is
// runtime-visible: a field or text view offers copy with a non-empty selection, select
// all with text, paste with text on the general pasteboard, and asks its superclass for
// anything else (UIResponder: whether the receiver implements the action, then its next
// responder). Rendering the layer draws the text (or, when there is none, the
// placeholder in a light grey unless the attributed placeholder says otherwise) on one
// line, centred vertically and truncated at the tail, right of a shown left view; a
// text view draws its text wrapped at its width inside the platform's text inset (8
// points above and below, 5 at the sides), from the top. Measuring and drawing are
// NSStringDrawing.h's. Scrolling the text, the caret, keyboards, autocorrection and
// delegates are absent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSRange.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace ios {

class UITextView;
namespace testing {
[[nodiscard]] std::optional<NSRange> lastScrolledRange(const UITextView& view);
}

// A range of text in UTF-16 offsets (start <= end).
struct UITextRange {
  std::size_t start = 0;
  std::size_t end = 0;
  [[nodiscard]] bool isEmpty() const { return start == end; }
  friend bool operator==(const UITextRange&, const UITextRange&) = default;
};

enum class UITextBorderStyle : std::int64_t { none = 0, line = 1, bezel = 2, roundedRect = 3 };
enum class UITextFieldViewMode : std::int64_t { never = 0, whileEditing = 1, unlessEditing = 2, always = 3 };

class UITextField : public UIControl {
  IOS_RUNTIME_CLASS(UITextField, UIControl);

 public:
  ~UITextField() override;

  [[nodiscard]] const std::optional<std::string>& text() const { return text_; }
  // Sets the text (nil is kept as nil) without sending an event; the attributed text
  // follows; a selection becomes a caret at the end, marked text ends.
  void setText(std::optional<std::string> text);
  // The text with the field's font over all of it; nil with a nil text.
  [[nodiscard]] std::optional<NSAttributedString> attributedText() const;
  // Sets the text to the attributed text's string (nil for nil).
  void setAttributedText(const std::optional<NSAttributedString>& text);

  [[nodiscard]] const std::optional<std::string>& placeholder() const { return placeholder_; }
  void setPlaceholder(std::optional<std::string> text);
  // The placeholder with attributes; setting the placeholder replaces it with a plain one.
  [[nodiscard]] const std::optional<NSAttributedString>& attributedPlaceholder() const { return attributedPlaceholder_; }
  void setAttributedPlaceholder(std::optional<NSAttributedString> text);

  [[nodiscard]] const UIFont& font() const { return font_; }
  void setFont(const UIFont& font) { font_ = font; }
  UIColor textColor = UIColor::black();
  NSTextAlignment textAlignment = NSTextAlignment::natural;
  UITextBorderStyle borderStyle = UITextBorderStyle::none;
  std::shared_ptr<UIView> leftView;
  UITextFieldViewMode leftViewMode = UITextFieldViewMode::never;

  // The selection; nil while the field is not the first responder.
  [[nodiscard]] std::optional<UITextRange> selectedTextRange() const { return selection_; }
  // Sets the selection, clamped to the text (nil clears it).
  void setSelectedTextRange(std::optional<UITextRange> range);
  // The composing text of an input method, or nil.
  [[nodiscard]] std::optional<UITextRange> markedTextRange() const { return marked_; }

  // Replaces the marked text (or else the selection, or else appends) by `text`,
  // leaving a caret after it and ending the marked text; sends editing changed.
  void insertText(const std::string& text);
  // Replaces the marked text (or else the selection) by `text` and marks it; sends
  // editing changed.
  void setMarkedText(const std::string& text);
  // Removes the selection, or the character before the caret; sends editing changed
  // when something was removed.
  void deleteBackward();
  // Inserts the general pasteboard's text as insertText() does; nothing without one.
  void paste(const std::shared_ptr<NSObject>& sender);

  [[nodiscard]] bool canBecomeFirstResponder() const override { return isEnabled(); }
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;

 protected:
  explicit UITextField(CGRect frame = CGRect());

 private:
  // Replaces UTF-16 range `range` of the text by `inserted`; answers the range inserted.
  UITextRange replace(UITextRange range, const std::string& inserted);
  [[nodiscard]] UITextRange editRange() const;

  std::optional<std::string> text_;
  std::optional<std::string> placeholder_;
  std::optional<NSAttributedString> attributedPlaceholder_;
  UIFont font_ = UIFont::systemFont(17);
  std::optional<UITextRange> selection_;
  std::optional<UITextRange> marked_;
};

class UITextView : public UIScrollView {
  IOS_RUNTIME_CLASS(UITextView, UIScrollView);

 public:
  ~UITextView() override;

  [[nodiscard]] const std::string& text() const { return text_; }
  // Sets the text (a caret at its end) without sending a notification.
  void setText(std::string text);
  // The text with the view's font (when it has one) over all of it.
  [[nodiscard]] NSAttributedString attributedText() const;
  void setAttributedText(const NSAttributedString& text) { setText(text.string()); }

  // The font; nil until set (the text is then drawn in the system font of 12 points,
  // the platform's default).
  std::optional<UIFont> font;
  UIColor textColor = UIColor::black();
  NSTextAlignment textAlignment = NSTextAlignment::natural;
  bool isEditable = true;
  bool isSelectable = true;
  bool isScrollEnabled = true;
  // The view shown above the keyboard while the text view is the first responder.
  std::shared_ptr<UIView> inputAccessoryView;

  // The selection in UTF-16 units; setting it clamps it to the text.
  [[nodiscard]] NSRange selectedRange() const { return selection_; }
  void setSelectedRange(NSRange range);

  // Scrolls so that `range` (UTF-16 units) is visible. A range that runs past the end of
  // the text is accepted, as the platform accepts it (the first character of an empty
  // text: (0, 1)); a start beyond the end raises "NSRangeException".
  void scrollRangeToVisible(NSRange range);

  [[nodiscard]] bool canBecomeFirstResponder() const override { return isEditable || isSelectable; }

 protected:
  explicit UITextView(CGRect frame = CGRect());

 private:
  friend std::optional<NSRange> testing::lastScrolledRange(const UITextView& view);

  std::string text_;
  NSRange selection_;
  std::optional<NSRange> lastScrolled_;
};

namespace testing {

// The range last passed to scrollRangeToVisible() on `view`, or nothing.
[[nodiscard]] std::optional<NSRange> lastScrolledRange(const UITextView& view);

}  // namespace testing
}  // namespace ios
