// File: platform/runtime/internal/RuntimeTables.h
//
// The runtime's tables: class contents, method records, protocols and the lock that
// guards them. Only the runtime's own .cpp files include this header.
//
// Locking: every table below is read under a shared lock on tables().lock and changed
// under an exclusive one. Records (classes, methods, properties, protocols) are never
// moved or freed, so a pointer to one stays valid after the lock is released.
#pragma once

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
  std::unordered_map<SEL, std::unique_ptr<objc_method>> methods;
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

// The method for `selector` in `cls` or its superclasses; call under the lock.
objc_method* findMethodLocked(Class cls, SEL selector);
// The method `cls` itself defines for `selector`; call under the lock.
objc_method* findOwnMethodLocked(Class cls, SEL selector);

}  // namespace runtime_internal
}  // namespace ios
