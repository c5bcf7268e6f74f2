// Draining a hash dictionary of 1e3 to 1e5 keys with removeValueForRandomKey, beside
// erasing the same keys from a std::unordered_map in a random order, with and without
// one draw of the platform's random source per key (each pick needs at least one, and
// that source is a system call here).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "platform/foundation/Random.h"

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

// Arguments: the number of keys, then 0 (erase only) or 1 (and one random draw per key).
void BM_Baseline_MapEraseInRandomOrder(benchmark::State& state) {
  std::vector<std::string> keys = makeKeys(state.range(0));
  std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
  const bool draw = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    Dict d = makeDictionary(keys);
    state.ResumeTiming();
    long total = 0;
    for (const std::string& key : keys) {
      if (draw) total += ios::arc4random_uniform(static_cast<std::uint32_t>(d.size()));
      const auto found = d.find(key);
      total += found->second;
      d.erase(found);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Baseline_MapEraseInRandomOrder)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
