// Face detection on the astronaut portrait (fetched by scripts/setup.sh) at 512, 1024 and
// 2048 pixels a side, at low and high accuracy, and the upright turn the face-aware image
// view adds for a photo stored sideways.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "KPQuaslet/imaging/UIImage+KPGeometry.h"
#include "platform/coreimage/CIDetector.h"
#include "platform/uikit/UIScreen.h"

namespace {

const ios::UIImage& portrait() {
  static const ios::UIImage image = [] {
    std::optional<ios::UIImage> decoded = ios::UIImage::fromFile(std::string(KP_TEST_DATA_DIR) + "/astronaut.png");
    if (!decoded) std::abort();  // run scripts/setup.sh
    return *decoded;
  }();
  return image;
}

ios::UIImage portraitOfSide(std::int64_t side) {
  ios::testing::setMainScreenScale(1);
  if (side == 512) return portrait();
  const auto s = static_cast<ios::CGFloat>(side);
  return kp::resizeTo(portrait(), {s, s});
}

void detect(benchmark::State& state, const char* accuracy) {
  const ios::UIImage image = portraitOfSide(state.range(0));
  const auto detector = ios::CIDetector::make(ios::CIDetectorTypeFace, {{ios::CIDetectorAccuracy, accuracy}});
  const ios::CIImage input(image.cgImage());
  (void)detector->features(input);  // the model is unpacked once per process
  std::size_t found = 0;
  for (auto _ : state) {
    found = detector->features(input).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["faces"] = static_cast<double>(found);
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}

void BM_DetectFacesLow(benchmark::State& state) { detect(state, ios::CIDetectorAccuracyLow); }
void BM_DetectFacesHigh(benchmark::State& state) { detect(state, ios::CIDetectorAccuracyHigh); }
BENCHMARK(BM_DetectFacesLow)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectFacesHigh)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_TurnSidewaysPortraitUpright(benchmark::State& state) {
  const ios::UIImage sideways(portrait().cgImage(), 1, ios::UIImageOrientation::right);
  for (auto _ : state) {
    std::optional<ios::UIImage> upright = kp::adjustOrientation(sideways);
    benchmark::DoNotOptimize(upright);
  }
}
BENCHMARK(BM_TurnSidewaysPortraitUpright)->Unit(benchmark::kMillisecond);

}  // namespace
