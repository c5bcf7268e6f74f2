#include "KPQuaslet/views/UITextField+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "KPQuaslet/views/UITextView+KPExt.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NSNumberObject.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/RuntimeTestClasses.h"

namespace {

using ios::UITextField;
using ios::UITextRange;
using ios::UITextView;
using ios::testing::sel;

class TextControlsKPExt : public ios::testing::PlatformFixture {};

std::int64_t maxLengthOf(const std::shared_ptr<UITextField>& field) {
  return ios::send<std::int64_t>(field, sel("maxLength"));
}
void setMaxLength(const std::shared_ptr<UITextField>& field, std::int64_t n) {
  ios::send<void>(field, sel("setMaxLength:"), n);
}

// A field that is the first responder, with `text` and the caret at its end.
std::shared_ptr<UITextField> editingField(const std::string& text = "") {
  auto field = kp::makeTextField(0, 0, 200, 30);
  field->setText(text);
  EXPECT_TRUE(field->becomeFirstResponder());
  return field;
}

TEST_F(TextControlsKPExt, EditMenuFlagDecidesCopySelectAllAndPasteAlone) {
  ios::testing::resetPasteboard();
  auto field = editingField("");
  auto view = kp::makeTextView(0, 0, 100, 100);
  for (ios::UIResponder* control : {static_cast<ios::UIResponder*>(field.get()), static_cast<ios::UIResponder*>(view.get())}) {
    // Never set: offered with no selection, no text and an empty pasteboard.
    for (ios::SEL action : {ios::copySelector(), ios::selectAllSelector(), ios::pasteSelector()}) {
      EXPECT_TRUE(ios::canPerformAction(*control, action, nullptr)) << ios::sel_getName(action);
    }
    ios::send<void>(control, sel("setCanPerformAction:"), false);
    EXPECT_FALSE(ios::send<bool>(control, sel("canPerformAction")));
    for (ios::SEL action : {ios::copySelector(), ios::selectAllSelector(), ios::pasteSelector()}) {
      EXPECT_FALSE(ios::canPerformAction(*control, action, nullptr)) << ios::sel_getName(action);
    }
  }
  // With the flag off, text selected and something to paste: still refused.
  field->setText("hello");
  field->setSelectedTextRange(UITextRange{0, 5});
  ios::UIPasteboard::general().setString("x");
  EXPECT_FALSE(kp::canPerformAction(*field, ios::copySelector(), nullptr));
  EXPECT_FALSE(kp::canPerformAction(*field));
}

TEST_F(TextControlsKPExt, OtherActionsGetTheSuperclassAnswerWhateverTheFlag) {
  auto field = editingField("abc");
  auto view = kp::makeTextView(0, 0, 100, 100);
  // "cut:" is not implemented by the classes and their responders: UIResponder says no.
  // A selector the control implements is offered by UIResponder's rule.
  for (bool flag : {true, false}) {
    kp::setCanPerformAction(*field, flag);
    kp::setCanPerformAction(*view, flag);
    EXPECT_FALSE(ios::canPerformAction(*field, ios::cutSelector(), nullptr));
    EXPECT_FALSE(ios::canPerformAction(*view, ios::cutSelector(), nullptr));
    EXPECT_TRUE(ios::canPerformAction(*field, sel("maxLength"), nullptr));
    EXPECT_TRUE(ios::canPerformAction(*view, sel("canPerformAction"), nullptr));
  }
  EXPECT_THAT(ios::categoryNames(UITextField::classObject()), ::testing::Contains("KPQuaslet"));
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(UITextField::classObject(), "maxLength")), "Tq,N");
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(UITextView::classObject(), "canPerformAction")),
               "TB,N");
}

