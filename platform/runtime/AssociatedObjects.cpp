#include "platform/runtime/AssociatedObjects.h"

#include <mutex>
#include <unordered_map>

#include "platform/foundation/Precondition.h"
#include "platform/runtime/Selector.h"
#include "platform/runtime/Send.h"

namespace ios {
namespace runtime_internal {

struct Association {
  id strong;
  std::weak_ptr<NSObject> weak;  // for the assign policy
};

struct AssociationTable {
  std::unordered_map<const void*, Association> entries;
};

struct AssociationAccess {
  static std::atomic<AssociationTable*>& table(const NSObject& object) { return object.associations_; }
};

namespace {

std::mutex& associationLock() {
  static auto* lock = new std::mutex;  // used by destructors that may run during exit
  return *lock;
}

bool isCopyPolicy(objc_AssociationPolicy policy) {
  return policy == OBJC_ASSOCIATION_COPY || policy == OBJC_ASSOCIATION_COPY_NONATOMIC;
}

bool isKnownPolicy(objc_AssociationPolicy policy) {
  switch (policy) {
    case OBJC_ASSOCIATION_ASSIGN:
    case OBJC_ASSOCIATION_RETAIN_NONATOMIC:
    case OBJC_ASSOCIATION_COPY_NONATOMIC:
    case OBJC_ASSOCIATION_RETAIN:
    case OBJC_ASSOCIATION_COPY:
      return true;
  }
  return false;
}

}  // namespace

// Releases everything stored on a dying object, outside the lock.
void releaseAssociations(NSObject& object) {
  auto& slot = AssociationAccess::table(object);
  if (slot.load(std::memory_order_acquire) == nullptr) return;
  std::unique_ptr<AssociationTable> released;
  {
    std::lock_guard lock(associationLock());
    released.reset(slot.exchange(nullptr, std::memory_order_acq_rel));
  }
}

}  // namespace runtime_internal

using runtime_internal::Association;
using runtime_internal::AssociationAccess;
using runtime_internal::AssociationTable;

NSObject::~NSObject() { runtime_internal::releaseAssociations(*this); }

void objc_setAssociatedObject(NSObject* object, const void* key, id value, objc_AssociationPolicy policy) {
  if (!runtime_internal::isKnownPolicy(policy)) {
    ios::fatalError("objc_setAssociatedObject: unknown association policy " + std::to_string(policy));
  }
  if (object == nullptr) return;
  Association entry;
  if (value != nullptr) {
    if (runtime_internal::isCopyPolicy(policy)) {
      static const SEL copySelector = sel_registerName("copy");
      entry.strong = send<id>(value, copySelector);
    } else if (policy == OBJC_ASSOCIATION_ASSIGN) {
      entry.weak = value;
    } else {
      entry.strong = value;
    }
  }
  Association previous;  // released after the lock
  std::unique_ptr<AssociationTable> created;
  {
    std::lock_guard lock(runtime_internal::associationLock());
    auto& slot = AssociationAccess::table(*object);
    AssociationTable* table = slot.load(std::memory_order_relaxed);
    if (table == nullptr) {
      if (value == nullptr) return;
      created = std::make_unique<AssociationTable>();
      table = created.get();
      slot.store(created.release(), std::memory_order_release);
    }
    auto it = table->entries.find(key);
    if (value == nullptr) {
      if (it == table->entries.end()) return;
      previous = std::move(it->second);
      table->entries.erase(it);
    } else if (it != table->entries.end()) {
      previous = std::exchange(it->second, std::move(entry));
    } else {
      table->entries.emplace(key, std::move(entry));
    }
  }
}

id objc_getAssociatedObject(const NSObject* object, const void* key) {
  if (object == nullptr) return nullptr;
  std::lock_guard lock(runtime_internal::associationLock());
  const AssociationTable* table = AssociationAccess::table(*object).load(std::memory_order_relaxed);
  if (table == nullptr) return nullptr;
  auto it = table->entries.find(key);
  if (it == table->entries.end()) return nullptr;
  return it->second.strong != nullptr ? it->second.strong : it->second.weak.lock();
}

void objc_removeAssociatedObjects(NSObject* object) {
  if (object != nullptr) runtime_internal::releaseAssociations(*object);
}

}  // namespace ios
