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
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

namespace {

// A photo-like picture: smooth gradients with a little noise (B,G,R,A, opaque).
const ios::UIImage& photo(std::size_t w, std::size_t h) {
  static std::vector<std::pair<std::size_t, ios::UIImage>> cache;
  for (const auto& [width, image] : cache) {
    if (width == w) return image;
  }
  std::vector<std::uint8_t> bytes(w * h * 4);
  std::uint32_t seed = 12345;
  for (std::size_t y = 0; y < h; ++y) {
    for (std::size_t x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      std::uint8_t* p = &bytes[(y * w + x) * 4];
      p[0] = static_cast<std::uint8_t>((x * 200 / w + y * 55 / h) + ((seed >> 28) & 3));
      p[1] = static_cast<std::uint8_t>(y * 255 / h);
      p[2] = static_cast<std::uint8_t>(x * 255 / w);
      p[3] = 255;
    }
  }
  auto cg = ios::CGImage::make(w, h, 8, 32, w * 4, ios::CGColorSpaceCreateDeviceRGB(),
                               ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
                               std::move(bytes));
  cache.emplace_back(w, ios::UIImage(cg));
  return cache.back().second;
}

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
