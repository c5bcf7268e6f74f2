#include "platform/security/internal/ItemDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/foundation/ScopeExit.h"

namespace ios::security_internal {
namespace {

// The file's layout, recorded in its user_version. A file of a later layout is refused
// rather than misread.
constexpr int kSchemaVersion = 1;

// The size, in bytes, the write-ahead log is cut back to after a checkpoint.
constexpr long kJournalSizeLimit = 4L << 20;

// The key's column order puts the account right after the class: the framework's
// queries name the class and the account, and find their item through the key alone.
constexpr const char* kCreateSchema =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS items ("
    "  class TEXT NOT NULL,"
    "  account TEXT NOT NULL,"
    "  service TEXT NOT NULL,"
    "  access_group TEXT NOT NULL,"
    "  accessible TEXT NOT NULL,"
    "  secret BLOB NOT NULL,"
    "  PRIMARY KEY (class, account, service, access_group)"
    ") WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS imported_files (name TEXT PRIMARY KEY) WITHOUT ROWID;"
    "PRAGMA user_version = 1;"
    "COMMIT;";

constexpr const char* kColumns = "class, account, service, access_group, accessible, secret";
constexpr const char* kKeyOrder = " ORDER BY class, account, service, access_group";

// Parameters: ?1 class, ?2 account, ?3 service, ?4 access group, ?5 accessibility,
// ?6 secret; an update's new values are ?6 (secret) and ?7 (accessibility).
constexpr int kAccount = 1, kService = 2, kAccessGroup = 4, kAccessible = 8, kFilterCombinations = 16;
constexpr int kFind = 0, kUpdate = 1, kDelete = 2, kKinds = 3;

int bitsOf(const ItemFilter& filter) {
  return (filter.account ? kAccount : 0) | (filter.service ? kService : 0) |
         (filter.accessGroup ? kAccessGroup : 0) | (filter.accessible ? kAccessible : 0);
}

std::string whereClause(int bits) {
  std::string where = " WHERE class = ?1";
  if (bits & kAccount) where += " AND account = ?2";
  if (bits & kService) where += " AND service = ?3";
  if (bits & kAccessGroup) where += " AND access_group = ?4";
  if (bits & kAccessible) where += " AND accessible = ?5";
  return where;
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
}

// A null pointer would bind NULL, so empty bytes are bound as an empty blob.
void bindBytes(sqlite3_stmt* statement, int index, const Data& bytes) {
  if (bytes.empty()) {
    sqlite3_bind_zeroblob(statement, index, 0);
  } else {
    sqlite3_bind_blob64(statement, index, bytes.data(), bytes.size(), SQLITE_STATIC);
  }
}

void bindFilter(sqlite3_stmt* statement, const ItemFilter& filter) {
  bindText(statement, 1, filter.itemClass);
  if (filter.account) bindText(statement, 2, *filter.account);
  if (filter.service) bindText(statement, 3, *filter.service);
  if (filter.accessGroup) bindText(statement, 4, *filter.accessGroup);
  if (filter.accessible) bindText(statement, 5, *filter.accessible);
}

void bindItem(sqlite3_stmt* statement, const StoredItem& item) {
  bindText(statement, 1, item.itemClass);
  bindText(statement, 2, item.account);
  bindText(statement, 3, item.service);
  bindText(statement, 4, item.accessGroup);
  bindText(statement, 5, item.accessible);
  bindBytes(statement, 6, item.secret);
}

std::string textColumn(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

Data bytesColumn(sqlite3_stmt* statement, int column) {
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, column));
  return bytes ? Data(bytes, bytes + sqlite3_column_bytes(statement, column)) : Data();
}

// Reads a row of kColumns.
StoredItem itemFrom(sqlite3_stmt* statement) {
  return {textColumn(statement, 0), textColumn(statement, 1), textColumn(statement, 2),
          textColumn(statement, 3), textColumn(statement, 4), bytesColumn(statement, 5)};
}

// The tables, their columns and keys, and the triggers, as one text: equal for two
// files exactly when they store and change items alike (an added index or view changes
// neither). Empty when the file cannot be read.
constexpr const char* kDescribeLayout =
    "SELECT s.type, s.name, s.tbl_name, t.wr, c.cid, c.name, c.type, c.\"notnull\", c.pk, c.dflt_value"
    " FROM sqlite_schema AS s"
    " LEFT JOIN pragma_table_list AS t ON t.schema = 'main' AND t.name = s.name"
    " LEFT JOIN pragma_table_xinfo(s.name) AS c"
    " WHERE s.type IN ('table', 'trigger')"
    " ORDER BY s.name, c.cid";

std::string layoutOf(sqlite3* connection) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(connection, kDescribeLayout, -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return {};
  }
  const auto finalize = ScopeExit([statement] { sqlite3_finalize(statement); });
  // Never empty when read, even for a file without tables.
  std::string layout = "layout";
  int result;
  while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      layout += '\x1f';
      layout += textColumn(statement, column);
    }
    layout += '\x1e';
  }
  return result == SQLITE_DONE ? layout : std::string();
}

