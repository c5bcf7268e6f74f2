// Palette extraction: getColors at each quality on a 4000 × 3000 and a 500 × 500 image,
// the counting step alone, and the redraw alone (the baseline getColors(.high) is
// measured against); then the peak memory of getColors at each quality beside that of
// the redraw alone.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The edge-colour extractor at its default size (500 pixels wide), from a 4000 × 3000,
// a 500 × 500 and a 64 × 64 photo, and from a 64 × 64 photo at a size of its own
// pixels: the last two read as many pixels as they count.
void BM_EdgeColors(benchmark::State& state) {
  const auto side = static_cast<std::size_t>(state.range(0));
  const ios::UIImage& image = side == 4000 ? photo(4000, 3000) : photo(side, side);
  const bool ownSize = state.range(1) != 0;
  const std::optional<ios::CGSize> size =
      ownSize ? std::optional<ios::CGSize>(ios::CGSize(side / 2.0, side / 2.0)) : std::nullopt;
  for (auto _ : state) benchmark::DoNotOptimize(kp::colors(image, size));
}
BENCHMARK(BM_EdgeColors)
    ->ArgNames({"side", "ownSize"})
    ->Args({4000, 0})
    ->Args({500, 0})
    ->Args({64, 0})
    ->Args({64, 1})
    ->Unit(benchmark::kMillisecond);

// A side × side picture with exactly `colors` distinct opaque colours, scattered.
const ios::UIImage& paletteOf(std::size_t side, std::size_t colors) {
  static std::vector<std::pair<std::pair<std::size_t, std::size_t>, ios::UIImage>> cache;
  for (const auto& [key, image] : cache) {
    if (key == std::pair(side, colors)) return image;
  }
  std::vector<std::uint8_t> bytes(side * side * 4);
  for (std::size_t i = 0; i < side * side; ++i) {
    // Every index below `colors` occurs (the first pixels take them in turn), the rest at
    // random; an odd multiplier spreads distinct indices to distinct 24-bit colours.
    const std::uint32_t index = i < colors ? static_cast<std::uint32_t>(i)
                                           : static_cast<std::uint32_t>((i * 2654435761u >> 7) % colors);
    const std::uint32_t rgb = (index * 40503u + 12345u) & 0xFFFFFF;
    bytes[i * 4] = static_cast<std::uint8_t>(rgb), bytes[i * 4 + 1] = static_cast<std::uint8_t>(rgb >> 8);
    bytes[i * 4 + 2] = static_cast<std::uint8_t>(rgb >> 16), bytes[i * 4 + 3] = 255;
  }
  auto cg = ios::CGImage::make(side, side, 8, 32, side * 4, ios::CGColorSpaceCreateDeviceRGB(),
                               ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
                               std::move(bytes));
  cache.emplace_back(std::pair(side, colors), ios::UIImage(cg));
  return cache.back().second;
}

// The cost per pixel read: the edge-colour extractor on pictures of s × s pixels drawn at
// their own size (the pixels counted are the pixels read), with one distinct colour in 8
// pixels or with 16 colours whatever the size; the fitted complexity is in pixels. Then
// getColors(.highest) on the first kind, at scale 1.
void BM_EdgeColorsByPixels(benchmark::State& state) {
  const auto side = static_cast<std::size_t>(state.range(0));
  const bool few = state.range(1) != 0;
  const ios::UIImage& image = paletteOf(side, few ? 16 : side * side / 8);
  const ios::CGSize size(side / 2.0, side / 2.0);  // drawn at scale 2
  for (auto _ : state) benchmark::DoNotOptimize(kp::colors(image, size));
  state.SetComplexityN(state.range(0) * state.range(0));
}
BENCHMARK(BM_EdgeColorsByPixels)
    ->ArgNames({"side", "few"})
    ->ArgsProduct({{64, 128, 256, 512, 1024, 2048}, {0}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgeColorsByPixels)
    ->ArgNames({"side", "few"})
    ->ArgsProduct({{64, 128, 256, 512, 1024, 2048}, {1}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_GetColorsByPixels(benchmark::State& state) {
  const auto side = static_cast<std::size_t>(state.range(0));
  const ios::UIImage& image = paletteOf(side, side * side / 8);
  ios::testing::setMainScreenScale(1);
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, kp::KPImageColorsQuality::highest));
  ios::testing::resetMainScreen();
  state.SetComplexityN(state.range(0) * state.range(0));
}
BENCHMARK(BM_GetColorsByPixels)
    ->ArgName("side")
    ->RangeMultiplier(2)
    ->Range(64, 2048)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The edge-colour extractor on 512 × 512 pictures (drawn at their own size) of 2 to all
// 262,144 colours: the cost of many distinct colours against few.
void BM_EdgeColorsByPalette(benchmark::State& state) {
  const ios::UIImage& image = paletteOf(512, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(kp::colors(image, ios::CGSize(256, 256)));
}
BENCHMARK(BM_EdgeColorsByPalette)
    ->ArgName("colors")
    ->Arg(2)
    ->Arg(64)
    ->Arg(4096)
    ->Arg(65536)
    ->Arg(262144)
    ->Unit(benchmark::kMillisecond);

}  // namespace

// Peak memory and time of getColors on a 12-megapixel photo (4000 × 3000 points at
// scale 1) at each quality, on a screen of scale 2 (so .highest counts 8000 × 6000
// pixels), beside the baseline of the same redraw and byte copy with no counting: what
// the bitmaps alone take. peak_MiB is the growth of the resident set above what it was
// before the first iteration.
namespace {

// Resident set sizes of this process, in bytes (from /proc/self/status).
std::size_t statusValue(const char* key) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  std::size_t kib = 0;
  const std::size_t length = std::strlen(key);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, key, length) == 0) kib = std::strtoull(line + length, nullptr, 10);
  }
  std::fclose(status);
  return kib * 1024;
}

