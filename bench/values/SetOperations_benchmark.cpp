// removeDuplicates, union_ and intersection over 1e3 to 1e5 elements: linear time for
// hashable elements (the complexity report shows it), against hand-written hash-set
// versions; and the linear-scan path for elements that only have ==.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "KPQuaslet/values/Array+KPExtMembership.h"

namespace {

std::vector<std::int64_t> values(std::int64_t n, std::uint64_t seed) {
  std::vector<std::int64_t> out;
  out.reserve(static_cast<std::size_t>(n));
  std::uint64_t state = seed;
  for (std::int64_t i = 0; i < n; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    out.push_back(static_cast<std::int64_t>((state >> 33) % static_cast<std::uint64_t>(n)));  // about 37% repeats
  }
  return out;
}

void BM_KP_RemoveDuplicates(benchmark::State& state) {
  const auto input = values(state.range(0), 1);
  for (auto _ : state) {
    std::vector<std::int64_t> v = input;
    kp::removeDuplicates(v);
    benchmark::DoNotOptimize(v.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_KP_RemoveDuplicates)->RangeMultiplier(10)->Range(1000, 100'000)->Complexity(benchmark::oN);

void BM_Baseline_RemoveDuplicates(benchmark::State& state) {
  const auto input = values(state.range(0), 1);
  for (auto _ : state) {
    std::vector<std::int64_t> v = input;
    std::unordered_set<std::int64_t> seen;
    seen.reserve(v.size());
    std::erase_if(v, [&](std::int64_t x) { return !seen.insert(x).second; });
    benchmark::DoNotOptimize(v.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Baseline_RemoveDuplicates)->RangeMultiplier(10)->Range(1000, 100'000)->Complexity(benchmark::oN);

void BM_KP_Union(benchmark::State& state) {
  const auto a = values(state.range(0), 1);
  const auto b = values(state.range(0), 2);
  for (auto _ : state) {
    auto result = kp::union_(a, b);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_KP_Union)->RangeMultiplier(10)->Range(1000, 100'000)->Complexity(benchmark::oN);

void BM_Baseline_Union(benchmark::State& state) {
  const auto a = values(state.range(0), 1);
  const auto b = values(state.range(0), 2);
  for (auto _ : state) {
    std::vector<std::int64_t> result = a;
    std::unordered_set<std::int64_t> present(a.begin(), a.end());
    for (std::int64_t x : b) {
      if (present.insert(x).second) result.push_back(x);
    }
    benchmark::DoNotOptimize(result.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Baseline_Union)->RangeMultiplier(10)->Range(1000, 100'000)->Complexity(benchmark::oN);

void BM_KP_Intersection(benchmark::State& state) {
  const auto a = values(state.range(0), 1);
  const auto b = values(state.range(0), 2);
  const auto c = values(state.range(0), 3);
  for (auto _ : state) {
    auto result = kp::intersection(a, b, c);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_KP_Intersection)->RangeMultiplier(10)->Range(1000, 100'000)->Complexity(benchmark::oN);

// Elements with == only: the operations fall back to scanning, which grows with n^2.
struct Plain {
  std::int64_t value;
  bool operator==(const Plain&) const = default;
};

void BM_KP_RemoveDuplicatesEquatableOnly(benchmark::State& state) {
  std::vector<Plain> input;
  for (std::int64_t x : values(state.range(0), 1)) input.push_back({x});
  for (auto _ : state) {
    std::vector<Plain> v = input;
    kp::removeDuplicates(v);
    benchmark::DoNotOptimize(v.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_KP_RemoveDuplicatesEquatableOnly)->RangeMultiplier(10)->Range(100, 10'000)->Complexity(benchmark::oNSquared);

}  // namespace
