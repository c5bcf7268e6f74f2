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
// matches nothing is errSecItemNotFound. The store lives as long as the process (tests
// empty it with ios::testing::resetKeychain()). Constant values are their own names.
// Other item classes, access groups, synchronisation and persistence are absent.
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
// Empties the store and forgets recorded queries.
void resetKeychain();

}  // namespace testing
}  // namespace ios
