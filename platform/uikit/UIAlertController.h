// File: platform/uikit/UIAlertController.h
//
// Alerts and action sheets, and their actions.
//
//   auto alert = ios::UIAlertController::make("Saved", std::optional<std::string>("Done"),
//                                             ios::UIAlertControllerStyle::alert);
//   alert->addAction(ios::UIAlertAction::make("OK", ios::UIAlertActionStyle::default_, nullptr));
//
// Fidelity: an alert is a controller keeping its title, message, style and actions in
// the order added; its view is the alert's own view, which keeps a tint colour.
// Tapping is simulated with UIAlertAction::perform() (a test seam). Text fields are
// absent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIViewController.h"

namespace ios {

enum class UIAlertControllerStyle : std::int64_t { actionSheet = 0, alert = 1 };
enum class UIAlertActionStyle : std::int64_t { default_ = 0, cancel = 1, destructive = 2 };

class UIAlertAction : public NSObject {
  IOS_RUNTIME_CLASS(UIAlertAction, NSObject);

 public:
  using Handler = std::function<void(UIAlertAction&)>;
  [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
  [[nodiscard]] UIAlertActionStyle style() const { return style_; }
  [[nodiscard]] bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  // Whether the action has a handler.
  [[nodiscard]] bool hasHandler() const { return static_cast<bool>(handler_); }
  // Runs the handler as a tap would (a test seam); nothing for a disabled action. The
  // action and its handler stay alive while the handler runs, also when the handler
  // drops the last reference to the action (dismissing its alert, say).
  void perform();

 protected:
  // UIAlertAction(title:style:handler:).
  UIAlertAction(std::optional<std::string> title, UIAlertActionStyle style, Handler handler)
      : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

 private:
  std::optional<std::string> title_;
  UIAlertActionStyle style_;
  Handler handler_;
  bool enabled_ = true;
};

// The view of an alert: it keeps the tint colour of the alert's buttons.
class UIAlertControllerView : public UIView {
  IOS_RUNTIME_CLASS(UIAlertControllerView, UIView);

 public:
  [[nodiscard]] const std::optional<UIColor>& tintColor() const { return tintColor_; }
  void setTintColor(std::optional<UIColor> color) { tintColor_ = std::move(color); }

 protected:
  explicit UIAlertControllerView(CGRect frame = CGRect()) : UIView(frame) {}

 private:
  std::optional<UIColor> tintColor_;
};

class UIAlertController : public UIViewController {
  IOS_RUNTIME_CLASS(UIAlertController, UIViewController);

 public:
  [[nodiscard]] const std::optional<std::string>& message() const { return message_; }
  void setMessage(std::optional<std::string> message) { message_ = std::move(message); }
  [[nodiscard]] UIAlertControllerStyle preferredStyle() const { return style_; }
  // The actions, in the order added.
  [[nodiscard]] const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }
  void addAction(const std::shared_ptr<UIAlertAction>& action);
  // addTextField(configurationHandler:): adds a text field (alerts only) and lets
  // `configure` set it up; a sheet refuses with NSInternalInconsistencyException.
  void addTextField(const std::function<void(UITextField&)>& configure);
  // The text fields, in the order added.
  [[nodiscard]] const std::vector<std::shared_ptr<UITextField>>& textFields() const { return textFields_; }
  // The alert's view.
  [[nodiscard]] std::shared_ptr<UIAlertControllerView> alertView();

 protected:
  // UIAlertController(title:message:preferredStyle:).
  UIAlertController(std::optional<std::string> title, std::optional<std::string> message,
                    UIAlertControllerStyle style);
  void loadView() override;

 private:
  std::optional<std::string> message_;
  UIAlertControllerStyle style_;
  std::vector<std::shared_ptr<UIAlertAction>> actions_;
  std::vector<std::shared_ptr<UITextField>> textFields_;
};

}  // namespace ios
