#include "platform/runtime/Send.h"

#include <cstdint>
#include <cstdio>
#include <mutex>

#include "platform/foundation/NSException.h"
#include "platform/foundation/Precondition.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/internal/RuntimeTables.h"

namespace ios::runtime_internal {
namespace {

// "-[Door open:]" or "+[Door open:]".
std::string methodLabel(const NSObject& receiver, SEL selector) {
  Class cls = receiver.getClass();
  return std::string(cls->data().isMeta ? "+[" : "-[") + cls->data().name + " " + sel_getName(selector) + "]";
}

[[noreturn]] void unrecognizedSelector(const NSObject& receiver, SEL selector) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&receiver));
  const bool isClass = receiver.getClass()->data().isMeta;
  NSException(NSInvalidArgumentException, methodLabel(receiver, selector) + ": unrecognized selector sent to " +
                                               (isClass ? "class " : "instance ") + address)
      .raise();
}

[[noreturn]] void signatureMismatch(const NSObject& receiver, SEL selector, const ImpBase& record,
                                    const std::type_info& sent) {
  ios::fatalError(methodLabel(receiver, selector) + ": message sent as " + demangledTypeName(sent) +
                  ", but the implementation is " + demangledTypeName(record.signature()));
}


// One remembered lookup: what a message `selector` sent to a receiver whose lookup
// starts at `start` runs, checked against `signature`, as of `generation`.
struct CachedLookup {
  Class start;
  SEL selector;
  const std::type_info* signature;
  const ImpBase* record;
  std::uint64_t generation;
};

// Each thread remembers its recent lookups in a small direct-mapped table, so senders
// share nothing and a hit costs a few loads. Zero-initialised, so no guard is needed.
constexpr std::size_t kCachedLookups = 256;
// Initial-exec: the runtime is linked at start, so its thread storage is reached
// without a call.
[[gnu::tls_model("initial-exec")]] thread_local CachedLookup lookupCache[kCachedLookups];

std::size_t cacheSlot(Class start, SEL selector) noexcept {
  const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(start)) ^
                    (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(selector)) * 0x9E3779B97F4A7C15ull);
  return static_cast<std::size_t>((bits ^ (bits >> 29)) >> 4) & (kCachedLookups - 1);
}

}  // namespace

const ImpBase& resolve(NSObject& receiver, Class start, SEL selector, const std::type_info& signature) {
  // The count is read before the lookup: a change made after it makes this entry stale
  // for every later send, on any thread, that sees the change.
  const std::uint64_t generation = methodTablesGeneration.load(std::memory_order_acquire);
  CachedLookup& cached = lookupCache[cacheSlot(start, selector)];
  if (cached.generation == generation && cached.start == start && cached.selector == selector &&
      cached.signature == &signature) {
    return *cached.record;
  }

  const ImpBase* record = nullptr;
  {
    auto& t = tables();
    std::shared_lock lock(t.lock);
    if (const objc_method* method = findMethodLocked(start, selector)) record = method->imp;
  }
  if (record == nullptr) unrecognizedSelector(receiver, selector);
  if (record->signature() != signature) signatureMismatch(receiver, selector, *record, signature);
  cached = CachedLookup{start, selector, &signature, record, generation};
  return *record;
}

Class superLookupStart(NSObject& receiver, Class current) {
  if (current == nullptr) ios::fatalError("sendSuper: no current class");
  // A class method's super call walks the metaclass chain.
  const bool receiverIsClass = class_isMetaClass(receiver.getClass());
  Class from = (receiverIsClass && !class_isMetaClass(current)) ? current->getClass() : current;
  return class_getSuperclass(from);
}

}  // namespace ios::runtime_internal
