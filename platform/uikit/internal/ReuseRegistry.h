// File: platform/uikit/internal/ReuseRegistry.h
//
// The reuse-identifier registry that table and collection views share: a class or a
// nib per identifier, and the making of a view from it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UINib.h"

namespace ios::uikit_internal {

class ReuseRegistry {
 public:
  // Registers a class (null: forgets the identifier).
  void registerClass(Class viewClass, std::string_view identifier);
  // Registers a nib (null: forgets the identifier).
  void registerNib(const std::shared_ptr<UINib>& nib, std::string_view identifier);
  // A new view for `identifier`, a kind of `expected`. Raises
  // "NSInternalInconsistencyException" with `unregistered` as the reason when nothing is
  // registered, and with `invalidNib` when the nib's first object is not an `expected`.
  [[nodiscard]] id make(std::string_view identifier, Class expected, const std::string& unregistered,
                        const std::string& invalidNib) const;

 private:
  struct Entry {
    Class viewClass = nullptr;
    std::shared_ptr<UINib> nib;
  };
  std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace ios::uikit_internal
