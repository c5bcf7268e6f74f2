// OrderedDictionary: inserting and looking up 1e5 keys, beside a hand-written key vector
// plus hash map doing the same work.
#include <benchmark/benchmark.h>

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

}  // namespace
