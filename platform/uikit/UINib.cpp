#include "platform/uikit/UINib.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(Bundle, "NSBundle", nullptr)
IOS_DEFINE_RUNTIME_CLASS(UINib, "UINib", nullptr)

namespace {

std::mutex nibLock;
std::map<std::pair<std::string, std::string>, std::function<std::vector<id>()>>& nibs() {
  static std::map<std::pair<std::string, std::string>, std::function<std::vector<id>()>> registry;
  return registry;
}

}  // namespace

const std::shared_ptr<Bundle>& Bundle::mainBundle() {
  static const std::shared_ptr<Bundle> main = Bundle::make(std::string("main"));
  return main;
}

std::shared_ptr<UINib> UINib::make(std::string_view nibName, const std::shared_ptr<Bundle>& bundle) {
  const std::string identifier = bundle ? bundle->bundleIdentifier() : Bundle::mainBundle()->bundleIdentifier();
  return runtime_internal::construct<UINib>(std::string(nibName), identifier);
}

std::vector<id> UINib::instantiate(const id&, const id&) const {
  std::function<std::vector<id>()> factory;
  {
    std::lock_guard lock(nibLock);
    auto found = nibs().find({name_, bundleIdentifier_});
    if (found != nibs().end()) factory = found->second;
  }
  if (!factory) {
    NSException(NSInternalInconsistencyException,
                "Could not load NIB in bundle: '" + bundleIdentifier_ + "' with name '" + name_ + "'")
        .raise();
  }
  return factory();
}

namespace testing {

void registerNib(std::string_view name, std::function<std::vector<id>()> topLevelObjects,
                 std::string_view bundleIdentifier) {
  std::lock_guard lock(nibLock);
  nibs()[{std::string(name), std::string(bundleIdentifier)}] = std::move(topLevelObjects);
}

void resetNibs() {
  std::lock_guard lock(nibLock);
  nibs().clear();
}

}  // namespace testing
}  // namespace ios
