// File: platform/security/SecItem.h
//
// The keychain's item calls: add, find, update and delete items described by a query
// of attribute keys and values.
//
//   ios::SecQuery query{{ios::kSecClass, ios::kSecClassGenericPassword},
//                       {ios::kSecAttrAccount, "token"},
//                       {ios::kSecValueData, ios::Data{1, 2, 3}}};
//   ios::SecItemAdd(query);  // errSecSuccess
//
// Fidelity: a store of generic-password items that keeps the platform's rules: an item
// is identified by its class, account, service and access group (adding a second one is
// errSecDuplicateItem); a search, update or delete matches the query's attributes
// (account, service, access group, accessibility) and ignores the value and return
// keys; one that matches nothing is errSecItemNotFound. An item added without a service
// has an empty one. Constant values are their own names.
//
// Access groups: every application reaches the items of its own access group, its
// application identifier (ios::applicationIdentifier()): an item added without a group
// gets that one, and a search, update or delete without a group looks only there, so
// that one application's delete of every item leaves the others' alone. A query that
// names a group reaches that group (this stand-in has no entitlements to refuse it).
// Items stored by earlier versions, which kept no groups, tell no application apart:
// the first time an application uses the keychain, each such item is copied into its
// group (items it already has are kept), once per application; the originals stay for
// the other applications to take over.
//
// Storage: one SQLite database per user, shared by the user's applications as the
// platform's keychain is: "<user home>/Library/Keychains/keychain.db"
// (with its "-wal" and "-shm" companions), owner-only (0600 files in a 0700 folder; a
// file found with wider permissions is narrowed to the owner). The home folder must
// exist: the store never makes one up. Each add, update and delete is one transaction,
// and its status is the transaction's outcome: success, duplicate item, item not found,
// or errSecIO when the database cannot be opened or written (the reason goes to
// standard error; nothing has changed then). A store that has returned survives the
// process being killed at any moment; a power cut may undo the last few changes but
// leaves the file consistent (write-ahead log with synchronous=NORMAL: flushing the disk
// on every commit would cost about a millisecond per store). Deleted secrets are zeroed
// in the file rather than left in its free space.
//
// The log is kept below a few megabytes between checkpoints. A keychain that this
// process may read but not write (a read-only home folder) is opened for reading: its
// items are found, and changes fail with errSecIO.
//
// Sharing: processes (and threads) of one user share its items; a change
// waits up to five seconds for another process's write to finish rather than failing.
// A process made by fork opens its own connection on first use.
//
// Older files: the first use of a home folder that has the items file of earlier
// versions ("Library/Keychains/items.json") imports its items in one transaction (items
// already in the database are kept) and, once that has committed, moves the file aside
// to "items.json.imported"; it is never deleted, and it is imported once only. A file
// that cannot be read is reported (on standard error and by
// ios::testing::keychainLoadError()) and left in place, and the keychain works without
// its items.
//
// Differs: an attribute whose value is not text makes the query errSecParam instead of
// being ignored (ignored, it would widen a delete to every item). The secrets are stored
// in the clear, not encrypted: the file's permissions are their only protection.
// Absent: other item classes, match limits above one, synchronisation, encryption.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/Data.h"

namespace ios {

using OSStatus = std::int32_t;
using SecValue = std::variant<bool, std::string, Data>;
using SecQuery = std::map<std::string, SecValue>;

inline constexpr OSStatus errSecSuccess = 0;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus errSecParam = -50;
inline constexpr OSStatus errSecIO = -36;
inline constexpr OSStatus errSecDuplicateItem = -25299;
inline constexpr OSStatus errSecItemNotFound = -25300;

inline constexpr const char* kSecClass = "kSecClass";
inline constexpr const char* kSecClassGenericPassword = "kSecClassGenericPassword";
inline constexpr const char* kSecAttrAccount = "kSecAttrAccount";
inline constexpr const char* kSecAttrService = "kSecAttrService";
inline constexpr const char* kSecAttrAccessGroup = "kSecAttrAccessGroup";
inline constexpr const char* kSecAttrAccessible = "kSecAttrAccessible";
inline constexpr const char* kSecValueData = "kSecValueData";
inline constexpr const char* kSecReturnData = "kSecReturnData";
inline constexpr const char* kSecMatchLimit = "kSecMatchLimit";
inline constexpr const char* kSecMatchLimitOne = "kSecMatchLimitOne";
inline constexpr const char* kSecAttrAccessibleWhenUnlocked = "kSecAttrAccessibleWhenUnlocked";
inline constexpr const char* kSecAttrAccessibleWhenUnlockedThisDeviceOnly = "kSecAttrAccessibleWhenUnlockedThisDeviceOnly";
inline constexpr const char* kSecAttrAccessibleAfterFirstUnlock = "kSecAttrAccessibleAfterFirstUnlock";
inline constexpr const char* kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly =
    "kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly";
inline constexpr const char* kSecAttrAccessibleAlways = "kSecAttrAccessibleAlways";
inline constexpr const char* kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly =
    "kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly";
inline constexpr const char* kSecAttrAccessibleAlwaysThisDeviceOnly = "kSecAttrAccessibleAlwaysThisDeviceOnly";

// Adds the item the query describes (class, account, service, access group,
// accessibility and data).
OSStatus SecItemAdd(const SecQuery& attributes);
// Finds the first matching item; with kSecReturnData true, `result` receives its data.
OSStatus SecItemCopyMatching(const SecQuery& query, std::optional<SecValue>* result);
// Changes the data and accessibility of every matching item.
OSStatus SecItemUpdate(const SecQuery& query, const SecQuery& attributesToUpdate);
// Deletes every matching item.
OSStatus SecItemDelete(const SecQuery& query);

namespace testing {

// Every item in the store, in the order of class, account, service and access group.
struct KeychainItem {
  std::string account;
  std::string accessible;
  Data data;
  std::string service;
  std::string accessGroup;
  std::string itemClass;
};
[[nodiscard]] std::vector<KeychainItem> keychainItems();
// Starts recording the queries SecItemDelete receives (secrets included), until
// resetKeychain(); nothing is recorded otherwise.
void recordKeychainDeletes();
// The queries SecItemDelete has received while recording, oldest first.
[[nodiscard]] std::vector<SecQuery> keychainDeleteQueries();
// Makes the next `count` SecItemAdd and SecItemUpdate calls answer `status` without
// changing anything, as a keychain that cannot take the change would (0 ends it early).
void failNextKeychainWrites(int count, OSStatus status);
// The database file of the current user's items.
[[nodiscard]] std::string keychainFilePath();
// Why the current home folder's keychain could not be opened, or its older items file
// could not be imported; nothing when all is well.
[[nodiscard]] std::optional<std::string> keychainLoadError();
// Problems SQLite's integrity check finds in the current home folder's database (empty
// when there are none; the reason when it cannot be opened).
[[nodiscard]] std::vector<std::string> keychainIntegrityProblems();
// Closes the database, stops recording and forgets the recorded queries; the next call
// opens the current user's database again, as a new process would (the files are left alone).
void resetKeychain();

}  // namespace testing
}  // namespace ios
