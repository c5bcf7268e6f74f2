// Roman numerals and kFormatted over a million values, a numeral of two million
// letters against filling the same string, and the geometry operators against the same
// arithmetic written by hand.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "KPQuaslet/values/CGOperators.h"
#include "KPQuaslet/values/CGRect+KPExt.h"
#include "KPQuaslet/values/Int+KPExt.h"

namespace {

constexpr std::int64_t kValues = 1'000'000;

void BM_RomanNumeral_1e6(benchmark::State& state) {
  for (auto _ : state) {
    std::size_t total = 0;
    for (std::int64_t n = 1; n <= kValues; ++n) total += kp::romanNumeral(n % 4000 + 1)->size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(BM_RomanNumeral_1e6)->Unit(benchmark::kMillisecond);

// n thousands: n letters "M" and the rest.
void BM_RomanNumeral_Large(benchmark::State& state) {
  const std::int64_t n = state.range(0) * 1000 + 944;
  for (auto _ : state) {
    auto text = kp::romanNumeral(n);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RomanNumeral_Large)->RangeMultiplier(10)->Range(20'000, 2'000'000)->Unit(benchmark::kMicrosecond);

void BM_Baseline_FillString_Large(benchmark::State& state) {
  for (auto _ : state) {
    std::string text;
    text.reserve(static_cast<std::size_t>(state.range(0)) + 6);
    text.append(static_cast<std::size_t>(state.range(0)), 'M');
    text += "CMXLIV";
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Baseline_FillString_Large)->RangeMultiplier(10)->Range(20'000, 2'000'000)->Unit(benchmark::kMicrosecond);

void BM_KFormatted_1e6(benchmark::State& state) {
  for (auto _ : state) {
    std::size_t total = 0;
    for (std::int64_t n = 0; n < kValues; ++n) total += kp::kFormatted((n - kValues / 2) * 4099).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(BM_KFormatted_1e6)->Unit(benchmark::kMillisecond);

// Baseline: the printf formatting the platform's String(format:) would do.
void BM_KFormattedSnprintfBaseline_1e6(benchmark::State& state) {
  for (auto _ : state) {
    std::size_t total = 0;
    char buffer[32];
    for (std::int64_t n = 0; n < kValues; ++n) {
      const std::int64_t v = (n - kValues / 2) * 4099;
      const long long a = v < 0 ? -v : v;
      int length = 0;
      if (a < 1000) {
        length = std::snprintf(buffer, sizeof buffer, "0k");
      } else if (a < 1000000) {
        length = std::snprintf(buffer, sizeof buffer, "%s%lldk", v < 0 ? "-" : "", a / 1000);
      } else {
        length = std::snprintf(buffer, sizeof buffer, "%s%lldkk", v < 0 ? "-" : "", a / 1000000);
      }
      total += std::string(buffer, static_cast<std::size_t>(length)).size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(BM_KFormattedSnprintfBaseline_1e6)->Unit(benchmark::kMillisecond);

constexpr std::size_t kPoints = 4096;

struct GeometryData {
  std::vector<ios::CGPoint> points;
  std::vector<ios::CGSize> sizes;
  std::vector<ios::CGVector> vectors;
  GeometryData() {
    for (std::size_t i = 0; i < kPoints; ++i) {
      const double f = static_cast<double>(i);
      points.emplace_back(f, f * 0.5);
      sizes.emplace_back(f * 0.25 + 1, f + 2);
      vectors.emplace_back(-f, 3.0);
    }
  }
};

const GeometryData& data() {
  static const GeometryData d;
  return d;
}

// ((point + size) * 0.5 - vector) / 2, accumulated; then a rectangle's centre moved.
void BM_GeometryOperators(benchmark::State& state) {
  const GeometryData& d = data();
  for (auto _ : state) {
    ios::CGPoint sum;
    ios::CGRect frame(0, 0, 10, 20);
    for (std::size_t i = 0; i < kPoints; ++i) {
      const ios::CGPoint p = ((d.points[i] + d.sizes[i]) * 0.5 - d.vectors[i]) / 2;
      sum += p;
      kp::setCenter(frame, p);
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(frame);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kPoints));
}
BENCHMARK(BM_GeometryOperators);

void BM_GeometryHandWrittenBaseline(benchmark::State& state) {
  const GeometryData& d = data();
  for (auto _ : state) {
    double sx = 0, sy = 0;
    double fx = 0, fy = 0;
    const double fw = 10, fh = 20;
    for (std::size_t i = 0; i < kPoints; ++i) {
      const double x = ((d.points[i].x + d.sizes[i].width) * 0.5 - d.vectors[i].dx) / 2;
      const double y = ((d.points[i].y + d.sizes[i].height) * 0.5 - d.vectors[i].dy) / 2;
      sx += x;
      sy += y;
      fx = x - fw * 0.5;
      fy = y - fh * 0.5;
    }
    ios::CGPoint sum(sx, sy);
    ios::CGRect frame(fx, fy, fw, fh);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(frame);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kPoints));
}
BENCHMARK(BM_GeometryHandWrittenBaseline);

}  // namespace
