// Keychain: 10,000 stores, reads and overwrites through KPKeychain, beside raw SQLite
// doing the same inserts, selects and replacements with prepared statements, one
// transaction per item, in a table of the same shape on a database set up the same way
// (write-ahead log, synchronous=NORMAL, secure delete). A KPKeychain store is a read, a
// delete and an add, the last two each its own transaction; the last baseline runs
// those same three statements.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "KPQuaslet/services/KPKeychain.h"
#include "bench/services/TemporaryHome.h"
#include "platform/foundation/FileManager.h"

namespace {

constexpr int kItems = 10'000;

using kp_bench::TemporaryHome;

const std::vector<std::string>& names() {
  static const auto n = [] {
    std::vector<std::string> out;
    for (int i = 0; i < kItems; ++i) out.push_back("token." + std::to_string(i));
    return out;
  }();
  return n;
}

const std::string kSecret = "a secret of about forty bytes, say 0123456789";

// A keychain in a fresh home folder, holding the 10,000 items when `filled`.
struct KeychainFixture {
  explicit KeychainFixture(bool filled) {
    if (!filled) return;
    for (const std::string& name : names()) {
      if (!keychain.set(kSecret, name)) std::abort();
    }
  }
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped{home.path};
  kp::KPKeychain keychain{"bench_"};
};

void BM_Keychain_Set10k(benchmark::State& state) {
  KeychainFixture fixture(false);
  for (auto _ : state) {
    state.PauseTiming();
    (void)fixture.keychain.clear();
    state.ResumeTiming();
    for (const std::string& name : names()) benchmark::DoNotOptimize(fixture.keychain.set(kSecret, name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Keychain_Set10k)->Unit(benchmark::kMillisecond);

void BM_Keychain_Get10k(benchmark::State& state) {
  KeychainFixture fixture(true);
  for (auto _ : state) {
    for (const std::string& name : names()) benchmark::DoNotOptimize(fixture.keychain.get(name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Keychain_Get10k)->Unit(benchmark::kMillisecond);

void BM_Keychain_Overwrite10k(benchmark::State& state) {
  KeychainFixture fixture(true);
  for (auto _ : state) {
    for (const std::string& name : names()) benchmark::DoNotOptimize(fixture.keychain.set(kSecret, name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Keychain_Overwrite10k)->Unit(benchmark::kMillisecond);

// Baseline: the items in a SQLite database of our own, through prepared statements.
class RawDatabase {
 public:
  RawDatabase() {
    const std::string path = home_.path + "/raw.db";
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
      std::abort();
    }
    run("PRAGMA journal_mode = WAL");
    run("PRAGMA synchronous = NORMAL");
    run("PRAGMA secure_delete = ON");
    run("CREATE TABLE items (class TEXT NOT NULL, account TEXT NOT NULL, service TEXT NOT NULL,"
        " access_group TEXT NOT NULL, accessible TEXT NOT NULL, secret BLOB NOT NULL,"
        " PRIMARY KEY (class, account, service, access_group)) WITHOUT ROWID");
    insert_ = prepare("INSERT INTO items VALUES (?1, ?2, '', '', ?3, ?4)");
    replace_ = prepare("INSERT OR REPLACE INTO items VALUES (?1, ?2, '', '', ?3, ?4)");
    select_ = prepare("SELECT secret FROM items WHERE class = ?1 AND account = ?2");
    delete_ = prepare("DELETE FROM items WHERE class = ?1 AND account = ?2");
  }
  ~RawDatabase() {
    sqlite3_finalize(insert_);
    sqlite3_finalize(replace_);
    sqlite3_finalize(select_);
    sqlite3_finalize(delete_);
    sqlite3_close(db_);
  }

  void run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  }
  // Stores the secret of `account` with `statement` (an insert or a replacement).
  bool store(sqlite3_stmt* statement, const std::string& account) {
    bindKey(statement, account);
    sqlite3_bind_text(statement, 3, "kSecAttrAccessibleWhenUnlocked", -1, SQLITE_STATIC);
    sqlite3_bind_blob(statement, 4, kSecret.data(), static_cast<int>(kSecret.size()), SQLITE_STATIC);
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_reset(statement);
    return done;
  }
  std::size_t load(const std::string& account) {
    bindKey(select_, account);
    std::size_t size = 0;
    if (sqlite3_step(select_) == SQLITE_ROW) size = static_cast<std::size_t>(sqlite3_column_bytes(select_, 0));
    sqlite3_reset(select_);
    return size;
  }
  bool remove(const std::string& account) {
    bindKey(delete_, account);
    const bool done = sqlite3_step(delete_) == SQLITE_DONE;
    sqlite3_reset(delete_);
    return done;
  }
  void fill() {
    for (const std::string& name : names()) {
      if (!store(insert_, "bench_" + name)) std::abort();
    }
  }

  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* replace_ = nullptr;
  sqlite3_stmt* select_ = nullptr;
  sqlite3_stmt* delete_ = nullptr;

 private:
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) std::abort();
    return statement;
  }
  static void bindKey(sqlite3_stmt* statement, const std::string& account) {
    sqlite3_bind_text(statement, 1, "kSecClassGenericPassword", -1, SQLITE_STATIC);
    sqlite3_bind_text(statement, 2, account.data(), static_cast<int>(account.size()), SQLITE_TRANSIENT);
  }

  TemporaryHome home_;
  sqlite3* db_ = nullptr;
};

void BM_RawSQLite_Insert10k(benchmark::State& state) {
  RawDatabase raw;
  for (auto _ : state) {
    state.PauseTiming();
    raw.run("DELETE FROM items");
    state.ResumeTiming();
    for (const std::string& name : names()) benchmark::DoNotOptimize(raw.store(raw.insert_, "bench_" + name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_RawSQLite_Insert10k)->Unit(benchmark::kMillisecond);

void BM_RawSQLite_Select10k(benchmark::State& state) {
  RawDatabase raw;
  raw.fill();
  for (auto _ : state) {
    for (const std::string& name : names()) benchmark::DoNotOptimize(raw.load("bench_" + name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_RawSQLite_Select10k)->Unit(benchmark::kMillisecond);

void BM_RawSQLite_Replace10k(benchmark::State& state) {
  RawDatabase raw;
  raw.fill();
  for (auto _ : state) {
    for (const std::string& name : names()) benchmark::DoNotOptimize(raw.store(raw.replace_, "bench_" + name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_RawSQLite_Replace10k)->Unit(benchmark::kMillisecond);

// The statements a KPKeychain overwrite runs (a select, then a delete and an insert,
// each its own transaction), to show what the keychain adds to them.
void BM_RawSQLite_SelectDeleteInsert10k(benchmark::State& state) {
  RawDatabase raw;
  raw.fill();
  for (auto _ : state) {
    for (const std::string& name : names()) {
      const std::string account = "bench_" + name;
      benchmark::DoNotOptimize(raw.load(account));
      benchmark::DoNotOptimize(raw.remove(account));
      benchmark::DoNotOptimize(raw.store(raw.insert_, account));
    }
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_RawSQLite_SelectDeleteInsert10k)->Unit(benchmark::kMillisecond);

}  // namespace
