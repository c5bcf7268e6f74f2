// OrderedDictionary: inserting and looking up 1e5 keys, beside a hand-written key vector
// plus hash map doing the same work; and draining 1e3 to 1e5 keys by key (oldest first,
// newest first, in random order), beside erasing the same keys from a hash map.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/OrderedDictionary.h"

namespace {

constexpr int kKeys = 100'000;

const std::vector<std::string>& keys() {
  static const std::vector<std::string> k = [] {
    std::vector<std::string> out;
    out.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i) out.push_back("key-" + std::to_string(i * 7919));
    return out;
  }();
  return k;
}

void BM_OrderedDictionary_SetAppends(benchmark::State& state) {
  for (auto _ : state) {
    kp::OrderedDictionary<std::string, int> d;
    for (int i = 0; i < kKeys; ++i) d.set(keys()[i], i);
    benchmark::DoNotOptimize(d);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_OrderedDictionary_SetAppends)->Unit(benchmark::kMillisecond);

void BM_OrderedDictionary_InsertAtEnd(benchmark::State& state) {
  for (auto _ : state) {
    kp::OrderedDictionary<std::string, int> d;
    for (int i = 0; i < kKeys; ++i) d.insert(i, keys()[i], d.count());
    benchmark::DoNotOptimize(d);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_OrderedDictionary_InsertAtEnd)->Unit(benchmark::kMillisecond);

void BM_Baseline_VectorAndMapAppends(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::string> order;
    std::unordered_map<std::string, int> values;
    for (int i = 0; i < kKeys; ++i) {
      if (values.insert_or_assign(keys()[i], i).second) order.push_back(keys()[i]);
    }
    benchmark::DoNotOptimize(order);
    benchmark::DoNotOptimize(values);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Baseline_VectorAndMapAppends)->Unit(benchmark::kMillisecond);

void BM_OrderedDictionary_GetByKey(benchmark::State& state) {
  kp::OrderedDictionary<std::string, int> d;
  for (int i = 0; i < kKeys; ++i) d.set(keys()[i], i);
  for (auto _ : state) {
    long total = 0;
    for (int i = 0; i < kKeys; ++i) total += *d.get(keys()[i]);
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_OrderedDictionary_GetByKey)->Unit(benchmark::kMillisecond);

void BM_OrderedDictionary_AtPosition(benchmark::State& state) {
  kp::OrderedDictionary<std::string, int> d;
  for (int i = 0; i < kKeys; ++i) d.set(keys()[i], i);
  for (auto _ : state) {
    long total = 0;
    for (int i = 0; i < kKeys; ++i) total += d.at(i).second;
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_OrderedDictionary_AtPosition)->Unit(benchmark::kMillisecond);

void BM_Baseline_MapFind(benchmark::State& state) {
  std::unordered_map<std::string, int> values;
  for (int i = 0; i < kKeys; ++i) values.emplace(keys()[i], i);
  for (auto _ : state) {
    long total = 0;
    for (int i = 0; i < kKeys; ++i) total += values.find(keys()[i])->second;
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_Baseline_MapFind)->Unit(benchmark::kMillisecond);

// The first `count` keys in the order a drain removes them.
std::vector<std::string> drainOrder(std::int64_t count, int order) {
  std::vector<std::string> out(keys().begin(), keys().begin() + count);
  if (order == 1) std::reverse(out.begin(), out.end());
  if (order == 2) std::shuffle(out.begin(), out.end(), std::mt19937(42));
  return out;
}

// Arguments: the number of keys, then 0 (oldest first), 1 (newest first) or 2 (random).
void BM_OrderedDictionary_DrainByKey(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  const std::vector<std::string> removals = drainOrder(count, static_cast<int>(state.range(1)));
  for (auto _ : state) {
    state.PauseTiming();
    kp::OrderedDictionary<std::string, int> d;
    for (std::int64_t i = 0; i < count; ++i) d.set(keys()[static_cast<std::size_t>(i)], static_cast<int>(i));
    state.ResumeTiming();
    for (const std::string& key : removals) d.set(key, std::nullopt);
    benchmark::DoNotOptimize(d);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_OrderedDictionary_DrainByKey)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);

void BM_Baseline_MapEraseByKey(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  const std::vector<std::string> removals = drainOrder(count, static_cast<int>(state.range(1)));
  for (auto _ : state) {
    state.PauseTiming();
    std::unordered_map<std::string, int> values;
    for (std::int64_t i = 0; i < count; ++i) values.emplace(keys()[static_cast<std::size_t>(i)], static_cast<int>(i));
    state.ResumeTiming();
    for (const std::string& key : removals) values.erase(key);
    benchmark::DoNotOptimize(values);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Baseline_MapEraseByKey)->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

}  // namespace