// The layout kCreateSchema makes, built once in memory.
const std::string& expectedLayout() {
  static const std::string layout = [] {
    sqlite3* memory = nullptr;
    const auto close = ScopeExit([&memory] { sqlite3_close_v2(memory); });
    if (sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(memory, kCreateSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
      return std::string();
    }
    return layoutOf(memory);
  }();
  return layout;
}

}  // namespace

class ItemDatabase::Statement {
 public:
  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The statement, ready for its parameters; it is reset and its parameters cleared when
  // the returned guard goes, so that no read stays open between calls.
  [[nodiscard]] auto use() {
    return ScopeExit([s = statement_] {
      sqlite3_reset(s);
      sqlite3_clear_bindings(s);
    });
  }
  [[nodiscard]] sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_;
};

std::unique_ptr<ItemDatabase> ItemDatabase::open(const std::string& path, std::string* error) {
  std::string why;
  // Read-write first; a file this process may only read (a read-only home folder, where
  // the log's companion files cannot be made) is opened for reading, and as a last
  // resort as an unchanging file, which needs no companion files at all.
  auto database = openWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &why);
  if (!database && ::access(path.c_str(), R_OK) == 0) {
    std::string readOnlyWhy;
    database = openWith(path, SQLITE_OPEN_READONLY, &readOnlyWhy);
    if (!database) {
      database = openWith("file:" + path + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, &readOnlyWhy);
    }
  }
  if (!database && error) *error = "cannot open the keychain " + path + ": " + why;
  return database;
}

