#include "platform/uikit/UITextField.h"

#include <algorithm>
#include <vector>

#include "platform/foundation/NSException.h"
#include "platform/foundation/String.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/internal/TextEngine.h"
#include "platform/uikit/internal/TextLayer.h"

namespace ios {
namespace {

// The edit-menu answer of a text control: copy with a selection, select all with text,
// paste with text on the pasteboard; anything else from the superclass of `cls`.
template <class Control>
bool textControlCanPerform(Control& self, Class cls, SEL action, const id& sender, bool hasSelection,
                           bool hasText) {
  if (action == copySelector() || action == cutSelector()) return hasSelection;
  if (action == selectAllSelector()) return hasText;
  if (action == pasteSelector()) return UIPasteboard::general().string().has_value();
  return sendSuper<bool>(&self, cls, canPerformActionSelector(), action, sender);
}

// The byte offset of the character boundary at or before UTF-16 offset `unit`.
std::size_t byteOffset(std::string_view text, std::size_t unit) {
  const std::size_t byte = utf8Offset(text, unit);
  const std::vector<std::size_t> bounds = characterBoundaries(text);
  auto it = std::upper_bound(bounds.begin(), bounds.end(), byte);
  return *std::prev(it);
}

// Whether the field shows its left view now.
bool showsLeftView(const UITextField& field) {
  if (field.leftView == nullptr) return false;
  switch (field.leftViewMode) {
    case UITextFieldViewMode::always: return true;
    case UITextFieldViewMode::whileEditing: return field.isFirstResponder();
    case UITextFieldViewMode::unlessEditing: return !field.isFirstResponder();
    case UITextFieldViewMode::never: return false;
  }
  return false;
}

// The text of a field, or its placeholder when it has none, on one line.
void drawField(const UITextField& field, cairo_t* cr, CGRect bounds) {
  CGRect area = bounds;
  if (showsLeftView(field)) {
    const CGFloat taken = std::clamp(field.leftView->frame().maxX() - bounds.minX(), 0.0, bounds.size.width);
    area.origin.x += taken;
    area.size.width -= taken;
  }
  const text_internal::TextBox line{area.size.width, 1, NSLineBreakMode::byTruncatingTail, field.textAlignment};
  if (field.text() && !field.text()->empty()) {
    text_internal::draw(cr, *field.attributedText(), field.font(), field.textColor, line, area,
                        text_internal::VerticalPlacement::center);
  } else if (field.attributedPlaceholder() && field.attributedPlaceholder()->length() > 0) {
    text_internal::draw(cr, *field.attributedPlaceholder(), field.font(), UIColor::colorWithWhite(0.7, 1), line, area,
                        text_internal::VerticalPlacement::center);
  }
}

// The text of a text view, wrapped inside the text inset.
void drawTextView(const UITextView& view, cairo_t* cr, CGRect bounds) {
  const CGRect area(bounds.minX() + 5, bounds.minY() + 8, std::max(0.0, bounds.size.width - 10),
                    std::max(0.0, bounds.size.height - 16));
  text_internal::draw(cr, view.attributedText(), view.font.value_or(UIFont::systemFont(12)), view.textColor,
                      text_internal::TextBox{area.size.width, 0, NSLineBreakMode::byWordWrapping, view.textAlignment},
                      area, text_internal::VerticalPlacement::top);
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(UITextField, "UITextField", [](Class cls) {
  class_addMethod(cls, canPerformActionSelector(), imp([](UITextField& self, SEL, SEL action, id sender) -> bool {
                    const auto selection = self.selectedTextRange();
                    const bool hasText = self.text().has_value() && !self.text()->empty();
                    return textControlCanPerform(self, UITextField::classObject(), action, sender,
                                                 selection && !selection->isEmpty(), hasText);
                  }));
})

IOS_DEFINE_RUNTIME_CLASS(UITextView, "UITextView", [](Class cls) {
  class_addMethod(cls, canPerformActionSelector(), imp([](UITextView& self, SEL, SEL action, id sender) -> bool {
                    return textControlCanPerform(self, UITextView::classObject(), action, sender,
                                                 self.selectedRange().length > 0, !self.text().empty());
                  }));
})

// ---- UITextField --------------------------------------------------------------------

UITextField::UITextField(CGRect frame) : UIControl(frame, uikit_internal::makeTextLayer()) {
  uikit_internal::setTextDrawer(*layer(), [this](cairo_t* cr, CGRect bounds) { drawField(*this, cr, bounds); });
}

UITextField::~UITextField() { uikit_internal::setTextDrawer(*layer(), {}); }

void UITextField::setText(std::optional<std::string> text) {
  text_ = std::move(text);
  marked_.reset();
  if (selection_) {
    const std::size_t end = utf16Length(text_.value_or(""));
    selection_ = UITextRange{end, end};
  }
}

std::optional<NSAttributedString> UITextField::attributedText() const {
  if (!text_) return std::nullopt;
  return NSAttributedString(*text_, {{std::string(NSAttributedString::Key::font), font_}});
}

void UITextField::setAttributedText(const std::optional<NSAttributedString>& text) {
  setText(text ? std::optional<std::string>(text->string()) : std::nullopt);
}

void UITextField::setPlaceholder(std::optional<std::string> text) {
  placeholder_ = std::move(text);
  attributedPlaceholder_ = placeholder_ ? std::optional<NSAttributedString>(NSAttributedString(*placeholder_))
                                        : std::nullopt;
}

void UITextField::setAttributedPlaceholder(std::optional<NSAttributedString> text) {
  placeholder_ = text ? std::optional<std::string>(text->string()) : std::nullopt;
  attributedPlaceholder_ = std::move(text);
}

void UITextField::setSelectedTextRange(std::optional<UITextRange> range) {
  if (!range) {
    selection_.reset();
    return;
  }
  const std::size_t length = utf16Length(text_.value_or(""));
  const std::size_t start = std::min(range->start, length);
  selection_ = UITextRange{start, std::clamp(range->end, start, length)};
}

UITextRange UITextField::editRange() const {
  if (marked_) return *marked_;
  if (selection_) return *selection_;
  const std::size_t end = utf16Length(text_.value_or(""));
  return UITextRange{end, end};
}

UITextRange UITextField::replace(UITextRange range, const std::string& inserted) {
  std::string text = text_.value_or("");
  const std::size_t from = byteOffset(text, range.start);
  const std::size_t to = std::max(from, byteOffset(text, range.end));
  text.replace(from, to - from, inserted);
  text_ = std::move(text);
  const std::size_t start = utf16Offset(*text_, from);
  return UITextRange{start, start + utf16Length(inserted)};
}

void UITextField::insertText(const std::string& text) {
  const UITextRange inserted = replace(editRange(), text);
  marked_.reset();
  if (selection_) selection_ = UITextRange{inserted.end, inserted.end};
  sendActions(UIControlEventOption::editingChanged);
}

void UITextField::setMarkedText(const std::string& text) {
  const UITextRange inserted = replace(editRange(), text);
  marked_ = inserted;
  if (selection_) selection_ = UITextRange{inserted.end, inserted.end};
  sendActions(UIControlEventOption::editingChanged);
}

void UITextField::deleteBackward() {
  UITextRange range = editRange();
  const std::string& text = text_.value_or("");
  if (range.isEmpty()) {
    if (range.start == 0) return;
    const std::size_t caretByte = byteOffset(text, range.start);
    const std::size_t previous = byteOffset(text, utf16Offset(text, caretByte) - 1);
    range = UITextRange{utf16Offset(text, previous), range.start};
  }
  const UITextRange removed = replace(range, "");
  marked_.reset();
  if (selection_) selection_ = UITextRange{removed.start, removed.start};
  sendActions(UIControlEventOption::editingChanged);
}

void UITextField::paste(const std::shared_ptr<NSObject>& /*sender*/) {
  if (auto text = UIPasteboard::general().string()) insertText(*text);
}

bool UITextField::becomeFirstResponder() {
  const bool was = isFirstResponder();
  if (!UIControl::becomeFirstResponder()) return false;
  if (!was) {
    const std::size_t end = utf16Length(text_.value_or(""));
    selection_ = UITextRange{end, end};
    sendActions(UIControlEventOption::editingDidBegin);
  }
  return true;
}

bool UITextField::resignFirstResponder() {
  const bool was = isFirstResponder();
  UIControl::resignFirstResponder();
  if (was) {
    selection_.reset();
    marked_.reset();
    sendActions(UIControlEventOption::editingDidEnd);
  }
  return true;
}

// ---- UITextView ---------------------------------------------------------------------

UITextView::UITextView(CGRect frame) : UIScrollView(frame, uikit_internal::makeTextLayer()) {
  uikit_internal::setTextDrawer(*layer(), [this](cairo_t* cr, CGRect bounds) { drawTextView(*this, cr, bounds); });
}

UITextView::~UITextView() { uikit_internal::setTextDrawer(*layer(), {}); }

void UITextView::setText(std::string text) {
  text_ = std::move(text);
  const std::size_t end = utf16Length(text_);
  selection_ = NSRange{end, 0};
}

NSAttributedString UITextView::attributedText() const {
  NSAttributedString::Attributes attributes;
  if (font) attributes.emplace(std::string(NSAttributedString::Key::font), *font);
  return NSAttributedString(text_, std::move(attributes));
}

void UITextView::setSelectedRange(NSRange range) {
  const std::size_t length = utf16Length(text_);
  const std::size_t start = std::min(range.location, length);
  selection_ = NSRange{start, std::min(range.length, length - start)};
}

void UITextView::scrollRangeToVisible(NSRange range) {
  const std::size_t length = utf16Length(text_);
  // A range that runs past the end (the first character of an empty text) scrolls to
  // the end, as the platform does; only a start beyond the end is refused.
  if (range.location > length) {
    NSException(NSRangeException, "-[UITextView scrollRangeToVisible:]: range {" + std::to_string(range.location) +
                                      ", " + std::to_string(range.length) + "} out of bounds; string length " +
                                      std::to_string(length))
        .raise();
  }
  lastScrolled_ = range;
}

namespace testing {

std::optional<NSRange> lastScrolledRange(const UITextView& view) { return view.lastScrolled_; }

}  // namespace testing
}  // namespace ios
