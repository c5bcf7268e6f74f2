// Draining a hash dictionary of 1e3 to 1e5 keys with removeValueForRandomKey, beside
// erasing the same keys from a std::unordered_map in a random order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"

namespace {

using Dict = std::unordered_map<std::string, int>;

std::vector<std::string> makeKeys(std::int64_t count) {
  std::vector<std::string> keys;
  keys.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) keys.push_back("key-" + std::to_string(i * 7919));
  return keys;
}

Dict makeDictionary(const std::vector<std::string>& keys) {
  Dict d;
  for (std::size_t i = 0; i < keys.size(); ++i) d.emplace(keys[i], static_cast<int>(i));
  return d;
}

void BM_Dictionary_DrainByRandomKey(benchmark::State& state) {
  const std::vector<std::string> keys = makeKeys(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Dict d = makeDictionary(keys);
    state.ResumeTiming();
    long total = 0;
    while (!d.empty()) total += *kp::removeValueForRandomKey(d);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Dictionary_DrainByRandomKey)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_Baseline_MapEraseInRandomOrder(benchmark::State& state) {
  std::vector<std::string> keys = makeKeys(state.range(0));
  std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
  for (auto _ : state) {
    state.PauseTiming();
    Dict d = makeDictionary(keys);
    state.ResumeTiming();
    long total = 0;
    for (const std::string& key : keys) {
      const auto found = d.find(key);
      total += found->second;
      d.erase(found);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Baseline_MapEraseInRandomOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
