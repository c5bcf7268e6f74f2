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
// Fidelity: an in-process store of generic-password items that keeps the platform's
// rules: an item is identified by its class and account (adding a second one is
// errSecDuplicateItem); a search or delete matches the query's attributes (class,
// account, accessibility) and ignores the value and return keys; a search or delete that
// matches nothing is errSecItemNotFound. Constant values are their own names.
//
// Storage: the items are kept in "<home>/Library/Keychains/items.json", readable by the
// owner only (0600, in a 0700 folder), read when the store is first used (and again when
// the home folder changes: each home folder has its own items). Every change is written
// before the call returns, to a temporary file that is then renamed over the old one;
// when it cannot be written (no home folder, no permission) the change is undone and the
// call answers errSecIO. A file that cannot be read or parsed is reported on standard
// error (and by ios::testing::keychainLoadError()); the store then starts empty and the
// file is kept: the first change moves it aside to "items.json.corrupt" (or "-1", "-2",
// ...) before writing, and fails rather than overwrite it. The bytes are stored in the
// clear (Base64), not encrypted: the file's permissions are the only protection.
// Absent: other item classes, access groups, synchronisation, encryption.
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

// Adds the item the query describes (class, account, accessibility and data).
OSStatus SecItemAdd(const SecQuery& attributes);
// Finds the first matching item; with kSecReturnData true, `result` receives its data.
OSStatus SecItemCopyMatching(const SecQuery& query, std::optional<SecValue>* result);
// Changes the data and accessibility of every matching item.
OSStatus SecItemUpdate(const SecQuery& query, const SecQuery& attributesToUpdate);
// Deletes every matching item.
OSStatus SecItemDelete(const SecQuery& query);

namespace testing {

// Every item in the store, as (account, accessibility, data).
struct KeychainItem {
  std::string account;
  std::string accessible;
  Data data;
};
[[nodiscard]] std::vector<KeychainItem> keychainItems();
// The queries SecItemDelete has received, oldest first.
[[nodiscard]] std::vector<SecQuery> keychainDeleteQueries();
// Makes the next `count` SecItemAdd calls answer `status` without storing anything, as
// a keychain that cannot take the item would (0 ends it early).
void failNextKeychainAdds(int count, OSStatus status);
// The file the current home folder's items are kept in.
[[nodiscard]] std::string keychainFilePath();
// Why the current home folder's file could not be read, or nothing.
[[nodiscard]] std::optional<std::string> keychainLoadError();
// Forgets the items in memory and the recorded queries; the next call reads the current
// home folder's file again (the file itself is left alone).
void resetKeychain();

}  // namespace testing
}  // namespace ios
