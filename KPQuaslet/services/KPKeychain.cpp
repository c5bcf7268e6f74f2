#include "KPQuaslet/services/KPKeychain.h"

#include "KPQuaslet/Helper/RawRepresentable.h"

namespace kp {

std::string value(KPKeychainAccessOptions option) {
  switch (option) {
    case KPKeychainAccessOptions::accessibleWhenUnlocked: return ios::kSecAttrAccessibleWhenUnlocked;
    case KPKeychainAccessOptions::accessibleWhenUnlockedThisDeviceOnly:
      return ios::kSecAttrAccessibleWhenUnlockedThisDeviceOnly;
    case KPKeychainAccessOptions::accessibleAfterFirstUnlock: return ios::kSecAttrAccessibleAfterFirstUnlock;
    case KPKeychainAccessOptions::accessibleAfterFirstUnlockThisDeviceOnly:
      return ios::kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly;
    case KPKeychainAccessOptions::accessibleAlways: return ios::kSecAttrAccessibleAlways;
    case KPKeychainAccessOptions::accessibleWhenPasscodeSetThisDeviceOnly:
      return ios::kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly;
    case KPKeychainAccessOptions::accessibleAlwaysThisDeviceOnly: return ios::kSecAttrAccessibleAlwaysThisDeviceOnly;
  }
  return ios::kSecAttrAccessibleWhenUnlocked;
}

bool KPKeychain::set(std::string_view text, const std::string& key, std::optional<KPKeychainAccessOptions> access) {
  auto bytes = ios::dataUsingUTF8(text);
  if (!bytes) return false;
  return set(*bytes, key, access);
}

bool KPKeychain::set(const ios::Data& data, const std::string& key, std::optional<KPKeychainAccessOptions> access) {
  const std::string account = keyPrefix() + key;
  const std::string accessible = access ? value(*access) : std::string(ios::kSecAttrAccessibleWhenUnlocked);
  ios::SecQuery query{
      {ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
      {ios::kSecAttrAccount, account},
      {ios::kSecValueData, data},
      {ios::kSecAttrAccessible, accessible},
  };
  setLastQueryParameters(query);
  // One change replaces the secret: the item is never missing in between, and a change
  // that fails leaves the old secret as it was.
  const ios::SecQuery identity{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                               {ios::kSecAttrAccount, account}};
  const ios::SecQuery changes{{ios::kSecValueData, data}, {ios::kSecAttrAccessible, accessible}};
  const ios::OSStatus updated = ios::SecItemUpdate(identity, changes);
  if (updated != ios::errSecItemNotFound) return updated == ios::noErr;
  const ios::OSStatus added = ios::SecItemAdd(query);
  // Another thread or process may have added the item since the update found none.
  if (added == ios::errSecDuplicateItem) return ios::SecItemUpdate(identity, changes) == ios::noErr;
  return added == ios::noErr;
}

std::optional<std::string> KPKeychain::get(const std::string& key) {
  auto data = getData(key);
  if (!data) return std::nullopt;
  return ios::stringFromUTF8(*data);
}

std::optional<ios::Data> KPKeychain::getData(const std::string& key) {
  const ios::SecQuery query{
      {ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
      {ios::kSecAttrAccount, keyPrefix() + key},
      {ios::kSecReturnData, true},
      {ios::kSecMatchLimit, std::string(ios::kSecMatchLimitOne)},
  };
  std::optional<ios::SecValue> result;
  if (ios::SecItemCopyMatching(query, &result) != ios::noErr || !result) return std::nullopt;
  if (const ios::Data* data = std::get_if<ios::Data>(&*result)) return *data;
  return std::nullopt;
}

bool KPKeychain::delete_(const std::string& key) {
  const ios::SecQuery query{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                            {ios::kSecAttrAccount, keyPrefix() + key}};
  return ios::SecItemDelete(query) == ios::noErr;
}

bool KPKeychain::clear() {
  const ios::SecQuery query{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)}};
  return ios::SecItemDelete(query) == ios::noErr;
}

std::string ios_describe(KPKeychainAccessOptions value) {
  switch (value) {
    case KPKeychainAccessOptions::accessibleWhenUnlocked: return "accessibleWhenUnlocked";
    case KPKeychainAccessOptions::accessibleWhenUnlockedThisDeviceOnly: return "accessibleWhenUnlockedThisDeviceOnly";
    case KPKeychainAccessOptions::accessibleAfterFirstUnlock: return "accessibleAfterFirstUnlock";
    case KPKeychainAccessOptions::accessibleAfterFirstUnlockThisDeviceOnly: return "accessibleAfterFirstUnlockThisDeviceOnly";
    case KPKeychainAccessOptions::accessibleAlways: return "accessibleAlways";
    case KPKeychainAccessOptions::accessibleWhenPasscodeSetThisDeviceOnly: return "accessibleWhenPasscodeSetThisDeviceOnly";
    case KPKeychainAccessOptions::accessibleAlwaysThisDeviceOnly: return "accessibleAlwaysThisDeviceOnly";
  }
  notACase("KPKeychainAccessOptions", static_cast<std::int64_t>(value));
}

}  // namespace kp
