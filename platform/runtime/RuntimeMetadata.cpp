// Protocols, properties and categories.
#include <algorithm>
#include <mutex>

#include "platform/foundation/Precondition.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/internal/RuntimeTables.h"

namespace ios {

using runtime_internal::tables;

namespace {

bool adoptsLocked(Class cls, const Protocol* protocol) {
  const auto& protocols = cls->data().protocols;
  return std::find(protocols.begin(), protocols.end(), protocol) != protocols.end();
}

// The newest declaration of `name` that `cls` itself makes; call under the lock.
objc_property* findOwnPropertyLocked(Class cls, std::string_view name) {
  auto& properties = cls->data().properties;
  for (auto it = properties.rbegin(); it != properties.rend(); ++it) {
    if ((*it)->name == name) return it->get();
  }
  return nullptr;
}

// Declarations are never changed in place (their text may be in use): a new one is
// appended and found first.
void declarePropertyLocked(Class cls, std::string_view name, std::string_view attributes) {
  if (auto* existing = findOwnPropertyLocked(cls, name); existing != nullptr && existing->attributes == attributes) {
    return;
  }
  cls->data().properties.push_back(
      std::make_unique<objc_property>(objc_property{std::string(name), std::string(attributes)}));
}

void attachMethodLocked(Class cls, const CategoryMethod& entry) {
  if (!entry.implementation) ios::fatalError("attachCategory: null implementation");
  auto& methods = cls->data().methods;
  if (objc_method* own = methods.find(entry.selector)) {
    own->imp = entry.implementation.record();
    return;
  }
  std::string types = entry.types.empty() ? entry.implementation.typeEncoding() : entry.types;
  methods.insert(std::make_unique<objc_method>(objc_method{entry.selector, entry.implementation.record(), types}));
}

}  // namespace

// ---- Protocols -----------------------------------------------------------------------

Protocol* objc_allocateProtocol(std::string_view name) {
  auto& t = tables();
  std::unique_lock lock(t.lock);
  std::string key(name);
  if (key.empty() || t.protocols.contains(key)) return nullptr;
  auto protocol = std::make_unique<Protocol>(key);
  Protocol* result = protocol.get();
  t.protocols.emplace(std::move(key), std::move(protocol));
  return result;
}

void objc_registerProtocol(Protocol* protocol) {
  if (protocol == nullptr) return;
  auto& t = tables();
  std::unique_lock lock(t.lock);
  protocol->registered = true;
}

Protocol* objc_getProtocol(std::string_view name) {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  auto it = t.protocols.find(std::string(name));
  return (it != t.protocols.end() && it->second->registered) ? it->second.get() : nullptr;
}

const char* protocol_getName(const Protocol* protocol) {
  return protocol != nullptr ? protocol->name.c_str() : "nil";
}

bool class_addProtocol(Class cls, Protocol* protocol) {
  if (cls == nullptr || protocol == nullptr) return false;
  auto& t = tables();
  std::unique_lock lock(t.lock);
  if (adoptsLocked(cls, protocol)) return false;
  cls->data().protocols.push_back(protocol);
  return true;
}

bool class_conformsToProtocol(Class cls, const Protocol* protocol) {
  if (cls == nullptr || protocol == nullptr) return false;
  auto& t = tables();
  std::shared_lock lock(t.lock);
  return adoptsLocked(cls, protocol);
}

bool conformsToProtocol(Class cls, const Protocol* protocol) {
  if (protocol == nullptr) return false;
  auto& t = tables();
  std::shared_lock lock(t.lock);
  for (Class c = cls; c != nullptr; c = c->data().superclass) {
    if (adoptsLocked(c, protocol)) return true;
  }
  return false;
}

// ---- Properties ----------------------------------------------------------------------

bool class_addProperty(Class cls, std::string_view name, std::string_view attributes) {
  if (cls == nullptr || name.empty()) return false;
  auto& t = tables();
  std::unique_lock lock(t.lock);
  if (findOwnPropertyLocked(cls, name) != nullptr) return false;
  declarePropertyLocked(cls, name, attributes);
  return true;
}

objc_property_t class_getProperty(Class cls, std::string_view name) {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  for (Class c = cls; c != nullptr; c = c->data().superclass) {
    if (auto* property = findOwnPropertyLocked(c, name)) return property;
  }
  return nullptr;
}

std::vector<objc_property_t> class_copyPropertyList(Class cls) {
  std::vector<objc_property_t> result;
  if (cls == nullptr) return result;
  auto& t = tables();
  std::shared_lock lock(t.lock);
  for (const auto& property : cls->data().properties) {
    // Only the newest declaration of each name.
    if (findOwnPropertyLocked(cls, property->name) == property.get()) result.push_back(property.get());
  }
  return result;
}

const char* property_getName(objc_property_t property) { return property != nullptr ? property->name.c_str() : nullptr; }

const char* property_getAttributes(objc_property_t property) {
  return property != nullptr ? property->attributes.c_str() : nullptr;
}

// ---- Categories ----------------------------------------------------------------------

void attachCategory(Class cls, const Category& category) {
  if (cls == nullptr || cls->data().isMeta) ios::fatalError("attachCategory: a category is attached to a class");
  auto& t = tables();
  std::unique_lock lock(t.lock);
  for (const auto& entry : category.instanceMethods) attachMethodLocked(cls, entry);
  for (const auto& entry : category.classMethods) attachMethodLocked(cls->getClass(), entry);
  runtime_internal::methodTablesChangedLocked();
  for (const auto& property : category.properties) declarePropertyLocked(cls, property.name, property.attributes);
  auto& names = cls->data().categories;
  if (std::find(names.begin(), names.end(), category.name) == names.end()) names.push_back(category.name);
}

std::vector<std::string> categoryNames(Class cls) {
  if (cls == nullptr) return {};
  auto& t = tables();
  std::shared_lock lock(t.lock);
  return cls->data().categories;
}

}  // namespace ios
