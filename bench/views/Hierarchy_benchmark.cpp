// Building and emptying a wide view tree: n subviews added to one view, then all of them
// removed with removeSubviews (front to back, as the tree is emptied in order). Beside
// them, the baseline: a plain vector of n shared pointers filled and emptied front to back
// in the same way, the least bookkeeping the same work can take.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "KPQuaslet/views/UIView+KPExt.h"
#include "platform/uikit/UIView.h"

namespace {

std::vector<std::shared_ptr<ios::UIView>> makeViews(std::size_t n) {
  std::vector<std::shared_ptr<ios::UIView>> views;
  views.reserve(n);
  for (std::size_t i = 0; i < n; ++i) views.push_back(ios::UIView::make(ios::CGRect(0, 0, 10, 10)));
  return views;
}

void BM_AddSubviews(benchmark::State& state) {
  const auto views = makeViews(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto parent = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
    kp::addSubviews(*parent, views);
    benchmark::DoNotOptimize(parent->layer()->sublayers());
    state.PauseTiming();
    kp::removeSubviews(*parent);
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddSubviews)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_RemoveSubviews(benchmark::State& state) {
  const auto views = makeViews(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto parent = ios::UIView::make(ios::CGRect(0, 0, 100, 100));
    kp::addSubviews(*parent, views);
    state.ResumeTiming();
    kp::removeSubviews(*parent);
    benchmark::DoNotOptimize(parent->layer()->sublayers());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RemoveSubviews)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

// Baseline: the same n pointers pushed, copied once (as removeSubviews takes the list
// once) and popped from the front one by one.
void BM_PlainListFillAndEmpty(benchmark::State& state) {
  const auto views = makeViews(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::deque<std::shared_ptr<ios::UIView>> list(views.begin(), views.end());
    const std::vector<std::shared_ptr<ios::UIView>> snapshot(list.begin(), list.end());
    for (std::size_t i = 0; i < snapshot.size(); ++i) list.pop_front();
    benchmark::DoNotOptimize(list.size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PlainListFillAndEmpty)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
