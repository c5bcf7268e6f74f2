// View geometry and screenshots: frame shorthands written through the layer, frames of
// transformed layers, point conversion up a view tree, 3-D transform concatenation, and
// a screenshot of a tree of views, each beside a hand-written baseline of the same work.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "KPQuaslet/views/UIView+KPExt.h"
#include "platform/quartzcore/CATransform3D.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIView.h"

namespace {

using ios::CGRect;

// Baseline: the same centre-x update on a plain rectangle.
void BM_CenterXOnPlainRect(benchmark::State& state) {
  CGRect frame(0, 0, 40, 10);
  double value = 0;
  for (auto _ : state) {
    frame.origin.x = value - frame.size.width * 0.5;
    value += 1;
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(BM_CenterXOnPlainRect);

void BM_SetCenterXThroughLayer(benchmark::State& state) {
  auto view = ios::UIView::make(CGRect(0, 0, 40, 10));
  double value = 0;
  for (auto _ : state) {
    kp::setCenterX(*view, value);
    value += 1;
    benchmark::DoNotOptimize(view->layer()->position());
  }
}
BENCHMARK(BM_SetCenterXThroughLayer);

void BM_FrameOfRotatedLayer(benchmark::State& state) {
  auto view = ios::UIView::make(CGRect(0, 0, 40, 10));
  view->setTransform(ios::CGAffineTransformMakeRotation(0.3));
  for (auto _ : state) benchmark::DoNotOptimize(view->frame());
}
BENCHMARK(BM_FrameOfRotatedLayer);

// Baseline: the box of a rectangle under the same affine transform.
void BM_AffineBoxOfRect(benchmark::State& state) {
  const auto t = ios::CGAffineTransformMakeRotation(0.3);
  const CGRect r(-20, -5, 40, 10);
  for (auto _ : state) benchmark::DoNotOptimize(r.applying(t));
}
BENCHMARK(BM_AffineBoxOfRect);

void BM_CATransform3DConcat(benchmark::State& state) {
  ios::CATransform3D a = ios::CATransform3DMakeRotation(0.3, 1, 1, 0);
  const ios::CATransform3D b = ios::CATransform3DMakeScale(1.0001, 1.0001, 1);
  for (auto _ : state) {
    a = ios::CATransform3DConcat(a, b);
    benchmark::DoNotOptimize(a);
  }
}
BENCHMARK(BM_CATransform3DConcat);

// Baseline: the affine (3x2) concatenation.
void BM_AffineConcat(benchmark::State& state) {
  ios::CGAffineTransform a = ios::CGAffineTransformMakeRotation(0.3);
  const ios::CGAffineTransform b = ios::CGAffineTransformMakeScale(1.0001, 1.0001);
  for (auto _ : state) {
    a = a.concatenating(b);
    benchmark::DoNotOptimize(a);
  }
}
BENCHMARK(BM_AffineConcat);

// A point of the deepest view converted to the root of a chain `depth` views deep.
void BM_ConvertPointUpTree(benchmark::State& state) {
  auto root = ios::UIView::make(CGRect(0, 0, 1000, 1000));
  std::shared_ptr<ios::UIView> leaf = root;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    auto child = ios::UIView::make(CGRect(1, 1, 900, 900));
    child->setTransform(ios::CGAffineTransformMakeScale(0.99, 0.99));
    leaf->addSubview(child);
    leaf = child;
  }
  for (auto _ : state) benchmark::DoNotOptimize(leaf->convert({5, 5}, root.get()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ConvertPointUpTree)->RangeMultiplier(4)->Range(1, 64)->Complexity();

// A 320 x 480 view with `n` coloured subviews rendered at scale 2.
void BM_Screenshot(benchmark::State& state) {
  auto root = ios::UIView::make(CGRect(0, 0, 320, 480));
  root->setBackgroundColor(ios::UIColor::white());
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    auto cell = ios::UIView::make(CGRect(10, 10 + static_cast<double>(i % 40) * 11, 300, 10));
    cell->setBackgroundColor(ios::UIColor::colorWithHue(static_cast<double>(i % 10) / 10, 1, 1, 1));
    root->addSubview(cell);
  }
  for (auto _ : state) benchmark::DoNotOptimize(kp::screenshot(*root));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Screenshot)->Arg(1)->Arg(16)->Arg(64)->Complexity();

// Baseline: the same rectangles filled directly into an image context.
void BM_DirectFillSameRects(benchmark::State& state) {
  for (auto _ : state) {
    ios::UIGraphicsBeginImageContextWithOptions({320, 480}, false, 2);
    ios::UIColor::white().setFill();
    ios::UIRectFill(CGRect(0, 0, 320, 480));
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      ios::UIColor::colorWithHue(static_cast<double>(i % 10) / 10, 1, 1, 1).setFill();
      ios::UIRectFill(CGRect(10, 10 + static_cast<double>(i % 40) * 11, 300, 10));
    }
    benchmark::DoNotOptimize(ios::UIGraphicsGetImageFromCurrentImageContext());
    ios::UIGraphicsEndImageContext();
  }
}
BENCHMARK(BM_DirectFillSameRects)->Arg(1)->Arg(16)->Arg(64);

}  // namespace
