// File: platform/security/internal/ItemDatabase.h
//
// The keychain's item database: one SQLite file holding a table of items keyed by
// class, account, service and access group, each with its accessibility and its secret.
//
//   std::string error;
//   auto items = security_internal::ItemDatabase::open(path, &error);
//   items->add({kSecClassGenericPassword, "token", "", "", kSecAttrAccessibleWhenUnlocked, secret});
//
// Every add, update and delete is one SQLite transaction, and its outcome is the
// transaction's own: a primary-key conflict is a duplicate, a statement that touched no
// row found nothing, anything else failed (with the reason in lastError()).
//
// Durability: the database runs in write-ahead-log mode with synchronous=NORMAL. A
// change that has returned is in the log file, so it survives the process being killed
// at any moment; the file never needs more than the log to recover. The log is flushed
// to the disk at checkpoints, not at every commit: a power cut or a kernel crash keeps
// the file consistent but may undo the most recent changes. Flushing every commit
// (synchronous=FULL) costs a disk flush, about a millisecond, per store.
//
// Sharing: any number of connections, in this process or others, may use one file. A
// connection that finds the file locked by another waits for it (up to
// kBusyTimeoutMilliseconds) rather than failing.
//
// Not thread-safe: the caller serialises the calls on one ItemDatabase. Only this file's
// implementation includes SQLite's header.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ios::security_internal {

// How long a change waits for a lock another connection holds before it fails.
inline constexpr int kBusyTimeoutMilliseconds = 5000;

// One row of the item table.
struct StoredItem {
  std::string itemClass;
  std::string account;
  std::string service;
  std::string accessGroup;
  std::string accessible;
  Data secret;
};

// The items a query names: those of `itemClass` whose given attributes are equal.
struct ItemFilter {
  std::string itemClass;
  std::optional<std::string> account;
  std::optional<std::string> service;
  std::optional<std::string> accessGroup;
  std::optional<std::string> accessible;
};

enum class Outcome { done, duplicate, notFound, failed };

class ItemDatabase {
 public:
  // Opens the database at `path`, creating the file and its table when missing. The
  // file is opened for reading only when it cannot be written (a change then fails),
  // also when its folder is read-only and the log's companion files cannot be made.
  // Nothing, with `error` set, when the file cannot be opened or is not such a database:
  // not SQLite, written by a later version, or with tables, columns or keys other than
  // the ones this version creates.
  [[nodiscard]] static std::unique_ptr<ItemDatabase> open(const std::string& path, std::string* error);
  ~ItemDatabase();
  ItemDatabase(const ItemDatabase&) = delete;
  ItemDatabase& operator=(const ItemDatabase&) = delete;

  // Adds the item; duplicate when one with its key exists.
  Outcome add(const StoredItem& item);
  // The first matching item in key order (account, service, access group); notFound
  // when none matches.
  Outcome findFirst(const ItemFilter& filter, StoredItem* found);
  // Sets the secret and/or the accessibility of every matching item.
  Outcome update(const ItemFilter& filter, const std::optional<Data>& secret,
                 const std::optional<std::string>& accessible);
  // Deletes every matching item.
  Outcome remove(const ItemFilter& filter);
  // Every item, in key order.
  Outcome all(std::vector<StoredItem>* items);

  // Whether the items of the file named `source` were imported before.
  Outcome wasImported(const std::string& source, bool* imported);
  // In one transaction: adds those of `items` whose key is not taken yet and records
  // `source` as imported. `alreadyImported` tells that another connection had done it
  // first (nothing is then added).
  Outcome importOnce(const std::string& source, const std::vector<StoredItem>& items, bool* alreadyImported);

  // In one transaction: copies every item without an access group into `group` (an
  // item the group has under that key is kept), each item once for each group ever, so
  // that a copy the group deletes does not come back.
  Outcome claimUnscopedItems(const std::string& group);

  // Problems SQLite finds in the file's structure (empty when there are none).
  Outcome integrityProblems(std::vector<std::string>* problems);

  // Why the last call failed.
  [[nodiscard]] const std::string& lastError() const { return lastError_; }

 private:
  class Statement;
  explicit ItemDatabase(sqlite3* connection);
  // Opens `name` with SQLite's open `flags` and sets the connection up; nothing, with
  // `why` set, when either fails.
  static std::unique_ptr<ItemDatabase> openWith(const std::string& name, int flags, std::string* why);

  // Puts the connection in write-ahead logging and creates the tables on a new file.
  // busy: another connection held a lock; trying again later may succeed.
  enum class SetUp { done, busy, failed };
  SetUp setUp(std::string* why);

  // Runs `body` in a transaction that takes the write lock first, committing when it
  // answers done and rolling back otherwise (also when it throws).
  Outcome inWriteTransaction(const std::function<Outcome()>& body);
  // Adds the item unless one with its key exists.
  Outcome addIfNew(const StoredItem& item);
  // Records `source` as imported.
  Outcome markImported(const std::string& source);

  bool prepare(const std::string& sql, std::unique_ptr<Statement>* slot);
  Statement* cached(std::unique_ptr<Statement>& slot, const std::string& sql);
  Statement* filtered(int kind, const ItemFilter& filter);
  bool execute(const char* sql);
  Outcome failure();

  sqlite3* connection_;
  bool readOnly_ = false;
  std::string lastError_;
  // Prepared once per connection: the add, the listing, the import's statements, and a
  // find, update and delete per combination of the attributes a filter gives.
  std::unique_ptr<Statement> insert_, insertIfNew_, list_, imported_, markImported_;
  std::vector<std::unique_ptr<Statement>> byFilter_;
};

}  // namespace ios::security_internal