TEST_F(TextControlsKPExt, FlagIsReadThroughTheRuntimeSoSubclassGettersCount) {
  ios::Class sub = ios::testing::makeTestClass("LockedField", UITextField::classObject());
  ios::class_addMethod(sub, sel("canPerformAction"), ios::imp([](UITextField&, ios::SEL) { return false; }));
  auto field = ios::runtime_internal::constructWithClass<UITextField>(sub);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(kp::canPerformAction(*field));  // nothing stored
  EXPECT_FALSE(ios::canPerformAction(*field, ios::pasteSelector(), nullptr));
}

TEST_F(TextControlsKPExt, StoredValuesOfAnotherKindReadAsDefaults) {
  auto field = editingField();
  // Replace whatever is stored under every key with a plain object.
  setMaxLength(field, 4);
  kp::setCanPerformAction(*field, false);
  ios::objc_removeAssociatedObjects(field.get());
  EXPECT_EQ(maxLengthOf(field), std::numeric_limits<std::int64_t>::max());
  EXPECT_TRUE(kp::canPerformAction(*field));
}

TEST_F(TextControlsKPExt, MaxLengthCutsWholeCharactersAfterEachEdit) {
  struct Row {
    const char* name;
    std::int64_t max;
    std::vector<std::string> typed;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"sixth character", 5, {"a", "b", "c", "d", "e", "f"}, "abcde"},
      {"pasted ten", 5, {"0123456789"}, "01234"},
      {"family emoji counts once", 2, {"👨‍👩‍👧", "🇫🇷", "x"}, "👨‍👩‍👧🇫🇷"},
      {"combining accent", 3, {"e\u0301", "a", "e\u0301", "z"}, "e\u0301ae\u0301"},
      {"chinese", 4, {"中华人民共和国"}, "中华人民"},
      {"zero empties", 0, {"a"}, ""},
      {"negative counts as zero", -3, {"abc"}, ""},
  };
  for (const Row& row : rows) {
    auto field = editingField();
    setMaxLength(field, row.max);
    EXPECT_EQ(maxLengthOf(field), row.max) << row.name;
    for (const std::string& t : row.typed) field->insertText(t);
    EXPECT_EQ(field->text(), row.expected) << row.name;
  }
}

TEST_F(TextControlsKPExt, MaxLengthDefaultsResetsAndKeepsTheSelection) {
  auto field = editingField("hello world");
  EXPECT_EQ(maxLengthOf(field), std::numeric_limits<std::int64_t>::max());
  field->insertText("!");  // no handler yet
  EXPECT_EQ(field->text(), "hello world!");

  setMaxLength(field, 10);
  setMaxLength(field, 3);  // the second registration adds no second cut
  EXPECT_EQ(field->actions(field.get(), ios::UIControlEventOption::editingChanged).size(), 1u);
  field->setSelectedTextRange(UITextRange{1, 1});
  field->insertText("X");
  EXPECT_EQ(field->text(), "hXe");
  EXPECT_EQ(field->selectedTextRange(), (UITextRange{2, 2}));  // caret after the X

  // A caret past the cut lands at the new end.
  field->setText("ab");
  field->insertText("cdef");
  EXPECT_EQ(field->text(), "abc");
  EXPECT_EQ(field->selectedTextRange(), (UITextRange{3, 3}));

  // Within the limit nothing changes, the selection included.
  field->setText("ab");
  field->setSelectedTextRange(UITextRange{0, 1});
  field->deleteBackward();
  EXPECT_EQ(field->text(), "b");
  EXPECT_EQ(field->selectedTextRange(), (UITextRange{0, 0}));
}

TEST_F(TextControlsKPExt, ComposingTextIsCutOnlyOnceCommitted) {
  auto field = editingField("你好");
  setMaxLength(field, 4);
  field->setMarkedText("zhongguo");  // pinyin still being composed
  EXPECT_EQ(field->text(), "你好zhongguo");
  field->insertText("中国");          // the input method commits
  EXPECT_EQ(field->text(), "你好中国");
  field->setMarkedText("ren");
  field->insertText("人");
  EXPECT_EQ(field->text(), "你好中国");
}

