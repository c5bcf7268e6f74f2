#include "platform/runtime/Selector.h"

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace ios {

struct objc_selector {
  std::string name;
};

namespace {

struct SelectorTable {
  std::shared_mutex lock;
  // Keys view the names held by the records, which never move.
  std::unordered_map<std::string_view, std::unique_ptr<objc_selector>> byName;
};

SelectorTable& table() {
  static auto* instance = new SelectorTable;  // lives until exit: selectors are immortal
  return *instance;
}

}  // namespace

SEL sel_registerName(std::string_view name) {
  auto& t = table();
  {
    std::shared_lock read(t.lock);
    if (auto it = t.byName.find(name); it != t.byName.end()) return it->second.get();
  }
  std::unique_lock write(t.lock);
  if (auto it = t.byName.find(name); it != t.byName.end()) return it->second.get();
  auto record = std::make_unique<objc_selector>(objc_selector{std::string(name)});
  const objc_selector* result = record.get();
  std::string_view key = record->name;
  t.byName.emplace(key, std::move(record));
  return result;
}

const char* sel_getName(SEL selector) { return selector != nullptr ? selector->name.c_str() : "<null selector>"; }

SEL NSSelectorFromString(std::string_view name) { return name.empty() ? nullptr : sel_registerName(name); }

std::string NSStringFromSelector(SEL selector) { return selector != nullptr ? selector->name : std::string(); }

}  // namespace ios
