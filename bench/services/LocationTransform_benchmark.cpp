// Datum conversions per call, and the folder sizes over a 10,000-file tree.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "KPQuaslet/services/FileManager+KPExt.h"
#include "KPQuaslet/services/LocationTransform.h"
#include "platform/foundation/StandardOutput.h"

namespace {

using kp::LocationTransform;

template <class Convert>
void runConversions(benchmark::State& state, Convert convert) {
  double lat = 39.9, lng = 116.3;
  for (auto _ : state) {
    auto r = convert(lat, lng);
    benchmark::DoNotOptimize(r);
    lat += 1e-9;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_wgs2gcj(benchmark::State& s) { runConversions(s, LocationTransform::wgs2gcj); }
void BM_gcj2wgs(benchmark::State& s) { runConversions(s, LocationTransform::gcj2wgs); }
void BM_gcj2wgs_exact(benchmark::State& s) { runConversions(s, LocationTransform::gcj2wgs_exact); }
void BM_gcj2bd(benchmark::State& s) { runConversions(s, LocationTransform::gcj2bd); }
void BM_bd2gcj(benchmark::State& s) { runConversions(s, LocationTransform::bd2gcj); }
void BM_wgs2bd(benchmark::State& s) { runConversions(s, LocationTransform::wgs2bd); }
void BM_bd2wgs(benchmark::State& s) { runConversions(s, LocationTransform::bd2wgs); }
BENCHMARK(BM_wgs2gcj);
BENCHMARK(BM_gcj2wgs);
BENCHMARK(BM_gcj2wgs_exact);
BENCHMARK(BM_gcj2bd);
BENCHMARK(BM_bd2gcj);
BENCHMARK(BM_wgs2bd);
BENCHMARK(BM_bd2wgs);

// A tree of 100 folders holding 100 small files each.
const std::string& tree() {
  static const std::string root = [] {
    const auto path = std::filesystem::temp_directory_path() / "kpquaslet-bench-tree";
    std::filesystem::remove_all(path);
    for (int d = 0; d < 100; ++d) {
      const auto folder = path / ("d" + std::to_string(d));
      std::filesystem::create_directories(folder);
      for (int f = 0; f < 100; ++f) std::ofstream(folder / ("f" + std::to_string(f))) << "0123456789";
    }
    return path.string();
  }();
  return root;
}

void BM_getFolderSizeWithPath_10000Files(benchmark::State& state) {
  auto& fm = ios::FileManager::defaultManager();
  for (auto _ : state) benchmark::DoNotOptimize(kp::getFolderSizeWithPath(fm, tree()));
}
BENCHMARK(BM_getFolderSizeWithPath_10000Files)->Unit(benchmark::kMillisecond);

void BM_folderSizeAtPath_100Entries(benchmark::State& state) {
  ios::testing::CapturedOutput quiet;  // it prints its byte total
  for (auto _ : state) benchmark::DoNotOptimize(kp::folderSizeAtPath(tree() + "/d0"));
}
BENCHMARK(BM_folderSizeAtPath_100Entries)->Unit(benchmark::kMicrosecond);

}  // namespace
