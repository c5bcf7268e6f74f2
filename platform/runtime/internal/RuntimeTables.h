// File: platform/runtime/internal/RuntimeTables.h
//
// The runtime's tables: class contents, method records, protocols and the lock that
// guards them. Only the runtime's own .cpp files include this header.
//
// Locking: every table below is read under a shared lock on tables().lock and changed
// under an exclusive one. Records (classes, methods, properties, protocols) are never
// moved or freed, so a pointer to one stays valid after the lock is released.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/runtime/IMP.h"
#include "platform/runtime/NSObject.h"

namespace ios {

struct objc_method {
  SEL name;
  const runtime_internal::ImpBase* imp;  // changed under the exclusive lock
  std::string types;                     // fixed when the method is made
};

struct objc_property {
  std::string name;
  std::string attributes;  // changed under the exclusive lock
};

// A class's own methods: records owned in insertion order, found through an
// open-addressing index keyed by selector address (a lookup is a few instructions,
// which matters because every message walks these tables).
class MethodTable {
 public:
  // The method for `selector`, or null.
  [[nodiscard]] objc_method* find(SEL selector) const noexcept {
    if (index_.empty()) return nullptr;
    const std::size_t mask = index_.size() - 1;
    for (std::size_t i = slotOf(selector) & mask;; i = (i + 1) & mask) {
      objc_method* method = index_[i];
      if (method == nullptr || method->name == selector) return method;
    }
  }

  // Adds `method` unless a method for its selector exists; answers the record the
  // table holds for the selector and whether it was added.
  std::pair<objc_method*, bool> insert(std::unique_ptr<objc_method> method) {
    if (objc_method* existing = find(method->name)) return {existing, false};
    if ((owned_.size() + 1) * 2 > index_.size()) rebuild(index_.empty() ? 8 : index_.size() * 2);
    objc_method* added = owned_.emplace_back(std::move(method)).get();
    place(added);
    return {added, true};
  }

  [[nodiscard]] const std::vector<std::unique_ptr<objc_method>>& methods() const noexcept { return owned_; }

 private:
  static std::size_t slotOf(SEL selector) noexcept {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(selector));
    const std::uint64_t mixed = (bits >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed ^ (mixed >> 32));
  }
  void place(objc_method* method) {
    const std::size_t mask = index_.size() - 1;
    std::size_t i = slotOf(method->name) & mask;
    while (index_[i] != nullptr) i = (i + 1) & mask;
    index_[i] = method;
  }
  void rebuild(std::size_t capacity) {
    index_.assign(capacity, nullptr);
    for (const auto& method : owned_) place(method.get());
  }

  std::vector<std::unique_ptr<objc_method>> owned_;
  std::vector<objc_method*> index_;  // capacity a power of two, at most half full
};

class Protocol {
 public:
  explicit Protocol(std::string name) : name(std::move(name)) {}
  std::string name;
  bool registered = false;
};

struct objc_class::Data {
  std::string name;
  Class superclass = nullptr;
  bool isMeta = false;
  bool registered = false;
  bool native = false;  // the class of a C++ type (declared with IOS_RUNTIME_CLASS)
  runtime_internal::InstanceFactory factory = nullptr;
  MethodTable methods;
  std::vector<const Protocol*> protocols;
  std::vector<std::unique_ptr<objc_property>> properties;
  std::vector<std::string> categories;
};

namespace runtime_internal {

struct Tables {
  std::shared_mutex lock;
  std::vector<std::shared_ptr<objc_class>> owned;  // every class and metaclass ever made
  std::vector<Class> registered;                   // registered classes, in registration order
  std::unordered_map<std::string, Class> byName;   // classes allocated or registered
  std::unordered_map<std::string, std::unique_ptr<Protocol>> protocols;
};

// The process's tables; they live until the process ends.
Tables& tables();

// Counts the changes of any method table (a method added, replaced, exchanged, given
// another implementation, or attached by a category). Senders cache what they looked
// up together with the count they read before the lookup, so any change makes every
// cached lookup stale. Starts at 1: a zeroed cache entry is never current.
inline constinit std::atomic<std::uint64_t> methodTablesGeneration{1};

// Marks every cached lookup stale; call under the exclusive lock, after the change.
inline void methodTablesChangedLocked() noexcept { methodTablesGeneration.fetch_add(1, std::memory_order_release); }

// The method `cls` itself defines for `selector`; call under the lock.
inline objc_method* findOwnMethodLocked(Class cls, SEL selector) { return cls->data().methods.find(selector); }

// The method for `selector` in `cls` or its superclasses; call under the lock.
inline objc_method* findMethodLocked(Class cls, SEL selector) {
  for (Class c = cls; c != nullptr; c = c->data().superclass) {
    if (objc_method* method = c->data().methods.find(selector)) return method;
  }
  return nullptr;
}

}  // namespace runtime_internal
}  // namespace ios
