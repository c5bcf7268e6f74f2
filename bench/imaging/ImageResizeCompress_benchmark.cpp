// Image resizing and compression to a byte budget: resizeTo() of a 4000 × 3000 picture to
// 1000 × 750, dataWithCompressTo() of it under 200 KB and under a budget it cannot meet
// (with their attempt counts), and the baseline: libjpeg-turbo encoding the same bitmap
// once at quality 0.8.
#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "KPQuaslet/imaging/UIImage+KPEncoding.h"
#include "KPQuaslet/imaging/UIImage+KPGeometry.h"
#include "bench/imaging/Photo.h"
#include "platform/imageio/ImageIO.h"
#include "platform/uikit/UIScreen.h"

namespace {

constexpr std::size_t kWidth = 4000, kHeight = 3000;
constexpr std::int64_t kBudget = 200 * 1024;

const ios::UIImage& photo() { return kp_bench::photo(kWidth, kHeight); }

void BM_ResizeTo4000x3000To1000x750(benchmark::State& state) {
  ios::testing::setMainScreenScale(1);
  const ios::UIImage& image = photo();
  for (auto _ : state) {
    ios::UIImage small = kp::resizeTo(image, {1000, 750});
    benchmark::DoNotOptimize(small);
    if (small.cgImage()->width() != 1000) state.SkipWithError("unexpected size");
  }
}
BENCHMARK(BM_ResizeTo4000x3000To1000x750)->Unit(benchmark::kMillisecond);

void BM_DataWithCompressTo200KB(benchmark::State& state) {
  const ios::UIImage& image = photo();
  std::size_t bytes = 0;
  ios::testing::resetImageIO();
  for (auto _ : state) {
    auto data = kp::dataWithCompressTo(image, kBudget);
    bytes = data.size();
    benchmark::DoNotOptimize(data);
  }
  state.counters["attempts"] =
      static_cast<double>(ios::testing::jpegEncodeCount()) / static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DataWithCompressTo200KB)->Unit(benchmark::kMillisecond);

// A budget no encoding meets (1 byte): every attempt, then the quality-0.9 fallback.
void BM_DataWithCompressToUnreachable(benchmark::State& state) {
  const ios::UIImage& image = photo();
  ios::testing::resetImageIO();
  for (auto _ : state) benchmark::DoNotOptimize(kp::dataWithCompressTo(image, 1));
  state.counters["attempts"] =
      static_cast<double>(ios::testing::jpegEncodeCount()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DataWithCompressToUnreachable)->Unit(benchmark::kMillisecond);

// libjpeg-turbo straight from the B,G,R,A bytes, once, at quality 80.
void BM_LibjpegOnceAtQuality80(benchmark::State& state) {
  const ios::CGImage& bitmap = *photo().cgImage();
  const auto pixels = bitmap.dataProvider()->bytes();
  std::size_t bytes = 0;
  for (auto _ : state) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = kWidth, info.image_height = kHeight;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 80, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + static_cast<std::size_t>(info.next_scanline) * kWidth * 4);
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    bytes = size;
    std::free(buffer);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LibjpegOnceAtQuality80)->Unit(benchmark::kMillisecond);

}  // namespace
