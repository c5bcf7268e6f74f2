#include "platform/uikit/internal/ReuseRegistry.h"

#include "platform/foundation/NSException.h"
#include "platform/runtime/Runtime.h"

namespace ios::uikit_internal {

void ReuseRegistry::registerClass(Class viewClass, std::string_view identifier) {
  if (viewClass == nullptr) {
    entries_.erase(std::string(identifier));
    return;
  }
  entries_[std::string(identifier)] = Entry{viewClass, nullptr};
}

void ReuseRegistry::registerNib(const std::shared_ptr<UINib>& nib, std::string_view identifier) {
  if (nib == nullptr) {
    entries_.erase(std::string(identifier));
    return;
  }
  entries_[std::string(identifier)] = Entry{nullptr, nib};
}

id ReuseRegistry::make(std::string_view identifier, Class expected, const std::string& unregistered,
                       const std::string& invalidNib) const {
  auto it = entries_.find(identifier);
  if (it == entries_.end()) NSException(NSInternalInconsistencyException, unregistered).raise();
  id made;
  if (it->second.nib != nullptr) {
    std::vector<id> objects = it->second.nib->instantiate(nullptr);
    if (!objects.empty()) made = objects.front();
    if (made == nullptr || !made->isKindOfClass(expected)) {
      NSException(NSInternalInconsistencyException, invalidNib).raise();
    }
    return made;
  }
  made = class_createInstance(it->second.viewClass);
  if (made == nullptr || !made->isKindOfClass(expected)) {
    NSException(NSInternalInconsistencyException,
                "could not make an instance of " + NSStringFromClass(it->second.viewClass) +
                    " registered for identifier " + std::string(identifier))
        .raise();
  }
  return made;
}

}  // namespace ios::uikit_internal
