#include "KPQuaslet/views/UITextView+KPExt.h"

#include <vector>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/views/internal/TextControlCategory.h"
#include "platform/foundation/NSRange.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIToolbar.h"

namespace kp {
namespace {

using ios::UITextView;

// The key of the view's edit-menu flag; only its address matters.
const char textViewCanPerformKey = 0;

const kp_internal::CategoryRegistration textViewCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.instanceMethods = {
      {views_internal::canPerformFlagSelector(),
       ios::imp([](UITextView& self, ios::SEL) -> bool { return canPerformAction(self); }), {}},
      {ios::sel_registerName("setCanPerformAction:"),
       ios::imp([](UITextView& self, ios::SEL, bool on) { setCanPerformAction(self, on); }), {}},
      {ios::canPerformActionSelector(),
       ios::imp([](UITextView& self, ios::SEL, ios::SEL action, ios::id sender) -> bool {
         return canPerformAction(self, action, sender);
       }),
       {}},
  };
  category.properties = {{"canPerformAction", "TB,N"}};
  ios::attachCategory(UITextView::classObject(), category);
});

}  // namespace

std::shared_ptr<UITextView> makeTextView(ios::CGFloat x, ios::CGFloat y, ios::CGFloat w, ios::CGFloat h,
                                         ios::CGFloat fontSize) {
  auto view = UITextView::make(ios::CGRect(x, y, w, h));
  view->font = ios::UIFont::fontWithName("HelveticaNeue", fontSize);
  view->setBackgroundColor(ios::UIColor::clear());
  view->setClipsToBounds(true);
  view->textAlignment = ios::NSTextAlignment::left;
  view->setUserInteractionEnabled(true);
  view->isEditable = false;
  view->isScrollEnabled = false;
  return view;
}

void addDoneButton(const std::shared_ptr<UITextView>& view, ios::UIBarStyle barStyle,
                   const std::optional<std::string>& title) {
  auto toolbar = ios::UIToolbar::make();
  toolbar->setBarStyle(barStyle);
  auto space = ios::UIBarButtonItem::make(ios::UIBarButtonSystemItem::flexibleSpace, nullptr, nullptr);
  auto done = ios::UIBarButtonItem::make(title.value_or("Done"), ios::UIBarButtonItemStyle::done, view,
                                         ios::sel_registerName("resignFirstResponder"));
  toolbar->setItems(std::vector{space, done}, false);
  toolbar->sizeToFit();
  view->inputAccessoryView = toolbar;
}

void clear(UITextView& view) {
  view.setText(std::string());
  view.setAttributedText(ios::NSAttributedString(std::string()));
}

void scrollToBottom(UITextView& view) {
  const std::size_t length = ios::utf16Length(view.text());
  // An empty text has no last unit: a range before the start would be out of bounds.
  if (length == 0) return;
  view.scrollRangeToVisible(ios::NSRange{length - 1, 1});
}

void scrollToTop(UITextView& view) { view.scrollRangeToVisible(ios::NSRange{0, 1}); }

bool canPerformAction(const UITextView& view) { return views_internal::storedBool(view, &textViewCanPerformKey, true); }

void setCanPerformAction(UITextView& view, bool enabled) {
  views_internal::storeNumber(view, &textViewCanPerformKey, enabled);
}

bool canPerformAction(UITextView& view, ios::SEL action, const std::shared_ptr<ios::NSObject>& sender) {
  return views_internal::editMenuAnswer(view, UITextView::classObject(), action, sender);
}

}  // namespace kp
