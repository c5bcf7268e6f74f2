// Taking the background shadows out of a web view's scroll view: n shadow image views
// after the page view, and n shadows interleaved with n views that stay (images right
// of x = 500 and plain views). The time per shadow should not grow with n. Beside it,
// the baseline: the same pointers in a deque, the same shadows picked by the same test
// and erased with std::erase_if.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <vector>

#include "KPQuaslet/views/UIAlertController+KPExt.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "platform/uikit/UIWebView.h"

namespace {

// A web view whose scroll view holds n shadows, interleaved with n views that stay.
std::shared_ptr<ios::UIWebView> makeShadowedWebView(std::size_t n, bool interleaved) {
  auto web = ios::UIWebView::make(ios::CGRect(0, 0, 320, 480));
  const auto& scroll = web->scrollView();
  for (std::size_t i = 0; i < n; ++i) {
    if (interleaved) {
      scroll->addSubview(i % 2 ? std::shared_ptr<ios::UIView>(ios::UIImageView::make(ios::CGRect(600, 0, 1, 1)))
                               : ios::UIView::make(ios::CGRect(0, 0, 1, 1)));
    }
    scroll->addSubview(ios::UIImageView::make(ios::CGRect(0, 0, 1, 1)));
  }
  return web;
}

// Runs `remove` once per iteration on a fresh web view with n shadows, timing only
// the removal. The scroll view's subviews are held meanwhile (also in a deque, for the
// baseline), so that tearing the tree down stays outside the timing.
template <class Remove>
void timeShadowRemoval(benchmark::State& state, Remove remove) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const bool interleaved = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto web = makeShadowedWebView(n, interleaved);
    const std::vector<std::shared_ptr<ios::UIView>> views = web->scrollView()->subviews();
    std::deque<std::shared_ptr<ios::UIView>> list(views.begin(), views.end());
    state.ResumeTiming();
    remove(*web, list);
    state.PauseTiming();
    list.clear();
    web.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void BM_RemoveBackgroundShadow(benchmark::State& state) {
  timeShadowRemoval(state, [](ios::UIWebView& web, std::deque<std::shared_ptr<ios::UIView>>&) {
    kp::removeBackgroundShadow(web);
    benchmark::DoNotOptimize(web.scrollView()->subviews().size());
  });
}
BENCHMARK(BM_RemoveBackgroundShadow)
    ->ArgNames({"n", "interleaved"})
    ->ArgsProduct({{2000, 8000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Baseline: the same views in a deque, the shadows picked by the same test and erased
// in one std::erase_if.
void BM_EraseShadowsFromDeque(benchmark::State& state) {
  timeShadowRemoval(state, [](ios::UIWebView&, std::deque<std::shared_ptr<ios::UIView>>& list) {
    std::erase_if(list, [](const std::shared_ptr<ios::UIView>& view) {
      return dynamic_cast<const ios::UIImageView*>(view.get()) != nullptr && view->frame().origin.x <= 500;
    });
    benchmark::DoNotOptimize(list.size());
  });
}
BENCHMARK(BM_EraseShadowsFromDeque)
    ->ArgNames({"n", "interleaved"})
    ->ArgsProduct({{2000, 8000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
