// Typed defaults: writing 10,000 keys (and the file write that synchronize() does), one
// key changed in suites of 10 to 100,000 keys and written, reading them back, and reading
// the file of a new process; beside nlohmann-json building and writing the same file and
// a plain std::map of the same values as the in-memory floor.
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "KPQuaslet/services/DefaultsKey.h"
#include "KPQuaslet/services/UserDefaults+KPExt.h"
#include "bench/services/TemporaryHome.h"
#include "platform/foundation/FileManager.h"

namespace {

constexpr int kKeys = 10'000;
// The most keys a benchmark's suite holds.
constexpr int kMostKeys = 100'000;

using kp_bench::TemporaryHome;

const std::vector<kp::DefaultsKey<std::int64_t>>& keys() {
  static const auto k = [] {
    std::vector<kp::DefaultsKey<std::int64_t>> out;
    for (int i = 0; i < kMostKeys; ++i) out.emplace_back("setting." + std::to_string(i));
    return out;
  }();
  return k;
}

void BM_Defaults_Write10kAndSynchronize(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  for (auto _ : state) {
    auto defaults = ios::UserDefaults::make("bench.write");
    for (int i = 0; i < kKeys; ++i) kp::set(*defaults, keys()[i], std::int64_t{i});
    benchmark::DoNotOptimize(defaults->synchronize());
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Defaults_Write10kAndSynchronize)->Unit(benchmark::kMillisecond);

// The same writes on a suite an application keeps open: no file is read back, so this is
// set + synchronize alone (the write merges into the file, which nobody else changed).
void BM_Defaults_Write10kAndSynchronizeOpenSuite(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  auto defaults = ios::UserDefaults::make("bench.write");
  for (auto _ : state) {
    for (int i = 0; i < kKeys; ++i) kp::set(*defaults, keys()[i], std::int64_t{i});
    benchmark::DoNotOptimize(defaults->synchronize());
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Defaults_Write10kAndSynchronizeOpenSuite)->Unit(benchmark::kMillisecond);

// The file write the store does, with the same system calls: a fresh owner-only
// temporary file beside the target (O_EXCL, fchmod), written, closed and renamed over
// the target. No fsync on either side: the store does not sync.
void writeLikeTheStore(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp-anchor";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return;
  bool ok = ::fchmod(fd, 0600) == 0;
  for (std::size_t written = 0; ok && written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = ::close(fd) == 0 && ok;
  benchmark::DoNotOptimize(ok && ::rename(temporary.c_str(), path.c_str()) == 0);
}

// The same pairs as the store's file ({"dict": [[key, value], ...]}), built with
// nlohmann-json and dumped.
std::string nlohmannFileOf(int count) {
  nlohmann::json pairs = nlohmann::json::array();
  for (int i = 0; i < count; ++i) pairs.push_back(nlohmann::json::array({keys()[i]._key(), i}));
  return nlohmann::json{{"dict", std::move(pairs)}}.dump();
}

// Anchor for the write: the same 10,000 pairs built as the same JSON with nlohmann-json,
// dumped and written as the store writes its file.
void BM_Baseline_NlohmannBuildAndWrite10k(benchmark::State& state) {
  TemporaryHome home;
  const std::string path = home.path + "/suite.json";
  for (auto _ : state) writeLikeTheStore(path, nlohmannFileOf(kKeys));
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Baseline_NlohmannBuildAndWrite10k)->Unit(benchmark::kMillisecond);

// A suite of range(0) keys kept open by the application: one key changed, then
// synchronize() (the file, which nobody else changed, is written whole).
void BM_Defaults_SetOneAndSynchronize(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  auto defaults = ios::UserDefaults::make("bench.one");
  for (int i = 0; i < count; ++i) kp::set(*defaults, keys()[i], std::int64_t{i});
  defaults->synchronize();
  std::int64_t next = 0;
  for (auto _ : state) {
    kp::set(*defaults, keys()[count / 2], ++next);
    benchmark::DoNotOptimize(defaults->synchronize());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Defaults_SetOneAndSynchronize)->Arg(10)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// Anchor: the same range(0) pairs built as the same JSON with nlohmann-json, dumped and
// written as the store writes its file, in the folder where the store keeps it.
void BM_Baseline_NlohmannBuildAndWrite(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  const std::string folder = ios::NSHomeDirectory() + "/Library/Preferences";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/bench.one.json";
  for (auto _ : state) writeLikeTheStore(path, nlohmannFileOf(count));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Baseline_NlohmannBuildAndWrite)->Arg(10)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// Reads every key of a suite holding the 10,000 keys with `read(defaults, i)`.
template <class Read>
void readEveryKey(benchmark::State& state, Read read) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  auto defaults = ios::UserDefaults::make("bench.read");
  for (int i = 0; i < kKeys; ++i) kp::set(*defaults, keys()[i], std::int64_t{i});
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (int i = 0; i < kKeys; ++i) sum += read(*defaults, i);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_Defaults_Read10k(benchmark::State& state) {
  readEveryKey(state, [](ios::UserDefaults& d, int i) { return kp::get(d, keys()[i]); });
}
BENCHMARK(BM_Defaults_Read10k)->Unit(benchmark::kMillisecond);

// The string-key path: a Proxy made for every read (it holds the store for its life),
// beside the store's own typed reader on the same keys.
void BM_Defaults_ProxyRead10k(benchmark::State& state) {
  readEveryKey(state, [](ios::UserDefaults& d, int i) { return kp::proxy(d, keys()[i]._key()).intValue(); });
}
BENCHMARK(BM_Defaults_ProxyRead10k)->Unit(benchmark::kMillisecond);

void BM_Baseline_StoreIntegerRead10k(benchmark::State& state) {
  readEveryKey(state, [](ios::UserDefaults& d, int i) { return d.integer(keys()[i]._key()); });
}
BENCHMARK(BM_Baseline_StoreIntegerRead10k)->Unit(benchmark::kMillisecond);

// A new process's first access: the suite's file of 10,000 keys is read and parsed.
void BM_Defaults_Load10kFromFile(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  {
    auto defaults = ios::UserDefaults::make("bench.load");
    for (int i = 0; i < kKeys; ++i) kp::set(*defaults, keys()[i], std::int64_t{i});
  }
  for (auto _ : state) {
    auto defaults = ios::UserDefaults::make("bench.load");
    benchmark::DoNotOptimize(kp::get(*defaults, keys()[kKeys - 1]));
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Defaults_Load10kFromFile)->Unit(benchmark::kMillisecond);

// Baseline: the same writes and reads on a std::map, nothing shared, nothing written.
void BM_Baseline_StdMapWriteRead10k(benchmark::State& state) {
  for (auto _ : state) {
    std::map<std::string, ios::PropertyList, std::less<>> values;
    for (int i = 0; i < kKeys; ++i) values.insert_or_assign(keys()[i]._key(), ios::PropertyList(std::int64_t{i}));
    std::int64_t sum = 0;
    for (int i = 0; i < kKeys; ++i) sum += *values.find(keys()[i]._key())->second.integerValue();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Baseline_StdMapWriteRead10k)->Unit(benchmark::kMillisecond);

}  // namespace
