// Appending ten query parameters to URLs whose query already holds 10 to 1,000 items:
// only the new items are encoded, so the cost is the copy of the existing text; beside
// appending the same encoded text to the URL string by hand.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include "KPQuaslet/text/URL+KPExt.h"

namespace {

std::string urlWithItems(std::int64_t items) {
  std::string text = "https://h.example/search?";
  for (std::int64_t i = 0; i < items; ++i) {
    if (i > 0) text += '&';
    text += "name" + std::to_string(i) + "=value+" + std::to_string(i) + "%20x";
  }
  return text;
}

const std::unordered_map<std::string, std::string>& added() {
  static const std::unordered_map<std::string, std::string> parameters = [] {
    std::unordered_map<std::string, std::string> out;
    for (int i = 0; i < 10; ++i) out.emplace("k" + std::to_string(i), "v " + std::to_string(i));
    return out;
  }();
  return parameters;
}

void BM_KP_AppendingQueryParameters(benchmark::State& state) {
  const ios::URL url = *ios::URL::fromString(urlWithItems(state.range(0)));
  for (auto _ : state) {
    ios::URL appended = kp::appendingQueryParameters(url, added());
    benchmark::DoNotOptimize(appended);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_KP_AppendingQueryParameters)->RangeMultiplier(10)->Range(10, 1000)->Complexity(benchmark::oN);

void BM_Baseline_AppendEncodedText(benchmark::State& state) {
  const std::string text = urlWithItems(state.range(0));
  for (auto _ : state) {
    std::string appended = text;
    for (int i = 0; i < 10; ++i) appended += "&k" + std::to_string(i) + "=v%20" + std::to_string(i);
    benchmark::DoNotOptimize(ios::URL::fromString(appended));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Baseline_AppendEncodedText)->RangeMultiplier(10)->Range(10, 1000)->Complexity(benchmark::oN);

}  // namespace
