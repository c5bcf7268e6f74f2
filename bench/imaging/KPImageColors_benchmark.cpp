// Palette extraction: getColors at each quality on a 4000 × 3000 and a 500 × 500 image,
// the counting step alone, and the redraw alone (the baseline getColors(.high) is
// measured against).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/imaging/UIImage+KPColors.h"
#include "KPQuaslet/imaging/internal/PixelCounting.h"
#include "bench/imaging/Photo.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

namespace {

using kp_bench::photo;

void BM_GetColors(benchmark::State& state) {
  const auto quality = static_cast<kp::KPImageColorsQuality>(state.range(1));
  const auto side = static_cast<std::size_t>(state.range(0));
  const ios::UIImage& image = side == 4000 ? photo(4000, 3000) : photo(500, 500);
  // .highest counts the image at screen scale; at scale 1 that is its own pixels.
  ios::testing::setMainScreenScale(quality == kp::KPImageColorsQuality::highest ? 1 : 2);
  const auto check = kp::getColors(image, quality);
  if (!check.background || !check.detail) std::abort();
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, quality));
  ios::testing::resetMainScreen();
}
BENCHMARK(BM_GetColors)
    ->ArgNames({"side", "quality"})
    ->ArgsProduct({{4000, 500}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

// The redraw getColors(.high) makes, alone: 250 × 187.5 points at scale 2.
void BM_ResizeForHigh(benchmark::State& state) {
  const ios::UIImage& image = photo(4000, 3000);
  for (auto _ : state) {
    ios::UIGraphicsBeginImageContextWithOptions({250, 187.5}, false, 2);
    image.draw(ios::CGRect{{0, 0}, {250, 187.5}});
    auto scaled = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    if (!scaled) std::abort();
    benchmark::DoNotOptimize(scaled);
  }
}
BENCHMARK(BM_ResizeForHigh)->Unit(benchmark::kMillisecond);

void BM_GetColorsHigh(benchmark::State& state) {
  const ios::UIImage& image = photo(4000, 3000);
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, kp::KPImageColorsQuality::high));
}
BENCHMARK(BM_GetColorsHigh)->Unit(benchmark::kMillisecond);

// The counting step at .highest: every pixel of the 4000 × 3000 image.
void BM_CountingAtHighest(benchmark::State& state) {
  const ios::CGImage& image = *photo(4000, 3000).cgImage();
  const auto bytes = *ios::CGDataProviderCopyData(image.dataProvider());
  if (kp::imaging_internal::countVisiblePixels(image, bytes).size() < 1000) std::abort();
  for (auto _ : state) benchmark::DoNotOptimize(kp::imaging_internal::countVisiblePixels(image, bytes));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 4000 * 3000);
}
BENCHMARK(BM_CountingAtHighest)->Unit(benchmark::kMillisecond);

// The edge-colour extractor at its default size (500 pixels wide).
void BM_EdgeColors(benchmark::State& state) {
  const ios::UIImage& image = photo(4000, 3000);
  for (auto _ : state) benchmark::DoNotOptimize(kp::colors(image, std::nullopt));
}
BENCHMARK(BM_EdgeColors)->Unit(benchmark::kMillisecond);

}  // namespace
