#include "platform/runtime/Send.h"

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

}  // namespace

const ImpBase& resolve(NSObject& receiver, Class start, SEL selector, const std::type_info& signature) {
  const ImpBase* record = nullptr;
  {
    auto& t = tables();
    std::shared_lock lock(t.lock);
    if (const objc_method* method = findMethodLocked(start, selector)) record = method->imp;
  }
  if (record == nullptr) unrecognizedSelector(receiver, selector);
  if (record->signature() != signature) signatureMismatch(receiver, selector, *record, signature);
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
