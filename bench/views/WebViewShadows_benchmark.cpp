// Taking the background shadows out of a web view's scroll view: n shadow image views
// after the page view, and n shadows interleaved with n views that stay (images right
// of x = 500 and plain views). The time per shadow should not grow with n.
#include <benchmark/benchmark.h>

#include <memory>

#include "KPQuaslet/views/UIAlertController+KPExt.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "platform/uikit/UIWebView.h"

namespace {

void BM_RemoveBackgroundShadow(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const bool interleaved = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto web = ios::UIWebView::make(ios::CGRect(0, 0, 320, 480));
    const auto& scroll = web->scrollView();
    for (std::size_t i = 0; i < n; ++i) {
      if (interleaved) {
        scroll->addSubview(i % 2 ? std::shared_ptr<ios::UIView>(ios::UIImageView::make(ios::CGRect(600, 0, 1, 1)))
                                 : ios::UIView::make(ios::CGRect(0, 0, 1, 1)));
      }
      scroll->addSubview(ios::UIImageView::make(ios::CGRect(0, 0, 1, 1)));
    }
    state.ResumeTiming();
    kp::removeBackgroundShadow(*web);
    benchmark::DoNotOptimize(scroll->subviews().size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RemoveBackgroundShadow)
    ->ArgNames({"n", "interleaved"})
    ->ArgsProduct({{2000, 8000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
