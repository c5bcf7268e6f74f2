#include "platform/security/SecItem.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/internal/AtomicFile.h"
#include "platform/security/internal/ItemDatabase.h"
#include "platform/security/internal/LegacyItemsFile.h"

namespace ios {
namespace {

using security_internal::ItemDatabase;
using security_internal::ItemFilter;
using security_internal::Outcome;
using security_internal::StoredItem;

constexpr const char* kKeychainFolder = "/Library/Keychains";
constexpr const char* kDatabaseName = "/keychain.db";

struct Store {
  std::mutex mutex;
  // The connection to the database of the home folder `home`, opened on first use.
  std::unique_ptr<ItemDatabase> database;
  std::optional<std::string> home;
  // Why that database could not be opened or its older file imported.
  std::optional<std::string> loadError;
  // The application identifiers whose older, unscoped items have been taken over through
  // this connection.
  std::set<std::string> claimedFor;
  bool recordingDeletes = false;
  std::vector<SecQuery> deletes;
  int failingWrites = 0;
  OSStatus failingWriteStatus = errSecSuccess;
};

void report(const std::string& text) { std::fprintf(stderr, "keychain: %s\n", text.c_str()); }

// Connections a child process inherited through fork. SQLite's locks belong to the
// process that took them, so the child must neither use nor close these; they are kept
// here, reachable, for the child's lifetime.
std::vector<std::unique_ptr<ItemDatabase>>& inheritedConnections() {
  static auto* connections = new std::vector<std::unique_ptr<ItemDatabase>>;
  return *connections;
}

Store& store() {
  static Store* s = [] {
    auto* made = new Store;
    // Fork while no thread is inside the store, and let the child start afresh.
    ::pthread_atfork([] { store().mutex.lock(); }, [] { store().mutex.unlock(); },
                     [] {
                       Store& child = store();
                       if (child.database) inheritedConnections().push_back(std::move(child.database));
                       child.home.reset();
                       child.claimedFor.clear();
                       child.mutex.unlock();
                     });
    return made;
  }();
  return *s;
}

// Reports `error` once for as long as it stays the same.
void remember(Store& s, std::optional<std::string> error) {
  if (error && error != s.loadError) report(*error);
  s.loadError = std::move(error);
}

// Creates the owner-only folder and database file under an existing home folder, or
// narrows the file's permissions to the owner when it has wider ones.
bool prepareFiles(const std::string& home, const std::string& path, std::string* error) {
  struct stat info {};
  if (::stat(home.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = "cannot open the keychain " + path + ": the home folder " + home + " does not exist";
    return false;
  }
  if (!foundation_internal::makeParentFolders(path, 0600, error)) return false;
  if (::stat(path.c_str(), &info) == 0) {
    if ((info.st_mode & 077) != 0) ::chmod(path.c_str(), info.st_mode & 0700);
    return true;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST) return true;
    *error = "cannot create the keychain " + path + ": " + std::strerror(errno);
    return false;
  }
  // The umask may have narrowed the bits; the owner needs to read and write.
  ::fchmod(fd, 0600);
  ::close(fd);
  return true;
}

// Gives the application `group` its own copy of every item stored without an access
// group (by earlier versions, which kept no groups), once per application: such an item
// cannot tell which application stored it, and each may have relied on it.
void claimUnscopedItems(Store& s, const std::string& group) {
  if (group.empty() || s.claimedFor.contains(group)) return;
  if (s.database->claimUnscopedItems(group) != Outcome::done) return;
  s.claimedFor.insert(group);
}

// The current user's database, opened (and the older items file imported) on first
// use, with the unscoped items of earlier versions claimed for `group`; null when it
// cannot be opened.
ItemDatabase* openDatabase(Store& s, const std::string& group) {
  const std::string home = userHomeDirectory();
  if (s.database && s.home == home) {
    claimUnscopedItems(s, group);
    return s.database.get();
  }
  if (s.home != home) s.loadError.reset();
  s.database.reset();
  s.claimedFor.clear();
  s.home = home;
  const std::string folder = home + kKeychainFolder;
  const std::string path = folder + kDatabaseName;
  std::string error;
  if (prepareFiles(home, path, &error)) s.database = ItemDatabase::open(path, &error);
  if (!s.database) {
    remember(s, error);
    return nullptr;
  }
  auto imported = security_internal::importLegacyItems(*s.database, folder);
  if (imported.note) report(*imported.note);
  remember(s, imported.problem);
  claimUnscopedItems(s, group);
  return s.database.get();
}

OSStatus statusOf(Outcome outcome, const ItemDatabase& database) {
  switch (outcome) {
    case Outcome::done: return errSecSuccess;
    case Outcome::duplicate: return errSecDuplicateItem;
    case Outcome::notFound: return errSecItemNotFound;
    case Outcome::failed: break;
  }
  report(database.lastError());
  return errSecIO;
}

// Reads the text attribute `key` into `value`; false when it is there but not text.
bool textAttribute(const SecQuery& query, const char* key, std::optional<std::string>* value) {
  auto it = query.find(key);
  if (it == query.end()) return true;
  const std::string* text = std::get_if<std::string>(&it->second);
  if (!text) return false;
  *value = *text;
  return true;
}

// The items a generic-password query names, in the application's own access group
// unless the query names one; errSecParam for any other query.
OSStatus filterOf(const SecQuery& query, ItemFilter* filter) {
  std::optional<std::string> itemClass;
  if (!textAttribute(query, kSecClass, &itemClass) || itemClass != kSecClassGenericPassword) return errSecParam;
  filter->itemClass = *itemClass;
  const bool text = textAttribute(query, kSecAttrAccount, &filter->account) &&
                    textAttribute(query, kSecAttrService, &filter->service) &&
                    textAttribute(query, kSecAttrAccessGroup, &filter->accessGroup) &&
                    textAttribute(query, kSecAttrAccessible, &filter->accessible);
  if (!filter->accessGroup) filter->accessGroup = applicationIdentifier();
  return text ? errSecSuccess : errSecParam;
}

// Takes one of the failures a test asked for; true when the call is to fail with it.
bool failsOnRequest(Store& s, OSStatus* status) {
  if (s.failingWrites <= 0) return false;
  --s.failingWrites;
  *status = s.failingWriteStatus;
  return true;
}

// The bytes of kSecValueData; false when it is there but not bytes.
bool dataAttribute(const SecQuery& query, std::optional<Data>* value) {
  auto it = query.find(kSecValueData);
  if (it == query.end()) return true;
  const Data* bytes = std::get_if<Data>(&it->second);
  if (!bytes) return false;
  *value = *bytes;
  return true;
}

}  // namespace

OSStatus SecItemAdd(const SecQuery& attributes) {
  ItemFilter named;
  std::optional<Data> data;
  if (filterOf(attributes, &named) != errSecSuccess || !dataAttribute(attributes, &data)) return errSecParam;
  const StoredItem item{named.itemClass,
                        named.account.value_or(""),
                        named.service.value_or(""),
                        *named.accessGroup,
                        named.accessible.value_or(kSecAttrAccessibleWhenUnlocked),
                        data.value_or(Data())};
  auto& s = store();
  std::lock_guard lock(s.mutex);
  if (OSStatus failed; failsOnRequest(s, &failed)) return failed;
  ItemDatabase* database = openDatabase(s, item.accessGroup);
  if (!database) return errSecIO;
  return statusOf(database->add(item), *database);
}

OSStatus SecItemCopyMatching(const SecQuery& query, std::optional<SecValue>* result) {
  ItemFilter filter;
  if (filterOf(query, &filter) != errSecSuccess) return errSecParam;
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ItemDatabase* database = openDatabase(s, *filter.accessGroup);
  if (!database) return errSecIO;
  StoredItem found;
  const OSStatus status = statusOf(database->findFirst(filter, &found), *database);
  if (status != errSecSuccess || !result) return status;
  auto wants = query.find(kSecReturnData);
  const bool returnData =
      wants != query.end() && std::holds_alternative<bool>(wants->second) && std::get<bool>(wants->second);
  *result = returnData ? std::optional<SecValue>(std::move(found.secret)) : std::nullopt;
  return errSecSuccess;
}

OSStatus SecItemUpdate(const SecQuery& query, const SecQuery& attributesToUpdate) {
  ItemFilter filter;
  std::optional<Data> newData;
  std::optional<std::string> newAccessible;
  if (filterOf(query, &filter) != errSecSuccess || !dataAttribute(attributesToUpdate, &newData) ||
      !textAttribute(attributesToUpdate, kSecAttrAccessible, &newAccessible)) {
    return errSecParam;
  }
  auto& s = store();
  std::lock_guard lock(s.mutex);
  if (OSStatus failed; failsOnRequest(s, &failed)) return failed;
  ItemDatabase* database = openDatabase(s, *filter.accessGroup);
  if (!database) return errSecIO;
  return statusOf(database->update(filter, newData, newAccessible), *database);
}

OSStatus SecItemDelete(const SecQuery& query) {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  if (s.recordingDeletes) s.deletes.push_back(query);
  ItemFilter filter;
  if (filterOf(query, &filter) != errSecSuccess) return errSecParam;
  ItemDatabase* database = openDatabase(s, *filter.accessGroup);
  if (!database) return errSecIO;
  return statusOf(database->remove(filter), *database);
}

namespace testing {

std::vector<KeychainItem> keychainItems() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  std::vector<StoredItem> items;
  ItemDatabase* database = openDatabase(s, applicationIdentifier());
  if (!database || database->all(&items) != Outcome::done) return {};
  std::vector<KeychainItem> out;
  for (auto& item : items) {
    out.push_back({std::move(item.account), std::move(item.accessible), std::move(item.secret),
                   std::move(item.service), std::move(item.accessGroup), std::move(item.itemClass)});
  }
  return out;
}

void recordKeychainDeletes() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.recordingDeletes = true;
}

std::vector<SecQuery> keychainDeleteQueries() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  return s.deletes;
}

void failNextKeychainWrites(int count, OSStatus status) {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.failingWrites = count;
  s.failingWriteStatus = status;
}

std::string keychainFilePath() { return userHomeDirectory() + kKeychainFolder + kDatabaseName; }

std::optional<std::string> keychainLoadError() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  (void)openDatabase(s, applicationIdentifier());
  return s.loadError;
}

std::vector<std::string> keychainIntegrityProblems() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  ItemDatabase* database = openDatabase(s, applicationIdentifier());
  if (!database) return {s.loadError.value_or("cannot open the keychain")};
  std::vector<std::string> problems;
  if (database->integrityProblems(&problems) != Outcome::done) return {database->lastError()};
  return problems;
}

void resetKeychain() {
  auto& s = store();
  std::lock_guard lock(s.mutex);
  s.database.reset();
  s.home.reset();
  s.loadError.reset();
  s.claimedFor.clear();
  s.recordingDeletes = false;
  s.deletes.clear();
  s.failingWrites = 0;
}

}  // namespace testing
}  // namespace ios
