#include "KPQuaslet/views/UIAlertController+KPExt.h"

#include <memory>
#include <vector>

#include "platform/audiotoolbox/AudioServices.h"
#include "platform/uikit/UIApplication.h"

namespace kp {

std::shared_ptr<ios::UIAlertController> makeAlert(std::string_view title, std::optional<std::string> message,
                                                  std::string_view defaultActionButtonTitle,
                                                  const std::optional<ios::UIColor>& tintColor) {
  auto alert = ios::UIAlertController::make(std::optional<std::string>(title), std::move(message),
                                            ios::UIAlertControllerStyle::alert);
  alert->addAction(ios::UIAlertAction::make(std::optional<std::string>(defaultActionButtonTitle),
                                            ios::UIAlertActionStyle::default_, ios::UIAlertAction::Handler()));
  if (tintColor) alert->alertView()->setTintColor(tintColor);
  return alert;
}

std::shared_ptr<ios::UIAlertController> makeAlert(std::string_view title, const ios::NSError& error,
                                                  std::string_view defaultActionButtonTitle,
                                                  const std::optional<ios::UIColor>& tintColor) {
  return makeAlert(title, error.localizedDescription(), defaultActionButtonTitle, tintColor);
}

std::shared_ptr<ios::UIAlertAction> addAction(ios::UIAlertController& alert, std::string_view title,
                                              ios::UIAlertActionStyle style, bool isEnabled,
                                              ios::UIAlertAction::Handler handler) {
  auto action = ios::UIAlertAction::make(std::optional<std::string>(title), style, std::move(handler));
  action->setEnabled(isEnabled);
  alert.addAction(action);
  return action;
}

void show(ios::UIAlertController& alert, bool animated, bool vibrate, std::function<void()> completion) {
  if (std::shared_ptr<ios::UIWindow> window = ios::UIApplication::shared()->keyWindow()) {
    if (std::shared_ptr<ios::UIViewController> root = window->rootViewController()) {
      root->present(std::static_pointer_cast<ios::UIViewController>(alert.shared_from_this()), animated,
                    std::move(completion));
    }
  }
  if (vibrate) ios::AudioServicesPlayAlertSound(ios::kSystemSoundID_Vibrate);
}

void removeBackgroundShadow(ios::UIWebView& webView) {
  // Hidden in order, then taken out together: one pass over the scroll view's subviews
  // however the shadows are spread among the views that stay.
  std::vector<std::shared_ptr<ios::UIView>> shadows;
  for (auto& view : webView.scrollView()->subviews()) {
    if (dynamic_cast<const ios::UIImageView*>(view.get()) != nullptr && view->frame().origin.x <= 500) {
      view->setHidden(true);
      shadows.push_back(std::move(view));
    }
  }
  ios::uikit_internal::removeEachFromSuperview(shadows);
}

void loadWebsite(ios::UIWebView& webView, std::string_view address) {
  std::optional<ios::URL> url = ios::URL::fromString(address);
  // Not an address: there is nothing to load.
  if (!url) return;
  webView.loadRequest(ios::URLRequest{*url, ios::NSURLRequestCachePolicy::useProtocolCachePolicy, 60});
}

void addTextField(ios::UIAlertController& alert, std::optional<std::string> text,
                  std::optional<std::string> placeholder, const std::shared_ptr<ios::NSObject>& editingChangedTarget,
                  ios::SEL editingChangedSelector) {
  alert.addTextField([&](ios::UITextField& field) {
    field.setText(std::move(text));
    field.setPlaceholder(std::move(placeholder));
    if (editingChangedTarget && editingChangedSelector) {
      field.addTarget(editingChangedTarget, editingChangedSelector, ios::UIControlEventOption::editingChanged);
    }
  });
}

}  // namespace kp
