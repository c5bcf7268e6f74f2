#include "platform/security/SecItem.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/internal/AtomicFile.h"

namespace ios {
namespace {

struct Item {
  std::string accessible;
  Data data;
  // The item's entry in the store's file, kept so that a rewrite only copies bytes.
  std::string fileEntry;
};

// Items are generic passwords, so the account alone identifies one.
using Items = std::map<std::string, Item>;

struct Store {
  std::mutex mutex;
  Items items;
  std::vector<SecQuery> deletes;
  // The file the items were read from; another home folder means another store.
  std::optional<std::string> loadedPath;
  std::string homeFolder;
  bool keepFileAside = false;
  std::optional<std::string> loadError;
  // The size of the last file written, to size the next one.
  std::size_t fileSize = 0;
  int failingAdds = 0;
  OSStatus failingAddStatus = errSecSuccess;
};

Store& store() {
  static auto* s = new Store;
  return *s;
}

void report(const std::string& text) { std::fprintf(stderr, "keychain: %s\n", text.c_str()); }

std::string base64Of(std::string_view text) { return base64EncodedString(Data(text.begin(), text.end())); }

std::string entryFor(const std::string& account, const Item& item) {
  return "{\"account\":\"" + base64Of(account) + "\",\"accessible\":\"" + base64Of(item.accessible) +
         "\",\"data\":\"" + base64EncodedString(item.data) + "\"}";
}

Item makeItem(const std::string& account, std::string accessible, Data data) {
  Item item{std::move(accessible), std::move(data), {}};
  item.fileEntry = entryFor(account, item);
  return item;
}

std::string textFromBase64(const nlohmann::json& field) {
  auto bytes = dataFromBase64Encoded(field.get<std::string>());
  if (!bytes) throw std::runtime_error("bad Base64");
  return std::string(bytes->begin(), bytes->end());
}

// Reads the current home folder's items when they are not the ones in memory.
void ensureLoaded(Store& s) {
  const std::string home = NSHomeDirectory();
  const std::string path = home + "/Library/Keychains/items.json";
  if (s.loadedPath == path) return;
  s.items.clear();
  s.loadedPath = path;
  s.homeFolder = home;
  s.keepFileAside = false;
  s.loadError = foundation_internal::loadStoreFile(path, [&](const std::string& bytes) {
    const auto file = nlohmann::json::parse(bytes);
    Items loaded;
    for (const auto& entry : file.at("items")) {
      const std::string account = textFromBase64(entry.at("account"));
      const std::string data = textFromBase64(entry.at("data"));
      loaded.insert_or_assign(account, makeItem(account, textFromBase64(entry.at("accessible")),
                                                Data(data.begin(), data.end())));
    }
    s.items = std::move(loaded);
  });
  if (!s.loadError) return;
  s.keepFileAside = true;
  report("cannot read " + *s.loadError + "; starting empty, the file is kept");
}

// Writes every item to the file; false (reported) when they could not be written.
bool persist(Store& s) {
  std::string text;
  text.reserve(s.fileSize + 64);
  text += "{\"version\":1,\"class\":\"";
  text += kSecClassGenericPassword;
  text += "\",\"items\":[";
  bool first = true;
  for (const auto& [account, item] : s.items) {
    if (!first) text += ",\n";
    first = false;
    text += item.fileEntry;
  }
  text += "]}\n";
  std::string error;
  std::string note;
  const bool written =
      foundation_internal::writeStoreFile(*s.loadedPath, s.homeFolder, text, s.keepFileAside, &error, &note);
  if (!note.empty()) report(note);
  if (!written) {
    report(error);
    return false;
  }
  s.fileSize = text.size();
  return true;
}

const std::string* stringAttribute(const SecQuery& query, const std::string& key) {
  auto it = query.find(key);
  return it == query.end() ? nullptr : std::get_if<std::string>(&it->second);
}

bool isGenericPassword(const SecQuery& query) {
  const std::string* itemClass = stringAttribute(query, kSecClass);
  return itemClass && *itemClass == kSecClassGenericPassword;
}

// Whether the item has every attribute the query names besides its class; value and
// return keys are not attributes.
bool matches(const std::string& account, const Item& item, const SecQuery& query) {
  if (const auto* wanted = stringAttribute(query, kSecAttrAccount); wanted && *wanted != account) return false;
  if (const auto* accessible = stringAttribute(query, kSecAttrAccessible); accessible && *accessible != item.accessible) {
    return false;
  }
  return true;
}

// The items a generic-password query matches.
template <class F>
void forEachMatch(Items& items, const SecQuery& query, F&& body) {
  if (const auto* account = stringAttribute(query, kSecAttrAccount)) {
    auto it = items.find(*account);
    if (it != items.end() && matches(it->first, it->second, query)) body(it);
    return;
  }
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (matches(it->first, it->second, query)) body(it);
  }
}

}  // namespace

