#include "platform/uikit/UIAlertController.h"

#include "platform/foundation/NSException.h"
#include "platform/uikit/UIScreen.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIAlertAction, "UIAlertAction", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIAlertControllerView, "_UIAlertControllerView", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UIAlertController, "UIAlertController", nullptr)

void UIAlertAction::perform() {
  if (!enabled_ || !handler_) return;
  const id keepAction = shared_from_this();
  const Handler handler = handler_;
  handler(*this);
}

UIAlertController::UIAlertController(std::optional<std::string> title, std::optional<std::string> message,
                                     UIAlertControllerStyle style)
    : message_(std::move(message)), style_(style) {
  setTitle(std::move(title));
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
  if (action != nullptr) actions_.push_back(action);
}

void UIAlertController::loadView() { setView(UIAlertControllerView::make(UIScreen::main().bounds())); }

std::shared_ptr<UIAlertControllerView> UIAlertController::alertView() {
  return std::dynamic_pointer_cast<UIAlertControllerView>(view());
}

void UIAlertController::addTextField(const std::function<void(UITextField&)>& configure) {
  if (style_ != UIAlertControllerStyle::alert) {
    NSException("NSInternalInconsistencyException", "Text fields can only be added to an alert controller").raise();
  }
  auto field = UITextField::make();
  if (configure) configure(*field);
  textFields_.push_back(std::move(field));
}

}  // namespace ios
