#include "platform/uikit/UIStoryboard.h"

#include <mutex>

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIStoryboard, "UIStoryboard", nullptr)

namespace {

std::mutex storyboardMutex;
std::map<std::string, UIStoryboard::Factories, std::less<>>& storyboards() {
  static std::map<std::string, UIStoryboard::Factories, std::less<>> all;
  return all;
}

}  // namespace

std::shared_ptr<UIStoryboard> UIStoryboard::make(std::string_view name, const Bundle*) {
  Factories factories;
  {
    std::lock_guard<std::mutex> lock(storyboardMutex);
    auto it = storyboards().find(name);
    if (it == storyboards().end()) {
      NSException(NSInvalidArgumentException,
                  "Could not find a storyboard named '" + std::string(name) + "' in bundle NSBundle (loaded)")
          .raise();
    }
    factories = it->second;
  }
  return ::ios::runtime_internal::construct<UIStoryboard>(std::string(name), std::move(factories));
}

std::shared_ptr<UIViewController> UIStoryboard::instantiateViewController(std::string_view withIdentifier) const {
  auto it = factories_.find(withIdentifier);
  if (it == factories_.end()) {
    NSException(NSInvalidArgumentException, "Storyboard (" + name_ +
                                                 ") doesn't contain a view controller with identifier '" +
                                                 std::string(withIdentifier) + "'")
        .raise();
  }
  return it->second();
}

namespace testing {

void registerStoryboard(std::string_view name, UIStoryboard::Factories factories) {
  std::lock_guard<std::mutex> lock(storyboardMutex);
  storyboards()[std::string(name)] = std::move(factories);
}

void resetStoryboards() {
  std::lock_guard<std::mutex> lock(storyboardMutex);
  storyboards().clear();
}

}  // namespace testing
}  // namespace ios
