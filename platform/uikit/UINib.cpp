#include "platform/uikit/UINib.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/foundation/NSException.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UINib, "UINib", nullptr)

namespace {

std::mutex nibLock;
std::map<std::string, std::function<std::vector<id>()>, std::less<>>& nibs() {
  static std::map<std::string, std::function<std::vector<id>()>, std::less<>> registry;
  return registry;
}

}  // namespace

std::shared_ptr<UINib> UINib::make(std::string_view nibName, const Bundle*) {
  return runtime_internal::construct<UINib>(std::string(nibName));
}

std::vector<id> UINib::instantiate(const id&, const id&) const {
  std::function<std::vector<id>()> factory;
  {
    std::lock_guard lock(nibLock);
    auto found = nibs().find(name_);
    if (found != nibs().end()) factory = found->second;
  }
  if (!factory) {
    NSException(NSInternalInconsistencyException,
                "Could not load NIB in bundle: 'main' with name '" + name_ + "'")
        .raise();
  }
  return factory();
}

namespace testing {

void registerNib(std::string_view name, std::function<std::vector<id>()> topLevelObjects) {
  std::lock_guard lock(nibLock);
  nibs()[std::string(name)] = std::move(topLevelObjects);
}

void resetNibs() {
  std::lock_guard lock(nibLock);
  nibs().clear();
}

}  // namespace testing
}  // namespace ios

#include "platform/foundation/Bundle.h"

namespace ios {

// Nibs live with UIKit, so the bundle's nib loading does too.
Bundle& Bundle::forClass(const void*) { return main(); }

std::vector<id> Bundle::loadNibNamed(std::string_view name, const id& owner) const {
  return UINib::make(name, this)->instantiate(owner);
}

}  // namespace ios
