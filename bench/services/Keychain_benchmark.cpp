// Keychain: storing 10,000 items (every store is written to the owner-only file before
// it returns, so each one rewrites the whole file) and reading them back; beside a
// std::map of the same secrets as the in-memory floor.
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

#include "KPQuaslet/services/KPKeychain.h"
#include "bench/services/TemporaryHome.h"
#include "platform/foundation/FileManager.h"

namespace {

constexpr int kItems = 10'000;

using kp_bench::TemporaryHome;

const std::vector<std::string>& names() {
  static const auto n = [] {
    std::vector<std::string> out;
    for (int i = 0; i < kItems; ++i) out.push_back("token." + std::to_string(i));
    return out;
  }();
  return n;
}

const std::string kSecret = "a secret of about forty bytes, say 0123456789";

void BM_Keychain_Set10k(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  kp::KPKeychain keychain("bench_");
  for (auto _ : state) {
    state.PauseTiming();
    (void)keychain.clear();
    state.ResumeTiming();
    for (const std::string& name : names()) benchmark::DoNotOptimize(keychain.set(kSecret, name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Keychain_Set10k)->Unit(benchmark::kMillisecond)->Iterations(1);

// Replacing one item in a keychain that holds 10,000.
void BM_Keychain_OverwriteIn10k(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  kp::KPKeychain keychain("bench_");
  for (const std::string& name : names()) (void)keychain.set(kSecret, name);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(keychain.set(kSecret, names()[i++ % kItems]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Keychain_OverwriteIn10k)->Unit(benchmark::kMicrosecond);

void BM_Keychain_Get10k(benchmark::State& state) {
  TemporaryHome home;
  ios::testing::ScopedHomeDirectory scoped(home.path);
  kp::KPKeychain keychain("bench_");
  for (const std::string& name : names()) (void)keychain.set(kSecret, name);
  for (auto _ : state) {
    for (const std::string& name : names()) benchmark::DoNotOptimize(keychain.get(name));
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Keychain_Get10k)->Unit(benchmark::kMillisecond);

// Baseline: the same stores and reads on a std::map of bytes, nothing written.
void BM_Baseline_StdMapSetGet10k(benchmark::State& state) {
  for (auto _ : state) {
    std::map<std::string, ios::Data> items;
    for (const std::string& name : names()) items.insert_or_assign("bench_" + name, *ios::dataUsingUTF8(kSecret));
    std::size_t total = 0;
    for (const std::string& name : names()) total += items.find("bench_" + name)->second.size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Baseline_StdMapSetGet10k)->Unit(benchmark::kMillisecond);

}  // namespace
