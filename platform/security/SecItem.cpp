#include "platform/security/SecItem.h"

#include <algorithm>
#include <mutex>

namespace ios {
namespace {

struct Item {
  std::string itemClass;
  std::string account;
  std::string accessible;
  Data data;
};

struct Store {
  std::mutex mutex;
  std::vector<Item> items;
  std::vector<SecQuery> deletes;
};

Store& store() {
  static auto* s = new Store;
  return *s;
}

const std::string* stringAttribute(const SecQuery& query, const std::string& key) {
  auto it = query.find(key);
  return it == query.end() ? nullptr : std::get_if<std::string>(&it->second);
}

// Whether `item` has every attribute the query names; value and return keys are not
// attributes.
bool matches(const Item& item, const SecQuery& query) {
  const std::string* itemClass = stringAttribute(query, kSecClass);
  if (!itemClass || *itemClass != item.itemClass) return false;
  if (const auto* account = stringAttribute(query, kSecAttrAccount); account && *account != item.account) return false;
  if (const auto* accessible = stringAttribute(query, kSecAttrAccessible);
      accessible && *accessible != item.accessible) {
    return false;
  }
  return true;
}

bool isGenericPassword(const SecQuery& query) {
  const std::string* itemClass = stringAttribute(query, kSecClass);
  return itemClass && *itemClass == kSecClassGenericPassword;
}

}  // namespace

OSStatus SecItemAdd(const SecQuery& attributes) {
  if (!isGenericPassword(attributes)) return errSecParam;
  Item item{kSecClassGenericPassword, "", kSecAttrAccessibleWhenUnlocked, {}};
  if (const auto* account = stringAttribute(attributes, kSecAttrAccount)) item.account = *account;
  if (const auto* accessible = stringAttribute(attributes, kSecAttrAccessible)) item.accessible = *accessible;
  if (auto it = attributes.find(kSecValueData); it != attributes.end()) {
    const Data* data = std::get_if<Data>(&it->second);
    if (!data) return errSecParam;
    item.data = *data;
  }
  auto& s = store();
  std::lock_guard lock(s.mutex);
  for (const auto& existing : s.items) {
    if (existing.itemClass == item.itemClass && existing.account == item.account) return errSecDuplicateItem;
  }
  s.items.push_back(std::move(item));
  return errSecSuccess;
}

OSStatus SecItemCopyMatching(const SecQuery& query, std::optional<SecValue>* result) {
  if (!isGenericPassword(query)) return errSecParam;
  auto& s = store();
  std::lock_guard lock(s.mutex);
  auto it = std::find_if(s.items.begin(), s.items.end(), [&](const Item& item) { return matches(item, query); });
  if (it == s.items.end()) return errSecItemNotFound;
  if (result) {
    auto wants = query.find(kSecReturnData);
    const bool returnData = wants != query.end() && std::holds_alternative<bool>(wants->second) &&
                            std::get<bool>(wants->second);
    *result = returnData ? std::optional<SecValue>(it->data) : std::nullopt;
  }
  return errSecSuccess;
}

OSStatus SecItemUpdate(const SecQuery& query, const SecQuery& attributesToUpdate) {
  if (!isGenericPassword(query)) return errSecParam;
  auto& s = store();
  std::lock_guard lock(s.mutex);
  bool found = false;
  for (auto& item : s.items) {
    if (!matches(item, query)) continue;
    found = true;
    if (auto it = attributesToUpdate.find(kSecValueData); it != attributesToUpdate.end()) {
      if (const Data* data = std::get_if<Data>(&it->second)) item.data = *data;
    }
    if (const auto* accessible = stringAttribute(attributesToUpdate, kSecAttrAccessible)) item.accessible = *accessible;
  }
  return found ? errSecSuccess : errSecItemNotFound;
}

OSStatus SecItemDelete(const SecQuery& query) {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.deletes.push_back(query);
  if (!isGenericPassword(query)) return errSecParam;
  const auto before = s.items.size();
  std::erase_if(s.items, [&](const Item& item) { return matches(item, query); });
  return s.items.size() == before ? errSecItemNotFound : errSecSuccess;
}

namespace testing {

std::vector<KeychainItem> keychainItems() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  std::vector<KeychainItem> out;
  for (const auto& item : s.items) out.push_back({item.account, item.accessible, item.data});
  return out;
}

std::vector<SecQuery> keychainDeleteQueries() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  return s.deletes;
}

void resetKeychain() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.items.clear();
  s.deletes.clear();
}

}  // namespace testing
}  // namespace ios