TEST_F(TextControlsKPExt, ComposingTextIsCutHoweverTheCompositionEnds) {
  struct Row {
    const char* name;
    std::function<void(UITextField&)> end;
  };
  const std::vector<Row> rows = {
      {"committed", [](UITextField& f) { f.insertText("abcdef"); }},
      {"editing ended", [](UITextField& f) { f.resignFirstResponder(); }},
  };
  for (const Row& row : rows) {
    auto field = editingField();
    setMaxLength(field, 3);
    field->setMarkedText("abcdefg");
    EXPECT_EQ(field->text(), "abcdefg") << row.name;  // not cut while composing
    row.end(*field);
    EXPECT_EQ(field->markedTextRange(), std::nullopt) << row.name;
    EXPECT_EQ(field->text(), "abc") << row.name;
  }
}

TEST_F(TextControlsKPExt, FieldConveniences) {
  auto field = kp::makeTextField(1, 2, 150, 30);
  EXPECT_EQ(field->font(), ios::UIFont::systemFont(17));
  EXPECT_EQ(kp::makeTextField(0, 0, 1, 1, 12)->font().pointSize(), 12);
  EXPECT_EQ(field->backgroundColor(), ios::UIColor::clear());
  EXPECT_TRUE(field->clipsToBounds());
  EXPECT_EQ(field->textAlignment, ios::NSTextAlignment::left);

  EXPECT_TRUE(kp::isEmpty(*field));
  EXPECT_EQ(kp::trimmedText(*field), std::nullopt);
  field->setText("  two  words \n");
  EXPECT_FALSE(kp::isEmpty(*field));
  EXPECT_EQ(kp::trimmedText(*field), "two  words");
  field->setText(" ");
  EXPECT_FALSE(kp::isEmpty(*field));
  kp::clear(*field);
  EXPECT_EQ(field->text(), "");
  EXPECT_TRUE(kp::isEmpty(*field));

  kp::setPlaceHolderTextColor(*field, ios::UIColor::red());  // no placeholder: nothing
  EXPECT_EQ(field->attributedPlaceholder(), std::nullopt);
  field->setPlaceholder("Name");
  kp::setPlaceHolderTextColor(*field, ios::UIColor::red());
  ASSERT_TRUE(field->attributedPlaceholder().has_value());
  EXPECT_EQ(std::any_cast<ios::UIColor>(
                field->attributedPlaceholder()->attribute(ios::NSAttributedString::Key::foregroundColor, 0)),
            ios::UIColor::red());

  kp::addPaddingLeft(*field, 8);
  EXPECT_EQ(field->leftView->frame(), ios::CGRect(0, 0, 8, 30));
  EXPECT_EQ(field->leftViewMode, ios::UITextFieldViewMode::always);
  kp::addPaddingLeftIcon(*field, kp_test::makeImage(16, 12, [](auto, auto) { return kp_test::kRed; }), 10);
  auto icon = std::dynamic_pointer_cast<ios::UIImageView>(field->leftView);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->frame(), ios::CGRect(0, 0, 26, 12));
  EXPECT_EQ(icon->contentMode, ios::UIViewContentMode::center);

  kp::setBottomBorder(*field);
  EXPECT_EQ(field->borderStyle, ios::UITextBorderStyle::none);
  EXPECT_FALSE(field->layer()->masksToBounds());
  EXPECT_EQ(field->layer()->shadowOffset(), ios::CGSize(0, 1));
  EXPECT_EQ(field->layer()->shadowOpacity(), 1.0f);
  EXPECT_EQ(field->layer()->shadowRadius(), 0);
  EXPECT_EQ(field->layer()->shadowColor(), ios::UIColor::gray().cgColor());
  EXPECT_EQ(field->layer()->backgroundColor(), ios::UIColor::white().cgColor());
}