OSStatus SecItemAdd(const SecQuery& attributes) {
  if (!isGenericPassword(attributes)) return errSecParam;
  std::string account;
  std::string accessible = kSecAttrAccessibleWhenUnlocked;
  Data data;
  if (const auto* given = stringAttribute(attributes, kSecAttrAccount)) account = *given;
  if (const auto* given = stringAttribute(attributes, kSecAttrAccessible)) accessible = *given;
  if (auto it = attributes.find(kSecValueData); it != attributes.end()) {
    const Data* bytes = std::get_if<Data>(&it->second);
    if (!bytes) return errSecParam;
    data = *bytes;
  }
  auto& s = store();
  std::lock_guard lock(s.mutex);
  if (s.failingAdds > 0) {
    --s.failingAdds;
    return s.failingAddStatus;
  }
  ensureLoaded(s);
  if (s.items.contains(account)) return errSecDuplicateItem;
  auto [it, inserted] = s.items.emplace(account, makeItem(account, std::move(accessible), std::move(data)));
  if (!persist(s)) {
    s.items.erase(it);
    return errSecIO;
  }
  return errSecSuccess;
}

OSStatus SecItemCopyMatching(const SecQuery& query, std::optional<SecValue>* result) {
  if (!isGenericPassword(query)) return errSecParam;
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ensureLoaded(s);
  const Item* found = nullptr;
  forEachMatch(s.items, query, [&](Items::iterator it) {
    if (!found) found = &it->second;
  });
  if (!found) return errSecItemNotFound;
  if (result) {
    auto wants = query.find(kSecReturnData);
    const bool returnData = wants != query.end() && std::holds_alternative<bool>(wants->second) &&
                            std::get<bool>(wants->second);
    *result = returnData ? std::optional<SecValue>(found->data) : std::nullopt;
  }
  return errSecSuccess;
}

OSStatus SecItemUpdate(const SecQuery& query, const SecQuery& attributesToUpdate) {
  if (!isGenericPassword(query)) return errSecParam;
  const Data* newData = nullptr;
  if (auto it = attributesToUpdate.find(kSecValueData); it != attributesToUpdate.end()) {
    newData = std::get_if<Data>(&it->second);
    if (!newData) return errSecParam;
  }
  const std::string* newAccessible = stringAttribute(attributesToUpdate, kSecAttrAccessible);
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ensureLoaded(s);
  std::vector<std::pair<Items::iterator, Item>> previous;
  forEachMatch(s.items, query, [&](Items::iterator it) {
    previous.emplace_back(it, it->second);
    it->second = makeItem(it->first, newAccessible ? *newAccessible : it->second.accessible,
                          newData ? *newData : it->second.data);
  });
  if (previous.empty()) return errSecItemNotFound;
  if (!persist(s)) {
    for (auto& [it, item] : previous) it->second = std::move(item);
    return errSecIO;
  }
  return errSecSuccess;
}

OSStatus SecItemDelete(const SecQuery& query) {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.deletes.push_back(query);
  if (!isGenericPassword(query)) return errSecParam;
  ensureLoaded(s);
  Items removed;
  std::vector<Items::iterator> matched;
  forEachMatch(s.items, query, [&](Items::iterator it) { matched.push_back(it); });
  if (matched.empty()) return errSecItemNotFound;
  for (auto it : matched) removed.insert(s.items.extract(it));
  if (!persist(s)) {
    s.items.merge(removed);
    return errSecIO;
  }
  return errSecSuccess;
}

namespace testing {

std::vector<KeychainItem> keychainItems() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ensureLoaded(s);
  std::vector<KeychainItem> out;
  for (const auto& [account, item] : s.items) out.push_back({account, item.accessible, item.data});
  return out;
}

std::vector<SecQuery> keychainDeleteQueries() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  return s.deletes;
}

void failNextKeychainAdds(int count, OSStatus status) {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.failingAdds = count;
  s.failingAddStatus = status;
}

std::string keychainFilePath() { return NSHomeDirectory() + "/Library/Keychains/items.json"; }

std::optional<std::string> keychainLoadError() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ensureLoaded(s);
  return s.loadError;
}

void resetKeychain() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.items.clear();
  s.deletes.clear();
  s.loadedPath.reset();
  s.keepFileAside = false;
  s.failingAdds = 0;
  s.loadError.reset();
}

}  // namespace testing
}  // namespace ios
