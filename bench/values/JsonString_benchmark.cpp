// kp::jsonString of a dictionary of about 1 MB of JSON text, compact and pretty, beside
// nlohmann-json converting and dumping the same dictionary directly.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>
#include <unordered_map>

#include "KPQuaslet/values/Dictionary+KPExt.h"

namespace {

// 8,000 entries of a 12-byte key and a 110-byte value: about 1 MB compact.
const std::unordered_map<std::string, std::string>& textDictionary() {
  static const std::unordered_map<std::string, std::string> d = [] {
    std::unordered_map<std::string, std::string> out;
    for (int i = 0; i < 8000; ++i) {
      std::string value = "value " + std::to_string(i) + " with a path /usr/share/doc and text \"quoted\" ";
      while (value.size() < 110) value += 'x';
      out.emplace("key-" + std::to_string(100000 + i), value);
    }
    return out;
  }();
  return d;
}

void BM_KP_JsonStringCompact(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto text = kp::jsonString(textDictionary(), false);
    bytes = text->size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["json_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_KP_JsonStringCompact)->Unit(benchmark::kMillisecond);

void BM_KP_JsonStringPretty(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto text = kp::jsonString(textDictionary(), true);
    bytes = text->size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_KP_JsonStringPretty)->Unit(benchmark::kMillisecond);

void BM_Baseline_NlohmannDumpCompact(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const nlohmann::json j = textDictionary();
    std::string text = j.dump();
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Baseline_NlohmannDumpCompact)->Unit(benchmark::kMillisecond);

void BM_Baseline_NlohmannDumpPretty(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const nlohmann::json j = textDictionary();
    std::string text = j.dump(2);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Baseline_NlohmannDumpPretty)->Unit(benchmark::kMillisecond);

}  // namespace
