// Constraint layout: a vertical stack and a horizontal chain of n views, each view held
// by four required equalities (one to its neighbour, three to the superview or to
// constants), laid out after one constant changed, and laid out again with nothing
// changed. Beside them, the baseline: the same frames computed in a plain loop and
// written to the views directly, the least work the same result takes.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

namespace {

using ios::CGRect;
using ios::UIView;

constexpr double kWidth = 320;

struct Tree {
  std::shared_ptr<UIView> parent = UIView::make(CGRect(0, 0, kWidth, 480));
  std::vector<std::shared_ptr<UIView>> views;
  ios::NSLayoutConstraintRef first;  // the constraint whose constant the loop changes
};

std::shared_ptr<UIView> makeChild(Tree& tree) {
  auto view = UIView::make(CGRect(0, 0, 1, 1));
  view->setTranslatesAutoresizingMaskIntoConstraints(false);
  tree.parent->addSubview(view);
  tree.views.push_back(view);
  return view;
}

// Rows 20 high, 4 apart, inset 8 from the superview's sides.
Tree makeStack(std::size_t n) {
  Tree tree;
  for (std::size_t i = 0; i < n; ++i) {
    auto v = makeChild(tree);
    auto top = i == 0 ? v->topAnchor().constraint(tree.parent->topAnchor(), 4)
                      : v->topAnchor().constraint(tree.views[i - 1]->bottomAnchor(), 4);
    if (i == 0) tree.first = top;
    ios::NSLayoutConstraint::activate({top, v->leftAnchor().constraint(tree.parent->leftAnchor(), 8),
                                       v->rightAnchor().constraint(tree.parent->rightAnchor(), -8),
                                       v->heightAnchor().constraint(20.0)});
  }
  return tree;
}

// Squares 10 wide, 2 apart, along the superview's top edge.
Tree makeChain(std::size_t n) {
  Tree tree;
  for (std::size_t i = 0; i < n; ++i) {
    auto v = makeChild(tree);
    auto left = i == 0 ? v->leftAnchor().constraint(tree.parent->leftAnchor(), 2)
                       : v->leftAnchor().constraint(tree.views[i - 1]->rightAnchor(), 2);
    if (i == 0) tree.first = left;
    ios::NSLayoutConstraint::activate({left, v->topAnchor().constraint(tree.parent->topAnchor()),
                                       v->widthAnchor().constraint(10.0), v->heightAnchor().constraint(10.0)});
  }
  return tree;
}

template <Tree (*Make)(std::size_t)>
void BM_LayoutAfterAChange(benchmark::State& state) {
  Tree tree = Make(static_cast<std::size_t>(state.range(0)));
  double constant = 4;
  for (auto _ : state) {
    constant = constant == 4 ? 5 : 4;
    tree.first->setConstant(constant);
    tree.parent->layoutIfNeeded();
    benchmark::DoNotOptimize(tree.views.back()->frame());
  }
  state.SetComplexityN(state.range(0));
}

template <Tree (*Make)(std::size_t)>
void BM_LayoutUnchanged(benchmark::State& state) {
  Tree tree = Make(static_cast<std::size_t>(state.range(0)));
  tree.parent->layoutIfNeeded();
  for (auto _ : state) {
    tree.parent->layoutIfNeeded();
    benchmark::DoNotOptimize(tree.views.back()->frame());
  }
  state.SetComplexityN(state.range(0));
}

// Baseline: the stack's frames computed in a loop and set on the views.
void BM_StackFramesSetDirectly(benchmark::State& state) {
  Tree tree = makeStack(static_cast<std::size_t>(state.range(0)));
  double constant = 4;
  for (auto _ : state) {
    constant = constant == 4 ? 5 : 4;
    double y = constant;
    for (auto& v : tree.views) {
      const CGRect frame(8, y, kWidth - 16, 20);
      if (v->frame() != frame) v->setFrame(frame);
      y += 24;
    }
    benchmark::DoNotOptimize(tree.views.back()->frame());
  }
  state.SetComplexityN(state.range(0));
}

#define LAYOUT_SIZES Arg(100)->Arg(400)->Arg(800)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity()
BENCHMARK(BM_LayoutAfterAChange<makeStack>)->Name("BM_StackLayoutAfterAChange")->LAYOUT_SIZES;
BENCHMARK(BM_LayoutAfterAChange<makeChain>)->Name("BM_ChainLayoutAfterAChange")->LAYOUT_SIZES;
BENCHMARK(BM_LayoutUnchanged<makeStack>)->Name("BM_StackLayoutUnchanged")->LAYOUT_SIZES;
BENCHMARK(BM_StackFramesSetDirectly)->LAYOUT_SIZES;

}  // namespace
