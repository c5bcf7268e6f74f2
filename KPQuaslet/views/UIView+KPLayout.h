// File: KPQuaslet/views/UIView+KPLayout.h
//
// Auto Layout conveniences: constraints from a visual format with numbered view keys,
// pinning to the superview, and anchoring edges, size and centre in one call.
//
//   kp::addConstraints(*row, "H:|[v0(80)][v1]|", {icon, title});
//   kp::fillToSuperview(*background);
//   kp::anchor(*badge, std::nullopt, std::nullopt, std::nullopt, card->rightAnchor(),
//              0, 0, 0, 8, 20, 20);                     // right inset 8, 20 x 20
//
// Every call turns off the views' autoresizing-mask translation first. Constraints are
// activated one at a time, in the order listed.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

namespace kp {

// addConstraints(withFormat:views:)
//
// Names `views` "v0", "v1" ... in order (a view given twice gets two names), turns off
// their mask translation, and installs on `view` the constraints of `format`. A format
// that cannot be read, or that names another key, raises ios::NSException
// ("NSInvalidArgumentException").
void addConstraints(ios::UIView& view, std::string_view format,
                    std::initializer_list<std::shared_ptr<ios::UIView>> views);

// Pins left, right, top and bottom to the superview's (in that order); without a
// superview only turns off the mask translation.
void fillToSuperview(ios::UIView& view);

// anchor(top:left:bottom:right:topConstant:leftConstant:bottomConstant:rightConstant:
// widthConstant:heightConstant:)
//
// Constrains each given edge to the given anchor: top and left with their constants,
// bottom and right with their constants negated (a positive value is an inset); then a
// width and a height constraint for constants above 0. Answers the activated
// constraints in the order top, left, bottom, right, width, height.
std::vector<ios::NSLayoutConstraintRef> anchor(ios::UIView& view, std::optional<ios::NSLayoutYAxisAnchor> top,
                                               std::optional<ios::NSLayoutXAxisAnchor> left,
                                               std::optional<ios::NSLayoutYAxisAnchor> bottom,
                                               std::optional<ios::NSLayoutXAxisAnchor> right,
                                               ios::CGFloat topConstant = 0, ios::CGFloat leftConstant = 0,
                                               ios::CGFloat bottomConstant = 0, ios::CGFloat rightConstant = 0,
                                               ios::CGFloat widthConstant = 0, ios::CGFloat heightConstant = 0);

// Centres the view horizontally (vertically) on its superview, offset by `constant`;
// without a superview only turns off the mask translation.
void anchorCenterXToSuperview(ios::UIView& view, ios::CGFloat constant = 0);
void anchorCenterYToSuperview(ios::UIView& view, ios::CGFloat constant = 0);
// Both, horizontal first, offset 0.
void anchorCenterSuperview(ios::UIView& view);

}  // namespace kp
