// File: platform/uikit/internal/LayoutSolver.h
//
// The layout pass behind UIView::layoutIfNeeded() and the visual format parser behind
// NSLayoutConstraint::constraints(withVisualFormat:...).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"

namespace ios {
class UIView;
}

namespace ios::uikit_internal {

// Sets the frames of the views in `root`'s subtree from the active required equalities
// installed there.
void solveConstraints(UIView& root);

// Parses a visual format; raises NSInvalidArgumentException for what it cannot read.
std::vector<NSLayoutConstraintRef> parseVisualFormat(std::string_view format,
                                                     const std::map<std::string, CGFloat>& metrics,
                                                     const std::map<std::string, std::shared_ptr<UIView>>& views);

}  // namespace ios::uikit_internal
