#include "KPQuaslet/views/UITextField+KPExt.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/views/internal/LayerColor.h"
#include "KPQuaslet/views/internal/TextControlCategory.h"
#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/String.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace kp {
namespace {

using ios::UITextField;

// Keys of the field's associated state; only their addresses matter.
const char textFieldCanPerformKey = 0;
const std::int64_t kAssociationKeyMaxLength = 0;

struct Selectors {
  ios::SEL setCanPerformAction = ios::sel_registerName("setCanPerformAction:");
  ios::SEL maxLength = ios::sel_registerName("maxLength");
  ios::SEL setMaxLength = ios::sel_registerName("setMaxLength:");
  ios::SEL checkMaxLength = ios::sel_registerName("checkMaxLengthWithTextField:");
};

const Selectors& selectors() {
  static const Selectors s;
  return s;
}

std::int64_t maxLength(const UITextField& field) {
  return views_internal::storedInteger(field, &kAssociationKeyMaxLength, std::numeric_limits<std::int64_t>::max());
}

void setMaxLength(UITextField& field, std::int64_t length) {
  views_internal::storeNumber(field, &kAssociationKeyMaxLength, length);
  // Editing that ends while text is being composed ends the composition without an
  // edit: the text is checked then too, so that it never stays longer than the maximum.
  field.addTarget(field.shared_from_this(), selectors().checkMaxLength,
                  ios::UIControlEventOption::editingChanged | ios::UIControlEventOption::editingDidEnd);
}

// Cuts the text to the maximum length after an edit, keeping the selection.
void checkMaxLength(UITextField& field) {
  const auto& text = field.text();
  if (!text) return;
  // Composing text is left whole: cutting it would lose what the input method holds.
  if (field.markedTextRange()) return;
  const std::size_t count = ios::characterCount(*text);
  const std::int64_t limit = std::max<std::int64_t>(0, ios::send<std::int64_t>(&field, selectors().maxLength));
  if (count <= static_cast<std::uint64_t>(limit)) return;
  const auto selection = field.selectedTextRange();
  const std::size_t end = ios::index(*text, 0, static_cast<std::size_t>(limit)).value_or(text->size());
  field.setText(text->substr(0, end));
  // The field clamps a selection that now lies past the end of the text.
  field.setSelectedTextRange(selection);
}

const kp_internal::CategoryRegistration textFieldCategory([] {
  const Selectors& s = selectors();
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.instanceMethods = {
      {views_internal::canPerformFlagSelector(),
       ios::imp([](UITextField& self, ios::SEL) -> bool { return canPerformAction(self); }), {}},
      {s.setCanPerformAction, ios::imp([](UITextField& self, ios::SEL, bool on) { setCanPerformAction(self, on); }), {}},
      {ios::canPerformActionSelector(),
       ios::imp([](UITextField& self, ios::SEL, ios::SEL action, ios::id sender) -> bool {
         return canPerformAction(self, action, sender);
       }),
       {}},
      {s.maxLength, ios::imp([](UITextField& self, ios::SEL) -> std::int64_t { return maxLength(self); }), {}},
      {s.setMaxLength, ios::imp([](UITextField& self, ios::SEL, std::int64_t n) { setMaxLength(self, n); }), {}},
      {s.checkMaxLength, ios::imp([](UITextField& self, ios::SEL, ios::id) { checkMaxLength(self); }), {}},
  };
  category.properties = {{"canPerformAction", "TB,N"}, {"maxLength", "Tq,N"}};
  ios::attachCategory(UITextField::classObject(), category);
});

}  // namespace

std::shared_ptr<UITextField> makeTextField(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w, ios::CGFloat h,
                                           ios::CGFloat fontSize) {
  auto field = UITextField::make(ios::CGRect(x, y, w, h));
  field->setFont(ios::UIFont::systemFont(fontSize));
  field->setBackgroundColor(ios::UIColor::clear());
  field->setClipsToBounds(true);
  field->textAlignment = ios::NSTextAlignment::left;
  field->setUserInteractionEnabled(true);
  return field;
}

bool isEmpty(const UITextField& field) { return !field.text() || field.text()->empty(); }

std::optional<std::string> trimmedText(const UITextField& field) {
  if (!field.text()) return std::nullopt;
  return ios::trimmingCharacters(*field.text(), ios::CharacterSet::whitespacesAndNewlines());
}

void clear(UITextField& field) {
  field.setText(std::string());
  field.setAttributedText(ios::NSAttributedString(std::string()));
}

void setPlaceHolderTextColor(UITextField& field, const ios::UIColor& color) {
  const auto& placeholder = field.placeholder();
  if (!placeholder || placeholder->empty()) return;
  field.setAttributedPlaceholder(
      ios::NSAttributedString(*placeholder, {{std::string(ios::NSAttributedString::Key::foregroundColor), color}}));
}

void addPaddingLeft(UITextField& field, ios::CGFloat padding) {
  field.leftView = ios::UIView::make(ios::CGRect(0, 0, padding, field.frame().size.height));
  field.leftViewMode = ios::UITextFieldViewMode::always;
}

void addPaddingLeftIcon(UITextField& field, const ios::UIImage& image, ios::CGFloat padding) {
  auto icon = ios::UIImageView::make(image);
  icon->contentMode = ios::UIViewContentMode::center;
  field.leftView = icon;
  ios::CGRect frame = icon->frame();
  frame.size = ios::CGSize(image.size().width + padding, image.size().height);
  icon->setFrame(frame);
  field.leftViewMode = ios::UITextFieldViewMode::always;
}

void setBottomBorder(UITextField& field) {
  field.borderStyle = ios::UITextBorderStyle::none;
  const auto& layer = field.layer();
  layer->setBackgroundColor(views_internal::cgColor(ios::UIColor::white()));
  layer->setMasksToBounds(false);
  layer->setShadowColor(views_internal::cgColor(ios::UIColor::gray()));
  layer->setShadowOffset(ios::CGSize(0, 1));
  layer->setShadowOpacity(1);
  layer->setShadowRadius(0);
}

bool canPerformAction(const UITextField& field) { return views_internal::storedBool(field, &textFieldCanPerformKey, true); }

void setCanPerformAction(UITextField& field, bool enabled) {
  views_internal::storeNumber(field, &textFieldCanPerformKey, enabled);
}

bool canPerformAction(UITextField& field, ios::SEL action, const std::shared_ptr<ios::NSObject>& sender) {
  return views_internal::editMenuAnswer(field, UITextField::classObject(), action, sender);
}

}  // namespace kp