// Starts a peak measurement: memory is given back to the system and the resident set's
// high-water mark is reset to the current size, which is returned.
std::size_t startPeak() {
  malloc_trim(0);
  if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);
    std::fclose(clear);
  }
  return statusValue("VmRSS:");
}

// While it lives, large blocks come from and go back to the system, so that the
// high-water mark sees every iteration's own memory. Only the peak-memory benchmarks set
// it: for the others (in this executable and run before or after them) the allocator
// keeps its own default, as in an application, instead of paying for a mapping and an
// unmapping of every large block on every call.
class LargeBlocksFromTheSystem {
 public:
  LargeBlocksFromTheSystem() { mallopt(M_MMAP_THRESHOLD, 64 * 1024); }
  ~LargeBlocksFromTheSystem() { mallopt(M_MMAP_THRESHOLD, 128 * 1024); }  // glibc's initial threshold
  LargeBlocksFromTheSystem(const LargeBlocksFromTheSystem&) = delete;
  LargeBlocksFromTheSystem& operator=(const LargeBlocksFromTheSystem&) = delete;
};

void reportPeak(benchmark::State& state, std::size_t base) {
  state.counters["peak_MiB"] = static_cast<double>(statusValue("VmHWM:") - base) / (1024.0 * 1024.0);
}

void BM_GetColorsPeakMemory(benchmark::State& state) {
  const LargeBlocksFromTheSystem largeBlocks;
  const auto quality = static_cast<kp::KPImageColorsQuality>(state.range(0));
  const ios::UIImage& image = photo(4000, 3000);
  ios::testing::setMainScreenScale(2);
  const std::size_t base = startPeak();
  for (auto _ : state) benchmark::DoNotOptimize(kp::getColors(image, quality));
  reportPeak(state, base);
  ios::testing::resetMainScreen();
}
BENCHMARK(BM_GetColorsPeakMemory)
    ->ArgName("quality")
    ->DenseRange(0, 3)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Baseline: the redraw at the quality's size and the copy of its bytes, no counting.
void BM_RedrawAndCopyPeakMemory(benchmark::State& state) {
  const LargeBlocksFromTheSystem largeBlocks;
  const auto quality = static_cast<kp::KPImageColorsQuality>(state.range(0));
  const ios::UIImage& image = photo(4000, 3000);
  ios::testing::setMainScreenScale(2);
  const ios::CGFloat q = kp::rawValue(quality);
  const ios::CGSize size = quality == kp::KPImageColorsQuality::highest ? image.size() : ios::CGSize(q, q * 0.75);
  const std::size_t base = startPeak();
  for (auto _ : state) {
    ios::UIGraphicsBeginImageContextWithOptions(size, false, 0);
    image.draw(ios::CGRect{{0, 0}, size});
    auto scaled = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    if (!scaled) std::abort();
    benchmark::DoNotOptimize(ios::CGDataProviderCopyData(scaled->cgImage()->dataProvider()));
  }
  reportPeak(state, base);
  ios::testing::resetMainScreen();
}
BENCHMARK(BM_RedrawAndCopyPeakMemory)
    ->ArgName("quality")
    ->DenseRange(0, 3)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
