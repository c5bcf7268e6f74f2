// Downscaling photos of 1000 × 1000, 3000 × 2000 and 6000 × 4000 pixels to the palette's
// lowest size (a longer side of 100 pixels: 50 points at scale 2) with the area-average
// resampler, beside two anchors of the same run over the same pixels: cairo's own
// downscale (a good filter, which samples only some of them) and one pass that reads
// every byte of the picture once. Then, on a 4000 × 3000 photo, the same redraw through
// an image context and getColors(.lowest).
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <emmintrin.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "KPQuaslet/imaging/KPImageColors.h"
#include "bench/imaging/Photo.h"
#include "platform/coregraphics/internal/ContextState.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"

namespace {

constexpr std::size_t kLongSide = 100;

struct Sizes {
  std::size_t width, height, smallWidth, smallHeight;
  explicit Sizes(const benchmark::State& state)
      : width(static_cast<std::size_t>(state.range(0))), height(static_cast<std::size_t>(state.range(1))) {
    smallWidth = width >= height ? kLongSide : (kLongSide * width + height / 2) / height;
    smallHeight = width >= height ? (kLongSide * height + width / 2) / width : kLongSide;
  }
  [[nodiscard]] std::int64_t bytes() const { return static_cast<std::int64_t>(width * height * 4); }
};

// The photo's pixels: rows packed, width words apart.
const std::uint32_t* photoWords(const Sizes& s) {
  return reinterpret_cast<const std::uint32_t*>(
      kp_bench::photo(s.width, s.height).cgImage()->dataProvider()->bytes().data());
}

void photoSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h"})->Args({1000, 1000})->Args({3000, 2000})->Args({6000, 4000})->Unit(benchmark::kMillisecond);
}

// Anchor: every byte of the picture read once, as fast as the processor adds bytes (16 at
// a time, into eight running sums), so that the pass is bound by memory alone.
void BM_OnePassOverPixels(benchmark::State& state) {
  const Sizes s(state);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(photoWords(s));
  const std::size_t count = s.width * s.height * 4;
  for (auto _ : state) {
    __m128i sums = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
      sums = _mm_add_epi64(sums, _mm_sad_epu8(v, _mm_setzero_si128()));
    }
    std::uint64_t total = static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
                          static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    for (; i < count; ++i) total += bytes[i];
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * s.bytes());
}
BENCHMARK(BM_OnePassOverPixels)->Apply(photoSizes);

// Anchor: cairo drawing the picture scaled into the small surface with its good filter.
void BM_CairoDownscale(benchmark::State& state) {
  const Sizes s(state);
  auto* words = const_cast<std::uint32_t*>(photoWords(s));
  const int w = static_cast<int>(s.width), h = static_cast<int>(s.height);
  cairo_surface_t* source =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(words), CAIRO_FORMAT_ARGB32, w, h, w * 4);
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(s.smallWidth),
                                                       static_cast<int>(s.smallHeight));
  for (auto _ : state) {
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, static_cast<double>(s.smallWidth) / w, static_cast<double>(s.smallHeight) / h);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
  }
  cairo_surface_destroy(target);
  cairo_surface_destroy(source);
  state.SetBytesProcessed(state.iterations() * s.bytes());
}
BENCHMARK(BM_CairoDownscale)->Apply(photoSizes);

void BM_AreaAverage(benchmark::State& state) {
  const Sizes s(state);
  const std::uint32_t* words = photoWords(s);
  std::vector<std::uint32_t> small(s.smallWidth * s.smallHeight);
  for (auto _ : state) {
    ios::cg_internal::areaAverage(words, s.width, s.height, s.width, small.data(), s.smallWidth, s.smallHeight);
    benchmark::DoNotOptimize(small.data());
  }
  state.SetBytesProcessed(state.iterations() * s.bytes());
}
BENCHMARK(BM_AreaAverage)->Apply(photoSizes);

// The redraw getColors(.lowest) makes of a 4000 × 3000 photo: 50 × 37.5 points at scale 2.
void BM_RedrawForLowest(benchmark::State& state) {
  const ios::UIImage& image = kp_bench::photo(4000, 3000);
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
  const ios::UIImage& image = kp_bench::photo(4000, 3000);
  ios::testing::setMainScreenScale(2);
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, kp::KPImageColorsQuality::lowest));
  ios::testing::resetMainScreen();
}
BENCHMARK(BM_GetColorsLowest)->Unit(benchmark::kMillisecond);

}  // namespace
