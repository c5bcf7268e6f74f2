// The keychain's files on disk with arbitrary bytes, then KPKeychain (and the item calls
// below it) on the items they hold and on a key and secret of the input's choice. Bytes
// that start as an SQLite database does become the database itself (a damaged one, when
// mutated); any other bytes are the items file of earlier versions, imported on first use.
// Invariants: every generic password the store shows reads back through KPKeychain (the
// first of its account, in the store's order) with and without a key prefix, as bytes
// and (when they are UTF-8) as text; a secret stored under any key reads back, survives
// a reload from disk, and is gone after a delete; the store query is the four documented
// entries; clear() answers whether any generic password was there, leaves none, and
// touches no item of another class. A database the store cannot open is reported, left
// in place, and refuses every store; one that opens but is damaged may refuse a change,
// never crash.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "KPQuaslet/services/KPKeychain.h"
#include "platform/foundation/Bundle.h"
#include "platform/security/SecItem.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

// Where the store keeps its items under the scratch home: the one place that names the
// keychain's files, so that a change of the store's layout is made here alone.
struct KeychainFiles {
  static std::filesystem::path folder() { return std::filesystem::path(kp_fuzz::homeFolder()) / "Library/Keychains"; }
  static constexpr const char* kItemsFile = "Library/Keychains/items.json";
  static constexpr const char* kDatabaseFile = "Library/Keychains/keychain.db";
  static constexpr std::string_view kDatabaseMagic{"SQLite format 3\0", 16};

  // Replaces everything the store keeps on disk by `bytes`, as the database when they
  // start as one and as the older items file otherwise, and makes the store read it
  // afresh. Answers whether the bytes became the database.
  static bool replaceWith(std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
    const bool database = bytes.starts_with(kDatabaseMagic);
    (void)kp_fuzz::writeScratchFile(database ? kDatabaseFile : kItemsFile, bytes);
    ios::testing::resetKeychain();
    return database;
  }

  // Makes the store read what it keeps on disk again.
  static void reload() { ios::testing::resetKeychain(); }
};

std::optional<kp::KPKeychainAccessOptions> pickAccess(FuzzedDataProvider& in) {
  const int choice = in.ConsumeIntegralInRange<int>(0, 7);
  if (choice == 7) return std::nullopt;
  return static_cast<kp::KPKeychainAccessOptions>(choice);
}

// KPKeychain reads the generic passwords of the application's access group by account
// alone: of several that share an account (other services, which a file of another
// client may hold), it reads the first in the store's order. Items of other classes or
// other access groups are not its own (items without a group are copied into its own).
void checkStoredItems() {
  kp::KPKeychain plain;
  kp::KPKeychain prefixed("app_");
  std::map<std::string, ios::Data> firstOfAccount;
  for (ios::testing::KeychainItem& item : ios::testing::keychainItems()) {
    if (item.itemClass != ios::kSecClassGenericPassword || item.accessGroup != ios::applicationIdentifier()) continue;
    firstOfAccount.try_emplace(std::move(item.account), std::move(item.data));
    if (firstOfAccount.size() == 16) break;
  }
  for (const auto& [account, data] : firstOfAccount) {
    KP_FUZZ_CHECK(plain.getData(account) == data, "an item does not read back by its account");
    const std::string text(data.begin(), data.end());
    const auto asText = plain.get(account);
    KP_FUZZ_CHECK(asText == (kp_fuzz::isUTF8(text) ? std::optional<std::string>(text) : std::nullopt),
                  "an item's text is read otherwise than its bytes");
    if (account.starts_with("app_")) {
      KP_FUZZ_CHECK(prefixed.getData(account.substr(4)) == data, "a prefixed item does not read back");
    }
  }
}