std::unique_ptr<ItemDatabase> ItemDatabase::openWith(const std::string& name, int flags, std::string* why) {
  sqlite3* connection = nullptr;
  const int opened = sqlite3_open_v2(name.c_str(), &connection, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  // SQLite hands out a connection even when opening fails; closing it is ours.
  std::unique_ptr<ItemDatabase> database(new ItemDatabase(connection));
  if (opened != SQLITE_OK) {
    *why = connection ? sqlite3_errmsg(connection) : "out of memory";
    return nullptr;
  }
  database->readOnly_ = (flags & SQLITE_OPEN_READONLY) != 0;
  sqlite3_extended_result_codes(connection, 1);
  sqlite3_busy_timeout(connection, kBusyTimeoutMilliseconds);
  // Setting the file up can meet a lock SQLite does not wait for through its busy
  // handler: a first connection switching a new file to write-ahead logging holds it
  // exclusively, and another connection's journal-mode change then fails at once. Such
  // a failure is retried, with short pauses, for as long as a change would have waited.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMilliseconds);
  for (int pauseMilliseconds = 1;; pauseMilliseconds = std::min(pauseMilliseconds * 2, 20)) {
    const SetUp outcome = database->setUp(why);
    if (outcome == SetUp::done) break;
    if (outcome == SetUp::failed || std::chrono::steady_clock::now() >= deadline) return nullptr;
    sqlite3_sleep(pauseMilliseconds);
  }
  return database;
}

ItemDatabase::SetUp ItemDatabase::setUp(std::string* why) {
  auto failed = [&] {
    *why = sqlite3_errmsg(connection_);
    const int code = sqlite3_extended_errcode(connection_) & 0xff;
    if (!sqlite3_get_autocommit(connection_)) sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED ? SetUp::busy : SetUp::failed;
  };
  // Write-ahead logging with synchronous=NORMAL: see the header for what that keeps. The
  // log is cut back to kJournalSizeLimit whenever a checkpoint empties it, so that a
  // burst of changes does not leave it at its high-water mark.
  if (!readOnly_ && (!execute("PRAGMA journal_mode = WAL") || !execute("PRAGMA synchronous = NORMAL") ||
                     !execute("PRAGMA secure_delete = ON") ||
                     !execute(("PRAGMA journal_size_limit = " + std::to_string(kJournalSizeLimit)).c_str()))) {
    return failed();
  }
  int version = -1;
  {
    std::unique_ptr<Statement> readVersion;
    if (!prepare("PRAGMA user_version", &readVersion)) return failed();
    auto guard = readVersion->use();
    if (sqlite3_step(readVersion->get()) != SQLITE_ROW) return failed();
    version = sqlite3_column_int(readVersion->get(), 0);
  }
  if (version > kSchemaVersion) {
    *why = "written by a later version (layout " + std::to_string(version) + ")";
    return SetUp::failed;
  }
  if (version == 0 && readOnly_) {
    *why = "the file is empty and cannot be written";
    return SetUp::failed;
  }
  if (version == 0 && !execute(kCreateSchema)) return failed();
  // A file of this layout's version whose tables are not the ones kCreateSchema makes
  // (edited, damaged, or another program's) would fail or misread every item.
  const std::string layout = layoutOf(connection_);
  if (layout.empty()) return failed();
  if (expectedLayout().empty()) {
    *why = "cannot build the expected layout";
    return SetUp::failed;
  }
  if (layout != expectedLayout()) {
    *why = "its tables are not those of a keychain (layout " + std::to_string(kSchemaVersion) + ")";
    return SetUp::failed;
  }
  return SetUp::done;
}

ItemDatabase::ItemDatabase(sqlite3* connection) : connection_(connection), byFilter_(kKinds * kFilterCombinations) {}

ItemDatabase::~ItemDatabase() {
  insert_.reset();
  insertIfNew_.reset();
  list_.reset();
  imported_.reset();
  markImported_.reset();
  byFilter_.clear();
  sqlite3_close_v2(connection_);
}

bool ItemDatabase::execute(const char* sql) {
  if (sqlite3_exec(connection_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  lastError_ = sqlite3_errmsg(connection_);
  return false;
}

bool ItemDatabase::prepare(const std::string& sql, std::unique_ptr<Statement>* slot) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(connection_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &statement, nullptr) != SQLITE_OK) {
    lastError_ = sqlite3_errmsg(connection_);
    sqlite3_finalize(statement);
    return false;
  }
  *slot = std::make_unique<Statement>(statement);
  return true;
}

ItemDatabase::Statement* ItemDatabase::cached(std::unique_ptr<Statement>& slot, const std::string& sql) {
  if (!slot && !prepare(sql, &slot)) return nullptr;
  return slot.get();
}

ItemDatabase::Statement* ItemDatabase::filtered(int kind, const ItemFilter& filter) {
  const int bits = bitsOf(filter);
  std::unique_ptr<Statement>& slot = byFilter_[static_cast<std::size_t>(kind * kFilterCombinations + bits)];
  if (slot) return slot.get();
  std::string sql;
  switch (kind) {
    case kFind: sql = std::string("SELECT ") + kColumns + " FROM items" + whereClause(bits) + kKeyOrder + " LIMIT 1"; break;
    case kUpdate:
      sql = "UPDATE items SET secret = coalesce(?6, secret), accessible = coalesce(?7, accessible)" + whereClause(bits);
      break;
    default: sql = "DELETE FROM items" + whereClause(bits); break;
  }
  return cached(slot, sql);
}

Outcome ItemDatabase::failure() {
  lastError_ = sqlite3_errmsg(connection_);
  return Outcome::failed;
}

Outcome ItemDatabase::add(const StoredItem& item) {
  Statement* statement =
      cached(insert_, std::string("INSERT INTO items (") + kColumns + ") VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  bindItem(statement->get(), item);
  const int result = sqlite3_step(statement->get());
  if (result == SQLITE_DONE) return Outcome::done;
  if (result == SQLITE_CONSTRAINT_PRIMARYKEY) return Outcome::duplicate;
  return failure();
}

Outcome ItemDatabase::findFirst(const ItemFilter& filter, StoredItem* found) {
  Statement* statement = filtered(kFind, filter);
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  bindFilter(statement->get(), filter);
  const int result = sqlite3_step(statement->get());
  if (result == SQLITE_DONE) return Outcome::notFound;
  if (result != SQLITE_ROW) return failure();
  if (found) *found = itemFrom(statement->get());
  return Outcome::done;
}

Outcome ItemDatabase::update(const ItemFilter& filter, const std::optional<Data>& secret,
                             const std::optional<std::string>& accessible) {
  Statement* statement = filtered(kUpdate, filter);
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  bindFilter(statement->get(), filter);
  if (secret) bindBytes(statement->get(), 6, *secret);
  if (accessible) bindText(statement->get(), 7, *accessible);
  if (sqlite3_step(statement->get()) != SQLITE_DONE) return failure();
  return sqlite3_changes(connection_) > 0 ? Outcome::done : Outcome::notFound;
}

Outcome ItemDatabase::remove(const ItemFilter& filter) {
  Statement* statement = filtered(kDelete, filter);
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  bindFilter(statement->get(), filter);
  if (sqlite3_step(statement->get()) != SQLITE_DONE) return failure();
  return sqlite3_changes(connection_) > 0 ? Outcome::done : Outcome::notFound;
}

Outcome ItemDatabase::all(std::vector<StoredItem>* items) {
  Statement* statement = cached(list_, std::string("SELECT ") + kColumns + " FROM items" + kKeyOrder);
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  items->clear();
  int result;
  while ((result = sqlite3_step(statement->get())) == SQLITE_ROW) items->push_back(itemFrom(statement->get()));
  return result == SQLITE_DONE ? Outcome::done : failure();
}

Outcome ItemDatabase::wasImported(const std::string& source, bool* imported) {
  Statement* statement = cached(imported_, "SELECT 1 FROM imported_files WHERE name = ?1");
  if (!statement) return Outcome::failed;
  auto guard = statement->use();
  bindText(statement->get(), 1, source);
  const int result = sqlite3_step(statement->get());
  if (result != SQLITE_ROW && result != SQLITE_DONE) return failure();
  *imported = result == SQLITE_ROW;
  return Outcome::done;
}

Outcome ItemDatabase::inWriteTransaction(const std::function<Outcome()>& body) {
  // IMMEDIATE takes the write lock first, so that two processes importing at once take
  // turns and the second finds the first one's record.
  if (!execute("BEGIN IMMEDIATE")) return Outcome::failed;
  bool committed = false;
  ScopeExit rollback([&] {
    if (!committed) sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
  });
  if (const Outcome outcome = body(); outcome != Outcome::done) return outcome;
  if (!execute("COMMIT")) return Outcome::failed;
  committed = true;
  return Outcome::done;
}

Outcome ItemDatabase::addIfNew(const StoredItem& item) {
  Statement* insert = cached(insertIfNew_, std::string("INSERT OR IGNORE INTO items (") + kColumns +
                                               ") VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  if (!insert) return Outcome::failed;
  auto guard = insert->use();
  bindItem(insert->get(), item);
  return sqlite3_step(insert->get()) == SQLITE_DONE ? Outcome::done : failure();
}

Outcome ItemDatabase::markImported(const std::string& source) {
  Statement* mark = cached(markImported_, "INSERT INTO imported_files (name) VALUES (?1)");
  if (!mark) return Outcome::failed;
  auto guard = mark->use();
  bindText(mark->get(), 1, source);
  return sqlite3_step(mark->get()) == SQLITE_DONE ? Outcome::done : failure();
}

Outcome ItemDatabase::importOnce(const std::string& source, const std::vector<StoredItem>& items,
                                 bool* alreadyImported) {
  *alreadyImported = false;
  return inWriteTransaction([&] {
    if (wasImported(source, alreadyImported) != Outcome::done) return Outcome::failed;
    if (*alreadyImported) return Outcome::done;
    for (const StoredItem& item : items) {
      if (addIfNew(item) != Outcome::done) return Outcome::failed;
    }
    return markImported(source);
  });
}

Outcome ItemDatabase::claimUnscopedItems(const std::string& group) {
  std::vector<StoredItem> items;
  if (all(&items) != Outcome::done) return Outcome::failed;
  std::erase_if(items, [](const StoredItem& item) { return !item.accessGroup.empty(); });
  if (items.empty()) return Outcome::done;
  return inWriteTransaction([&] {
    for (StoredItem& item : items) {
      const std::string claim =
          "unscoped item " + item.itemClass + '\x1f' + item.account + '\x1f' + item.service + " for " + group;
      bool claimed = false;
      if (wasImported(claim, &claimed) != Outcome::done) return Outcome::failed;
      if (claimed) continue;
      item.accessGroup = group;
      if (addIfNew(item) != Outcome::done || markImported(claim) != Outcome::done) return Outcome::failed;
    }
    return Outcome::done;
  });
}

Outcome ItemDatabase::integrityProblems(std::vector<std::string>* problems) {
  std::unique_ptr<Statement> check;
  if (!prepare("PRAGMA integrity_check", &check)) return Outcome::failed;
  auto guard = check->use();
  problems->clear();
  int result;
  while ((result = sqlite3_step(check->get())) == SQLITE_ROW) {
    std::string line = textColumn(check->get(), 0);
    if (line != "ok") problems->push_back(std::move(line));
  }
  return result == SQLITE_DONE ? Outcome::done : failure();
}

}  // namespace ios::security_internal
