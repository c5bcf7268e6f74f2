// Downscaling a 4000 × 3000 photo to the palette's lowest size (100 × 75 pixels at
// scale 2): the area-average resampler alone, the same redraw through an image context,
// and getColors(.lowest), beside two anchors of the same run: cairo's own downscale of
// the same pixels (a good filter, which samples only some of them) and one pass that
// reads every byte of the picture.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "KPQuaslet/imaging/KPImageColors.h"
#include "bench/imaging/Photo.h"
#include "platform/coregraphics/internal/ContextState.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

namespace {

constexpr std::size_t kWidth = 4000, kHeight = 3000, kSmallWidth = 100, kSmallHeight = 75;

const std::uint32_t* photoWords() {
  return reinterpret_cast<const std::uint32_t*>(
      kp_bench::photo(kWidth, kHeight).cgImage()->dataProvider()->bytes().data());
}

// Anchor: every byte of the picture read once (four running sums, one per byte lane).
void BM_OnePassOverPixels(benchmark::State& state) {
  const std::uint32_t* words = photoWords();
  for (auto _ : state) {
    std::uint64_t sums[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < kWidth * kHeight; ++i) {
      const std::uint32_t v = words[i];
      sums[0] += v & 255, sums[1] += (v >> 8) & 255, sums[2] += (v >> 16) & 255, sums[3] += v >> 24;
    }
    benchmark::DoNotOptimize(sums);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kWidth * kHeight * 4));
}
BENCHMARK(BM_OnePassOverPixels)->Unit(benchmark::kMillisecond);

// Anchor: cairo drawing the picture scaled into the small surface with its good filter.
void BM_CairoDownscale(benchmark::State& state) {
  auto* words = const_cast<std::uint32_t*>(photoWords());
  cairo_surface_t* source = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(words),
                                                                CAIRO_FORMAT_ARGB32, kWidth, kHeight, kWidth * 4);
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSmallWidth, kSmallHeight);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, static_cast<double>(kSmallWidth) / kWidth, static_cast<double>(kSmallHeight) / kHeight);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
  }
  cairo_surface_destroy(target);
  cairo_surface_destroy(source);
}
BENCHMARK(BM_CairoDownscale)->Unit(benchmark::kMillisecond);

void BM_AreaAverage(benchmark::State& state) {
  const std::uint32_t* words = photoWords();
  std::vector<std::uint32_t> small(kSmallWidth * kSmallHeight);
  for (auto _ : state) {
    ios::cg_internal::areaAverage(words, kWidth, kHeight, kWidth, small.data(), kSmallWidth, kSmallHeight);
    benchmark::DoNotOptimize(small.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kWidth * kHeight * 4));
}
BENCHMARK(BM_AreaAverage)->Unit(benchmark::kMillisecond);

// The redraw getColors(.lowest) makes: 50 × 37.5 points at scale 2.
void BM_RedrawForLowest(benchmark::State& state) {
  const ios::UIImage& image = kp_bench::photo(kWidth, kHeight);
  for (auto _ : state) {
    ios::UIGraphicsBeginImageContextWithOptions({50, 37.5}, false, 2);
    image.draw(ios::CGRect{{0, 0}, {50, 37.5}});
    auto scaled = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    if (!scaled) std::abort();
    benchmark::DoNotOptimize(scaled);
  }
}
BENCHMARK(BM_RedrawForLowest)->Unit(benchmark::kMillisecond);

void BM_GetColorsLowest(benchmark::State& state) {
  const ios::UIImage& image = kp_bench::photo(kWidth, kHeight);
  ios::testing::setMainScreenScale(2);
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, kp::KPImageColorsQuality::lowest));
  ios::testing::resetMainScreen();
}
BENCHMARK(BM_GetColorsLowest)->Unit(benchmark::kMillisecond);

}  // namespace