void checkStoreAndDelete(const std::string& key, const ios::Data& secret,
                         std::optional<kp::KPKeychainAccessOptions> access) {
  kp::KPKeychain keychain("app_");
  KP_FUZZ_CHECK(keychain.set(secret, key, access), "a secret cannot be stored");
  const auto& query = keychain.lastQueryParameters();
  KP_FUZZ_CHECK(query && query->size() == 4, "the store query does not have four entries");
  const std::string accessible = access ? kp::value(*access) : ios::kSecAttrAccessibleWhenUnlocked;
  KP_FUZZ_CHECK(std::get<std::string>(query->at(ios::kSecAttrAccessible)) == accessible &&
                    std::get<std::string>(query->at(ios::kSecAttrAccount)) == "app_" + key &&
                    std::get<ios::Data>(query->at(ios::kSecValueData)) == secret,
                "the store query names another item");
  KP_FUZZ_CHECK(keychain.getData(key) == secret, "a stored secret does not read back");

  KeychainFiles::reload();
  KP_FUZZ_CHECK(keychain.getData(key) == secret, "a stored secret does not survive a reload");
  const std::string text(secret.begin(), secret.end());
  if (kp_fuzz::isUTF8(text)) {
    KP_FUZZ_CHECK(keychain.set(text, key + "/text", access), "a text secret cannot be stored");
    KP_FUZZ_CHECK(keychain.get(key + "/text") == text, "a text secret does not read back");
  } else {
    KP_FUZZ_CHECK(!keychain.set(text, key + "/text", access), "a text that is not UTF-8 was stored");
  }

  KP_FUZZ_CHECK(keychain.delete_(key), "deleting a stored secret failed");
  KP_FUZZ_CHECK(!keychain.getData(key).has_value(), "a deleted secret still reads back");
  KP_FUZZ_CHECK(!keychain.delete_(key), "deleting a deleted secret succeeded");
}

// A database file from the input: the store either opens it (and then, when SQLite
// finds it sound, behaves as on any other file) or reports it and refuses every change.
// Answers whether the checks for a sound store apply.
bool checkDatabase(const std::string& key, const ios::Data& secret) {
  (void)ios::testing::keychainItems();
  if (ios::testing::keychainLoadError()) {
    kp::KPKeychain keychain("app_");
    KP_FUZZ_CHECK(!keychain.set(secret, key, std::nullopt), "a keychain that cannot be opened stored a secret");
    KP_FUZZ_CHECK(!keychain.getData(key).has_value(), "a keychain that cannot be opened read a secret");
    KP_FUZZ_CHECK(std::filesystem::exists(KeychainFiles::folder() / "keychain.db"),
                  "a keychain that cannot be opened was removed");
    return false;
  }
  if (ios::testing::keychainIntegrityProblems().empty()) return true;
  // Damaged but open: any answer, as long as one that claims success holds.
  kp::KPKeychain keychain("app_");
  if (keychain.set(secret, key, std::nullopt)) {
    const auto back = keychain.getData(key);
    KP_FUZZ_CHECK(!back || *back == secret, "a damaged keychain read back another secret");
  }
  (void)keychain.delete_(key);
  (void)kp::KPKeychain().clear();
  return false;
}

struct ItemCounts {
  std::size_t genericPasswords = 0;  // of the application's access group
  std::size_t others = 0;
};

ItemCounts countItems() {
  ItemCounts counts;
  for (const ios::testing::KeychainItem& item : ios::testing::keychainItems()) {
    const bool own = item.itemClass == ios::kSecClassGenericPassword && item.accessGroup == ios::applicationIdentifier();
    ++(own ? counts.genericPasswords : counts.others);
  }
  return counts;
}

// clear() removes the application's generic passwords, which are KPKeychain's; other
// classes and other applications' items stay.
void checkClear() {
  const ItemCounts before = countItems();
  KP_FUZZ_CHECK(kp::KPKeychain().clear() == (before.genericPasswords > 0),
                "clear() answers otherwise than what was there");
  const ItemCounts after = countItems();
  KP_FUZZ_CHECK(after.genericPasswords == 0, "clear() left items");
  KP_FUZZ_CHECK(after.others == before.others, "clear() removed items of another class");
  KeychainFiles::reload();
  KP_FUZZ_CHECK(countItems().genericPasswords == 0, "cleared items came back from disk");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  FuzzedDataProvider in(data, size);
  const std::string key = in.ConsumeRandomLengthString(32);
  const std::string secret = in.ConsumeRandomLengthString(64);
  const auto access = pickAccess(in);
  const bool database = KeychainFiles::replaceWith(in.ConsumeRemainingBytesAsString());
  const ios::Data bytes(secret.begin(), secret.end());
  if (database && !checkDatabase(key, bytes)) return 0;

  checkStoredItems();
  checkStoreAndDelete(key, bytes, access);
  checkClear();
  return 0;
}
