// File: platform/security/internal/LegacyItemsFile.h
//
// The file the keychain kept its items in before it had a database, "items.json" in
// the keychain folder, and its one-time import into the database.
//
//   auto outcome = security_internal::importLegacyItems(database, home + "/Library/Keychains");
//   if (outcome.problem) report(*outcome.problem);  // the file was left where it was
//
// The file holds {"items": [{"account", "accessible", "data"}, ...]} with every field
// in Base64; its items are generic passwords without service or access group.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/security/internal/ItemDatabase.h"

namespace ios::security_internal {

inline constexpr const char* kLegacyItemsFileName = "items.json";

// The file's items (a later entry of an account replaces an earlier one). Answers why
// the file cannot be used, or nothing; a missing file has no items.
[[nodiscard]] std::optional<std::string> readLegacyItems(const std::string& path, std::vector<StoredItem>* items);

struct ImportOutcome {
  // Why the file is still in place: unreadable, or the import or the move failed.
  std::optional<std::string> problem;
  // What was done, for the log: how many items came in and where the file went.
  std::optional<std::string> note;
};

// Imports the old file of `folder` into `database` unless that was done before, all
// items in one transaction (items the database has already are kept), and only after
// that has committed moves the file aside to "items.json.imported" (or "-1", ...). The
// file is never deleted, and a file that cannot be read is left where it is. A file
// found again after its import (the process stopped before moving it) is moved aside
// without a second import.
ImportOutcome importLegacyItems(ItemDatabase& database, const std::string& folder);

}  // namespace ios::security_internal
