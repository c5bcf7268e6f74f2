// kp::jsonString of a dictionary of about 1 MB of JSON text, compact and pretty, beside
// nlohmann-json converting and dumping the same dictionary directly; the same for values
// held in std::any (looked up in the bridge's table) against typed values, for a whole
// dictionary and for one value; and reading 1 MB of JSON text with the platform's reader
// (nesting check included) against nlohmann-json's parser alone.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>
#include <unordered_map>

#include <any>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "KPQuaslet/values/internal/PropertyListBridge.h"
#include "platform/foundation/JSONSerialization.h"

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

// 8,000 entries, each a vector of ten integers, typed or held in a std::any.
const std::unordered_map<std::string, std::vector<int>>& typedLists() {
  static const std::unordered_map<std::string, std::vector<int>> d = [] {
    std::unordered_map<std::string, std::vector<int>> out;
    for (int i = 0; i < 8000; ++i) out.emplace("key-" + std::to_string(i), std::vector<int>(10, i));
    return out;
  }();
  return d;
}

const std::unordered_map<std::string, std::any>& anyLists() {
  static const std::unordered_map<std::string, std::any> d = [] {
    std::unordered_map<std::string, std::any> out;
    for (const auto& [key, list] : typedLists()) out.emplace(key, list);
    return out;
  }();
  return d;
}

void BM_KP_JsonStringOfValuesInAny(benchmark::State& state) {
  for (auto _ : state) {
    auto text = kp::jsonString(anyLists(), false);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_KP_JsonStringOfValuesInAny)->Unit(benchmark::kMillisecond);

void BM_KP_JsonStringOfTypedValues(benchmark::State& state) {
  for (auto _ : state) {
    auto text = kp::jsonString(typedLists(), false);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_KP_JsonStringOfTypedValues)->Unit(benchmark::kMillisecond);

void BM_Baseline_NlohmannDumpOfTypedValues(benchmark::State& state) {
  for (auto _ : state) {
    const nlohmann::json j = typedLists();
    std::string text = j.dump();
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_Baseline_NlohmannDumpOfTypedValues)->Unit(benchmark::kMillisecond);

// One value held in a std::any against the same value statically typed: the lookup in
// the bridge's table of held types is one hash probe, whatever the table's size. The
// anchor is nlohmann-json converting the typed value.
const std::vector<std::vector<std::vector<int>>> kThreeLevels{{{1, 2}, {3}}, {{4}}};

void BM_KP_AnyToPropertyListOfInt(benchmark::State& state) {
  const std::any value = 7;
  for (auto _ : state) benchmark::DoNotOptimize(kp::values_internal::anyToPropertyList(value, 0));
}
BENCHMARK(BM_KP_AnyToPropertyListOfInt);

void BM_KP_TypedToPropertyListOfInt(benchmark::State& state) {
  int value = 7;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(kp::values_internal::toPropertyList(value));
  }
}
BENCHMARK(BM_KP_TypedToPropertyListOfInt);

void BM_Baseline_NlohmannFromInt(benchmark::State& state) {
  int value = 7;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    nlohmann::json j = value;
    benchmark::DoNotOptimize(j);
  }
}
BENCHMARK(BM_Baseline_NlohmannFromInt);

void BM_KP_AnyToPropertyListOfThreeLevels(benchmark::State& state) {
  const std::any value = kThreeLevels;
  for (auto _ : state) benchmark::DoNotOptimize(kp::values_internal::anyToPropertyList(value, 0));
}
BENCHMARK(BM_KP_AnyToPropertyListOfThreeLevels);

void BM_KP_TypedToPropertyListOfThreeLevels(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kp::values_internal::toPropertyList(kThreeLevels));
}
BENCHMARK(BM_KP_TypedToPropertyListOfThreeLevels);

void BM_Baseline_NlohmannFromThreeLevels(benchmark::State& state) {
  for (auto _ : state) {
    nlohmann::json j = kThreeLevels;
    benchmark::DoNotOptimize(j);
  }
}
BENCHMARK(BM_Baseline_NlohmannFromThreeLevels);

const std::string& jsonText() {
  static const std::string text = *kp::jsonString(textDictionary(), false);
  return text;
}

void BM_Platform_JsonObjectRead(benchmark::State& state) {
  for (auto _ : state) {
    ios::PropertyList value = ios::JSONSerialization::jsonObject(std::string_view(jsonText()));
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * jsonText().size()));
}
BENCHMARK(BM_Platform_JsonObjectRead)->Unit(benchmark::kMillisecond);

void BM_Baseline_NlohmannParse(benchmark::State& state) {
  for (auto _ : state) {
    nlohmann::json value = nlohmann::json::parse(jsonText());
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * jsonText().size()));
}
BENCHMARK(BM_Baseline_NlohmannParse)->Unit(benchmark::kMillisecond);

}  // namespace
