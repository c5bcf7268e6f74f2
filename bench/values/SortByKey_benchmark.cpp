// kp::sorted by a key on 1e6 elements, beside std::stable_sort with the same key.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "KPQuaslet/values/Array+KPExt.h"

namespace {

constexpr std::size_t kCount = 1'000'000;

struct Record {
  std::int64_t id;
  double score;
  std::optional<double> rating;
};

const std::vector<Record>& records() {
  static const std::vector<Record> r = [] {
    std::vector<Record> out;
    out.reserve(kCount);
    std::uint64_t state = 88172645463325252ull;
    for (std::size_t i = 0; i < kCount; ++i) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      const double score = static_cast<double>(state % 1'000'000) / 7.0;
      out.push_back({static_cast<std::int64_t>(i), score,
                     state % 10 < 3 ? std::nullopt : std::optional<double>(score)});
    }
    return out;
  }();
  return r;
}

void BM_KP_SortedByKey(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<Record> result = kp::sorted(records(), &Record::score);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_KP_SortedByKey)->Unit(benchmark::kMillisecond);

void BM_Baseline_StableSortByKey(benchmark::State& state) {
  const auto key = &Record::score;
  for (auto _ : state) {
    std::vector<Record> result = records();
    std::stable_sort(result.begin(), result.end(),
                     [&](const Record& a, const Record& b) { return std::invoke(key, a) < std::invoke(key, b); });
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_Baseline_StableSortByKey)->Unit(benchmark::kMillisecond);

void BM_KP_SortedByOptionalKeyDescending(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<Record> result = kp::sorted(records(), &Record::rating, false);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_KP_SortedByOptionalKeyDescending)->Unit(benchmark::kMillisecond);

}  // namespace
