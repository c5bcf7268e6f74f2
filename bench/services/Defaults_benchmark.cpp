// Typed defaults: writing 10,000 keys (and the file write that synchronize() does),
// reading them back, and reading the file of a new process; beside a plain std::map of
// the same values as the in-memory floor.
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "KPQuaslet/services/DefaultsKey.h"
#include "KPQuaslet/services/UserDefaults+KPExt.h"
#include "bench/services/TemporaryHome.h"
#include "platform/foundation/FileManager.h"

namespace {

constexpr int kKeys = 10'000;

using kp_bench::TemporaryHome;

const std::vector<kp::DefaultsKey<std::int64_t>>& keys() {
  static const auto k = [] {
    std::vector<kp::DefaultsKey<std::int64_t>> out;
    for (int i = 0; i < kKeys; ++i) out.emplace_back("setting." + std::to_string(i));
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

// Anchor for the write: the same 10,000 pairs built as the same JSON with nlohmann-json,
// dumped and written to a temporary file renamed over the target.
void BM_Baseline_NlohmannBuildAndWrite10k(benchmark::State& state) {
  TemporaryHome home;
  const std::string path = home.path + "/suite.json";
  for (auto _ : state) {
    nlohmann::json pairs = nlohmann::json::array();
    for (int i = 0; i < kKeys; ++i) pairs.push_back(nlohmann::json::array({keys()[i]._key(), i}));
    const std::string bytes = nlohmann::json{{"dict", std::move(pairs)}}.dump();
    {
      std::ofstream out(path + ".tmp", std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    benchmark::DoNotOptimize(std::rename((path + ".tmp").c_str(), path.c_str()));
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Baseline_NlohmannBuildAndWrite10k)->Unit(benchmark::kMillisecond);

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
