// File: KPQuaslet/services/KPKeychain.h
//
// Small secrets kept as generic-password items in the keychain, under the account
// keyPrefix + key.
//
//   kp::KPKeychain keychain("app_");
//   keychain.set("s3cret", "token", kp::KPKeychainAccessOptions::accessibleAfterFirstUnlock);
//   keychain.get("token");      // "s3cret" (stored under the account "app_token")
//   keychain.delete_("token");
//
// Items belong to the application's access group (its identifier, see
// platform/security/SecItem.h): another application neither reads nor clears them.
//
// The text forms go through the data forms by virtual dispatch, so a subclass that
// overrides the data forms changes the text forms too. An instance is meant for one
// thread at a time.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/foundation/Data.h"
#include "platform/security/SecItem.h"

namespace kp {

// When an item may be read.
enum class KPKeychainAccessOptions {
  accessibleWhenUnlocked,
  accessibleWhenUnlockedThisDeviceOnly,
  accessibleAfterFirstUnlock,
  accessibleAfterFirstUnlockThisDeviceOnly,
  accessibleAlways,
  accessibleWhenPasscodeSetThisDeviceOnly,
  accessibleAlwaysThisDeviceOnly,
};
// The seven options, in declaration order.
[[nodiscard]] inline std::span<const KPKeychainAccessOptions> allCases(std::type_identity<KPKeychainAccessOptions>) {
  static constexpr KPKeychainAccessOptions cases[] = {KPKeychainAccessOptions::accessibleWhenUnlocked, KPKeychainAccessOptions::accessibleWhenUnlockedThisDeviceOnly, KPKeychainAccessOptions::accessibleAfterFirstUnlock, KPKeychainAccessOptions::accessibleAfterFirstUnlockThisDeviceOnly, KPKeychainAccessOptions::accessibleAlways, KPKeychainAccessOptions::accessibleWhenPasscodeSetThisDeviceOnly, KPKeychainAccessOptions::accessibleAlwaysThisDeviceOnly};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(KPKeychainAccessOptions value);

// The platform's accessibility constant for the option.
[[nodiscard]] std::string value(KPKeychainAccessOptions option);

// The platform's query keys and values, for callers that build their own queries.
struct KPKeychainConstants {
  static constexpr const char* klass = ios::kSecClass;
  static constexpr const char* classGenericPassword = ios::kSecClassGenericPassword;
  static constexpr const char* attrAccount = ios::kSecAttrAccount;
  static constexpr const char* valueData = ios::kSecValueData;
  static constexpr const char* accessible = ios::kSecAttrAccessible;
  static constexpr const char* returnData = ios::kSecReturnData;
  static constexpr const char* matchLimit = ios::kSecMatchLimit;
};

class KPKeychain {
 public:
  KPKeychain() = default;
  explicit KPKeychain(std::string keyPrefix) : keyPrefix_(std::move(keyPrefix)) {}
  virtual ~KPKeychain() = default;

  // The query of the most recent store, if any.
  [[nodiscard]] virtual const std::optional<ios::SecQuery>& lastQueryParameters() const { return lastQueryParameters_; }
  virtual void setLastQueryParameters(std::optional<ios::SecQuery> query) { lastQueryParameters_ = std::move(query); }
  // Prepended to every key.
  [[nodiscard]] virtual const std::string& keyPrefix() const { return keyPrefix_; }
  virtual void setKeyPrefix(std::string prefix) { keyPrefix_ = std::move(prefix); }

  // set() (text)
  //
  // Stores the text's UTF-8 bytes; false without touching the keychain when the text is
  // not well-formed UTF-8, else the data form's answer.
  virtual bool set(std::string_view value, const std::string& key,
                   std::optional<KPKeychainAccessOptions> access = std::nullopt);

  // set() (data)
  //
  // Stores the bytes under keyPrefix + key with the access option (accessible when
  // unlocked when none is given) and records the four-entry query (class, account, data,
  // accessibility) in lastQueryParameters(). True when the item is stored.
  //
  // An earlier item of that key is replaced in one step, whatever its access option: its
  // data and accessibility are updated in place (SecItemUpdate), and only a key without
  // an item is added (SecItemAdd). So a reader, in this process or another, always finds
  // either the old secret or the new one; a store killed midway or refused by a full
  // disk keeps the old secret; and a store that has returned survives the process being
  // killed. (A delete with the query followed by a separate add, as a simpler keychain
  // wrapper does, loses the secret in each of those cases.)
  virtual bool set(const ios::Data& value, const std::string& key,
                   std::optional<KPKeychainAccessOptions> access = std::nullopt);

  // The stored text, or nothing when there is no item or its bytes are not UTF-8.
  [[nodiscard]] virtual std::optional<std::string> get(const std::string& key);
  // The stored bytes, or nothing.
  [[nodiscard]] virtual std::optional<ios::Data> getData(const std::string& key);
  // Deletes the item; false when there was none.
  virtual bool delete_(const std::string& key);
  // Deletes every generic-password item the application can reach (its own access
  // group), whatever its prefix; other applications' items stay. False when there was
  // none.
  virtual bool clear();

 private:
  std::optional<ios::SecQuery> lastQueryParameters_;
  std::string keyPrefix_;
};

}  // namespace kp
