// Queries and reads the keychain tests share.
#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/security/SecItem.h"

namespace kp_test::keychain {

// A generic-password item to add.
inline ios::SecQuery item(const std::string& account, ios::Data data) {
  return {{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
          {ios::kSecAttrAccount, account},
          {ios::kSecValueData, std::move(data)}};
}

// A search for the item of `account` that returns its data.
inline ios::SecQuery find(const std::string& account) {
  return {{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
          {ios::kSecAttrAccount, account},
          {ios::kSecReturnData, true}};
}

// The data of the item of `account`, or nothing.
inline std::optional<ios::Data> read(const std::string& account) {
  std::optional<ios::SecValue> result;
  if (ios::SecItemCopyMatching(find(account), &result) != ios::errSecSuccess || !result) return std::nullopt;
  return std::get<ios::Data>(*result);
}

// The bytes of a file ("" when it cannot be read).
inline std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kp_test::keychain
