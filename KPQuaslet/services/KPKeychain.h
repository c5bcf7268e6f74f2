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
  // unlocked when none is given), replacing an earlier item of that key even when it was
  // stored with another access option. True when the item is stored; when it cannot be
  // stored, the earlier secret of that key is kept.
  virtual bool set(const ios::Data& value, const std::string& key,
                   std::optional<KPKeychainAccessOptions> access = std::nullopt);

  // The stored text, or nothing when there is no item or its bytes are not UTF-8.
  [[nodiscard]] virtual std::optional<std::string> get(const std::string& key);
  // The stored bytes, or nothing.
  [[nodiscard]] virtual std::optional<ios::Data> getData(const std::string& key);
  // Deletes the item; false when there was none.
  virtual bool delete_(const std::string& key);
  // Deletes every generic-password item the application can reach, whatever its
  // prefix; false when there was none.
  virtual bool clear();

 private:
  std::optional<ios::SecQuery> lastQueryParameters_;
  std::string keyPrefix_;
};

}  // namespace kp