TEST_F(TextControlsKPExt, TextViewConveniences) {
  auto view = kp::makeTextView(0, 0, 100, 50);
  EXPECT_EQ(view->font, ios::UIFont::fontWithName("HelveticaNeue", 17));
  EXPECT_EQ(kp::makeTextView(0, 0, 1, 1, 13)->font->pointSize(), 13);
  EXPECT_FALSE(view->isEditable);
  EXPECT_FALSE(view->isScrollEnabled);
  EXPECT_TRUE(view->isUserInteractionEnabled());

  // An empty text has no last character; its first is asked for as (0, 1) all the same,
  // which the platform accepts.
  kp::scrollToBottom(*view);
  EXPECT_EQ(ios::testing::lastScrolledRange(*view), std::nullopt);
  kp::scrollToTop(*view);
  EXPECT_EQ(ios::testing::lastScrolledRange(*view), (ios::NSRange{0, 1}));
  EXPECT_THROW(view->scrollRangeToVisible(ios::NSRange{static_cast<std::size_t>(-1), 1}), ios::NSException);
  EXPECT_THROW(view->scrollRangeToVisible(ios::NSRange{1, 0}), ios::NSException);

  view->setText("ab👍");  // 4 UTF-16 units
  kp::scrollToBottom(*view);
  EXPECT_EQ(ios::testing::lastScrolledRange(*view), (ios::NSRange{3, 1}));
  kp::scrollToTop(*view);
  EXPECT_EQ(ios::testing::lastScrolledRange(*view), (ios::NSRange{0, 1}));
  kp::clear(*view);
  EXPECT_EQ(view->text(), "");
}

TEST_F(TextControlsKPExt, DoneButtonAboveTheKeyboardEndsEditing) {
  struct Row {
    ios::UIBarStyle style;
    std::optional<std::string> title;
    std::string shown;
  };
  for (const Row& row : std::vector<Row>{{ios::UIBarStyle::default_, std::nullopt, "Done"},
                                         {ios::UIBarStyle::black, std::string("Fertig"), "Fertig"}}) {
    auto view = kp::makeTextView(0, 0, 100, 50);
    kp::addDoneButton(view, row.style, row.title);
    auto toolbar = std::dynamic_pointer_cast<ios::UIToolbar>(view->inputAccessoryView);
    ASSERT_NE(toolbar, nullptr) << row.shown;
    EXPECT_EQ(toolbar->barStyle(), row.style);
    EXPECT_EQ(toolbar->frame(), ios::CGRect(0, 0, ios::UIScreen::main().bounds().size.width, 44));
    ASSERT_TRUE(toolbar->items().has_value());
    ASSERT_EQ(toolbar->items()->size(), 2u);
    const auto& space = toolbar->items()->at(0);
    EXPECT_EQ(space->systemItem(), ios::UIBarButtonSystemItem::flexibleSpace);
    EXPECT_EQ(space->target(), nullptr);
    EXPECT_EQ(space->action(), nullptr);
    const auto& done = toolbar->items()->at(1);
    EXPECT_EQ(done->title(), row.shown);
    EXPECT_EQ(done->style(), ios::UIBarButtonItemStyle::done);
    EXPECT_EQ(done->target(), view);
    EXPECT_STREQ(ios::sel_getName(done->action()), "resignFirstResponder");

    // Tapping the button sends its action through the application.
    ASSERT_TRUE(view->becomeFirstResponder());
    EXPECT_TRUE(ios::UIApplication::shared()->sendAction(done->action(), done->target(), done));
    EXPECT_FALSE(view->isFirstResponder());

    // The button does not keep the view alive (the view keeps the button).
    const std::weak_ptr<UITextView> gone = view;
    view.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(done->target(), nullptr);
    EXPECT_FALSE(ios::UIApplication::shared()->sendAction(done->action(), done->target(), done));
  }
}

}  // namespace
