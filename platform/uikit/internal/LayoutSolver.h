// File: platform/uikit/internal/LayoutSolver.h
//
// The layout pass behind UIView::layoutIfNeeded() and the visual format parser behind
// NSLayoutConstraint::constraints(withVisualFormat:...).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/internal/LinearSystem.h"

namespace ios {
class UIView;
}

namespace ios::uikit_internal {

// What a layout pass remembers of its last solve, to tell whether anything changed.
struct LayoutCache {
  // Every view whose geometry the equations read, with that geometry after the solve.
  struct Seen {
    const UIView* view;
    CGRect frame;
    CGRect bounds;
  };
  std::uint64_t generation = 0;
  std::vector<Seen> seen;
  // The equations, kept between passes for their memory.
  LinearSystem equations;
};

// Sets the frames of the views in `root`'s subtree from the active required equalities
// installed there; does nothing when neither the constraints, the view tree nor the
// geometry of any view they read has changed since the solve `cache` remembers.
void solveConstraints(UIView& root, LayoutCache& cache);

// Called on every change that can alter a layout's result other than a view's geometry:
// a constraint installed, removed or changed, a view moved in or out of a tree or
// destroyed, an autoresizing-mask translation switched.
void noteLayoutInputsChanged();

// Parses a visual format; raises NSInvalidArgumentException for what it cannot read.
std::vector<NSLayoutConstraintRef> parseVisualFormat(std::string_view format,
                                                     const std::map<std::string, CGFloat>& metrics,
                                                     const std::map<std::string, std::shared_ptr<UIView>>& views);

}  // namespace ios::uikit_internal
