#include "platform/security/internal/LegacyItemsFile.h"

#include <sys/stat.h>

#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/foundation/internal/AtomicFile.h"
#include "platform/security/SecItem.h"

namespace ios::security_internal {
namespace {

std::string textFromBase64(const nlohmann::json& field) {
  auto bytes = dataFromBase64Encoded(field.get<std::string>());
  if (!bytes) throw std::runtime_error("bad Base64");
  return std::string(bytes->begin(), bytes->end());
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::optional<std::string> readLegacyItems(const std::string& path, std::vector<StoredItem>* items) {
  std::map<std::string, StoredItem> byAccount;
  auto problem = foundation_internal::loadStoreFile(path, [&](const std::string& bytes) {
    const auto file = nlohmann::json::parse(bytes);
    for (const auto& entry : file.at("items")) {
      StoredItem item;
      item.itemClass = kSecClassGenericPassword;
      item.account = textFromBase64(entry.at("account"));
      item.accessible = textFromBase64(entry.at("accessible"));
      const std::string data = textFromBase64(entry.at("data"));
      item.secret.assign(data.begin(), data.end());
      byAccount.insert_or_assign(item.account, std::move(item));
    }
  });
  items->clear();
  if (problem) return problem;
  for (auto& [account, item] : byAccount) items->push_back(std::move(item));
  return std::nullopt;
}

ImportOutcome importLegacyItems(ItemDatabase& database, const std::string& folder) {
  const std::string path = folder + "/" + kLegacyItemsFileName;
  if (!exists(path)) return {};
  ImportOutcome outcome;
  bool imported = false;
  if (database.wasImported(kLegacyItemsFileName, &imported) != Outcome::done) {
    return {"cannot import " + path + ": " + database.lastError(), std::nullopt};
  }
  std::size_t count = 0;
  if (!imported) {
    std::vector<StoredItem> items;
    if (auto problem = readLegacyItems(path, &items)) {
      return {"cannot import " + *problem + "; the file is left in place", std::nullopt};
    }
    bool importedElsewhere = false;
    if (database.importOnce(kLegacyItemsFileName, items, &importedElsewhere) != Outcome::done) {
      return {"cannot import " + path + ": " + database.lastError() + "; the file is left in place", std::nullopt};
    }
    if (!importedElsewhere) count = items.size();
  }
  std::string movedTo;
  if (!foundation_internal::moveAsideWithoutReplacing(path, ".imported", &movedTo)) {
    // Another process that imported it at the same time may have moved it already.
    if (!exists(path)) return {};
    return {"imported " + path + " but cannot move it aside; it will not be imported again", std::nullopt};
  }
  outcome.note = imported ? "moved " + path + ", imported before, aside to " + movedTo
                          : "imported " + std::to_string(count) + " items from " + path + "; the file is kept as " + movedTo;
  return outcome;
}

}  // namespace ios::security_internal
