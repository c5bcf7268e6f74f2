// Per-view and per-layer costs: hit-testing through n subviews, a layout pass over n
// subviews with nothing to solve, deactivating all n constraints of a view, and layer
// property sets outside any animation. Beside them, the baselines: a deque of the same
// pointers scanned for the same point (with the same transform handling) or walked
// once, a vector of the same constraints emptied by std::erase_if, and a plain field
// write.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

namespace {

using ios::CGPoint;
using ios::CGRect;
using ios::UIView;

// n subviews side by side in rows of 100, each 10 x 10; the point lies in the first
// one, so a front-to-back search visits every subview.
std::shared_ptr<UIView> makeRow(std::size_t n) {
  auto parent = UIView::make(CGRect(0, 0, 1000, static_cast<double>(n / 100 + 1) * 10));
  for (std::size_t i = 0; i < n; ++i) {
    parent->addSubview(
        UIView::make(CGRect(static_cast<double>(i % 100) * 10, static_cast<double>(i / 100) * 10, 10, 10)));
  }
  return parent;
}

void BM_HitTestThroughSubviews(benchmark::State& state) {
  auto parent = makeRow(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(parent->hitTest(CGPoint(5, 5)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_HitTestThroughSubviews)->Arg(1000)->Arg(10000)->Complexity();

// Baseline: a deque of the same pointers searched back to front, each view's layer
// tested for the point as a hit test must: the point taken into the layer's bounds
// space (through the inverse transform unless the transform is the identity) and
// tested against the bounds.
void BM_DequeScanForPoint(benchmark::State& state) {
  auto parent = makeRow(static_cast<std::size_t>(state.range(0)));
  std::deque<std::shared_ptr<UIView>> list;
  for (const auto& v : parent->subviews()) list.push_back(v);
  const CGPoint point(5, 5);
  for (auto _ : state) {
    UIView* found = nullptr;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      const ios::CALayer& layer = *(*it)->layer();
      const CGRect bounds = layer.bounds();
      CGPoint local(point.x - layer.position().x, point.y - layer.position().y);
      if (!ios::CATransform3DIsIdentity(layer.transform())) {
        local = ios::CATransform3DApplyToPoint(ios::CATransform3DInvert(layer.transform()), local);
      }
      local = CGPoint(local.x + bounds.origin.x + layer.anchorPoint().x * bounds.size.width,
                      local.y + bounds.origin.y + layer.anchorPoint().y * bounds.size.height);
      if (bounds.contains(local)) {
        found = it->get();
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DequeScanForPoint)->Arg(1000)->Arg(10000)->Complexity();

void BM_LayoutPassOverSubviews(benchmark::State& state) {
  auto parent = makeRow(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    parent->setNeedsLayout();
    parent->layoutIfNeeded();
    benchmark::DoNotOptimize(parent->needsLayout());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LayoutPassOverSubviews)->Arg(1000)->Arg(10000)->Complexity();

// Baseline: one walk over a deque of the same pointers, reading a flag of each view.
void BM_DequeWalk(benchmark::State& state) {
  auto parent = makeRow(static_cast<std::size_t>(state.range(0)));
  std::deque<std::shared_ptr<UIView>> list;
  for (const auto& v : parent->subviews()) list.push_back(v);
  for (auto _ : state) {
    bool any = false;
    for (const auto& v : list) any |= v->needsLayout();
    benchmark::DoNotOptimize(any);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DequeWalk)->Arg(1000)->Arg(10000)->Complexity();

// Runs `remove` once per iteration on n subviews, each pinned to the parent's left
// edge by an active constraint installed on the parent (in the order made), timing
// only the removal; tearing the tree down stays outside the timing.
template <class Remove>
void timeConstraintRemoval(benchmark::State& state, Remove remove) {
  const auto n = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto parent = UIView::make(CGRect(0, 0, 100, 100));
    std::vector<ios::NSLayoutConstraintRef> constraints;
    for (std::size_t i = 0; i < n; ++i) {
      auto child = UIView::make(CGRect(0, 0, 10, 10));
      parent->addSubview(child);
      constraints.push_back(child->leftAnchor().constraint(parent->leftAnchor()));
    }
    ios::NSLayoutConstraint::activate(constraints);
    state.ResumeTiming();
    remove(constraints);
    state.PauseTiming();
    constraints.clear();
    parent.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void BM_DeactivateConstraints(benchmark::State& state) {
  timeConstraintRemoval(state, [](std::vector<ios::NSLayoutConstraintRef>& constraints) {
    ios::NSLayoutConstraint::deactivate(constraints);
    benchmark::DoNotOptimize(constraints.back()->isActive());
  });
}
BENCHMARK(BM_DeactivateConstraints)->Arg(2000)->Arg(8000)->Unit(benchmark::kMicrosecond)->Complexity();

// Baseline: a vector of the same n constraints emptied by one std::erase_if that reads
// each of them.
void BM_EraseConstraintsFromVector(benchmark::State& state) {
  timeConstraintRemoval(state, [](std::vector<ios::NSLayoutConstraintRef>& constraints) {
    std::erase_if(constraints, [](const ios::NSLayoutConstraintRef& c) {
      return c->firstAttribute() == ios::NSLayoutAttribute::left;
    });
    benchmark::DoNotOptimize(constraints.size());
  });
}
BENCHMARK(BM_EraseConstraintsFromVector)->Arg(2000)->Arg(8000)->Unit(benchmark::kMicrosecond)->Complexity();

void BM_LayerSetOpacity(benchmark::State& state) {
  auto layer = ios::CALayer::make();
  float value = 0;
  for (auto _ : state) {
    layer->setOpacity(value);
    value = value == 0 ? 1 : 0;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LayerSetOpacity);

void BM_LayerSetBorderColor(benchmark::State& state) {
  auto layer = ios::CALayer::make();
  const ios::CGColor colors[2] = {ios::CGColor(ios::CGColorSpaceCreateDeviceGray(), {0, 1}),
                                  ios::CGColor(ios::CGColorSpaceCreateDeviceGray(), {1, 1})};
  int i = 0;
  for (auto _ : state) {
    layer->setBorderColor(colors[i]);
    i ^= 1;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LayerSetBorderColor);

// Baseline: the same write to a plain field.
void BM_PlainFieldWrite(benchmark::State& state) {
  struct {
    float opacity = 1;
  } plain;
  float value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(&plain);
    plain.opacity = value;
    value = value == 0 ? 1 : 0;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainFieldWrite);

}  // namespace
