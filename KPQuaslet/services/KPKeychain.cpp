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
  // The item the delete below may remove, to put back should the add then fail.
  std::optional<ios::SecValue> previous;
  (void)ios::SecItemCopyMatching({{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                                  {ios::kSecAttrAccount, account},
                                  {ios::kSecAttrAccessible, accessible},
                                  {ios::kSecReturnData, true},
                                  {ios::kSecMatchLimit, std::string(ios::kSecMatchLimitOne)}},
                                 &previous);
  const ios::OSStatus deleted = ios::SecItemDelete(query);
  const ios::OSStatus status = ios::SecItemAdd(query);
  if (status == ios::noErr) return true;
  if (status != ios::errSecDuplicateItem) {
    // The old secret must not be lost with the new one: restore what the delete removed
    // (it matched this accessibility, so the item comes back as it was).
    if (deleted == ios::noErr && previous && std::holds_alternative<ios::Data>(*previous)) {
      (void)ios::SecItemAdd({{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                             {ios::kSecAttrAccount, account},
                             {ios::kSecValueData, std::get<ios::Data>(*previous)},
                             {ios::kSecAttrAccessible, accessible}});
    }
    return false;
  }
  // The delete above matches the accessibility too, so an item stored under another
  // access option survives it. Update that item in place: the old secret stays intact
  // should the update fail.
  const ios::SecQuery identity{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                               {ios::kSecAttrAccount, account}};
  const ios::SecQuery changes{{ios::kSecValueData, data}, {ios::kSecAttrAccessible, accessible}};
  return ios::SecItemUpdate(identity, changes) == ios::noErr;
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
