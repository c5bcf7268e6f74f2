// File: platform/uikit/UIStoryboard.h
//
// Storyboards: named sets of controllers made by identifier.
//
//   ios::testing::registerStoryboard("Main", {{"Login", [] { return LoginController::make(); }}});
//   auto login = ios::UIStoryboard::make("Main", nullptr)->instantiateViewController("Login");
//
// Fidelity: there are no storyboard files on this machine: a storyboard is a set of
// factories registered under a name, each making a fresh controller. Opening a name
// nothing is registered under raises "NSInvalidArgumentException", and so does an
// identifier the storyboard lacks, with the platform's reasons. Segues and initial
// controllers are absent; the bundle argument selects nothing (one bundle).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Bundle.h"
#include "platform/uikit/UIViewController.h"

namespace ios {

class UIStoryboard : public NSObject {
  IOS_RUNTIME_CLASS(UIStoryboard, NSObject);

 public:
  using Factories = std::map<std::string, std::function<std::shared_ptr<UIViewController>()>, std::less<>>;

  // UIStoryboard(name:bundle:); raises when no storyboard has that name.
  [[nodiscard]] static std::shared_ptr<UIStoryboard> make(std::string_view name, const Bundle* bundle);
  // A new controller for `identifier`; raises when the storyboard has none.
  [[nodiscard]] std::shared_ptr<UIViewController> instantiateViewController(std::string_view withIdentifier) const;

 protected:
  UIStoryboard(std::string name, Factories factories) : name_(std::move(name)), factories_(std::move(factories)) {}

 private:
  std::string name_;
  Factories factories_;
};

namespace testing {

// Registers the storyboard `name` with its controller factories, replacing an earlier one.
void registerStoryboard(std::string_view name, UIStoryboard::Factories factories);
// Forgets every registered storyboard.
void resetStoryboards();

}  // namespace testing
}  // namespace ios
