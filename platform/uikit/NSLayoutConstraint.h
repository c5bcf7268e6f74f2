// File: platform/uikit/NSLayoutConstraint.h
//
// Auto Layout: constraints between view attributes, anchors typed by axis, the visual
// format language, and the layout pass that turns constraints into frames.
//
//   auto c = child->leftAnchor().constraint(parent->leftAnchor(), 8);
//   c->setActive(true);
//   auto row = ios::NSLayoutConstraint::constraints("H:|[v0(80)][v1]|", 0, {}, {{"v0", a}, {"v1", b}});
//   parent->addConstraints(row);
//   parent->layoutIfNeeded();
//
// Fidelity: a constraint reads first.attribute relation multiplier x second.attribute
// + constant. Activating it installs it on the nearest common ancestor of its views
// (none raises "NSGenericException"). An x-axis anchor pairs only with x-axis anchors,
// and so on, at compile time. Layout solves the required (priority 1000) equalities
// between a view and its superview and between siblings, for views that do not
// translate their autoresizing mask; what the equalities leave open keeps its current
// frame value, and an equality that contradicts the others is dropped. Inequalities,
// lower priorities, intrinsic content sizes, leading/trailing for right-to-left text
// (leading is left here) and relations between views further apart are stored but not
// solved. A layout pass solves again only when something it reads has changed since
// the last one: a constraint installed, removed or given another constant or priority,
// a view moved in the tree, an autoresizing-mask translation switched, or the frame or
// bounds of a view the constraints name. The visual format takes "H:" / "V:", "|", "[name]" with size predicates
// ("(80)", "(>=50@750)", "(==other)"), and connections "", "-", "-N-" and
// "-(predicates)-"; the standard spacing is 8 between views and 20 to the superview.
// Options and metrics other than numbers are not supported. Numbers in a format are
// read with '.' as the decimal point whatever the C locale; one too large for a double
// is refused like any text that is not a number.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/runtime/NSObject.h"

namespace ios {

class UIView;

enum class NSLayoutAttribute : std::int64_t {
  notAnAttribute = 0,
  left = 1,
  right = 2,
  top = 3,
  bottom = 4,
  leading = 5,
  trailing = 6,
  width = 7,
  height = 8,
  centerX = 9,
  centerY = 10,
};

enum class NSLayoutRelation : std::int64_t { lessThanOrEqual = -1, equal = 0, greaterThanOrEqual = 1 };

using UILayoutPriority = float;
inline constexpr UILayoutPriority UILayoutPriorityRequired = 1000;

class NSLayoutConstraint : public NSObject {
  IOS_RUNTIME_CLASS(NSLayoutConstraint, NSObject);

 public:
  // NSLayoutConstraint(item:attribute:relatedBy:toItem:attribute:multiplier:constant:)
  [[nodiscard]] static std::shared_ptr<NSLayoutConstraint> make(const std::shared_ptr<UIView>& item,
                                                                NSLayoutAttribute attribute,
                                                                NSLayoutRelation relatedBy,
                                                                const std::shared_ptr<UIView>& toItem,
                                                                NSLayoutAttribute toAttribute, CGFloat multiplier,
                                                                CGFloat constant);

  // constraints(withVisualFormat:options:metrics:views:)
  //
  // The constraints the format describes, inactive; raises "NSInvalidArgumentException"
  // for a format it cannot read or a view name missing from `views`. Numbers in the
  // format have '.' as their decimal point whatever the C numeric locale.
  [[nodiscard]] static std::vector<std::shared_ptr<NSLayoutConstraint>> constraints(
      std::string_view withVisualFormat, std::uint64_t options, const std::map<std::string, CGFloat>& metrics,
      const std::map<std::string, std::shared_ptr<UIView>>& views);

  // Activates or deactivates each constraint, in order; deactivating takes constant
  // time per constraint on average.
  static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
  static void deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);

  [[nodiscard]] std::shared_ptr<UIView> firstItem() const { return first_.lock(); }
  [[nodiscard]] NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
  [[nodiscard]] NSLayoutRelation relation() const { return relation_; }
  [[nodiscard]] std::shared_ptr<UIView> secondItem() const { return second_.lock(); }
  [[nodiscard]] NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
  [[nodiscard]] CGFloat multiplier() const { return multiplier_; }
  [[nodiscard]] CGFloat constant() const { return constant_; }
  void setConstant(CGFloat constant);
  [[nodiscard]] UILayoutPriority priority() const { return priority_; }
  void setPriority(UILayoutPriority priority);

  [[nodiscard]] bool isActive() const { return !installedOn_.expired(); }
  // Installs the constraint on the nearest common ancestor of its views, or removes it.
  void setActive(bool active);
  // The view the constraint is installed on, or null.
  [[nodiscard]] std::shared_ptr<UIView> installedOn() const { return installedOn_.lock(); }

 protected:
  NSLayoutConstraint(const std::shared_ptr<UIView>& item, NSLayoutAttribute attribute, NSLayoutRelation relatedBy,
                     const std::shared_ptr<UIView>& toItem, NSLayoutAttribute toAttribute, CGFloat multiplier,
                     CGFloat constant);

 private:
  friend class UIView;

  std::weak_ptr<UIView> first_;
  NSLayoutAttribute firstAttribute_;
  NSLayoutRelation relation_;
  std::weak_ptr<UIView> second_;
  NSLayoutAttribute secondAttribute_;
  CGFloat multiplier_;
  CGFloat constant_;
  UILayoutPriority priority_ = UILayoutPriorityRequired;
  std::weak_ptr<UIView> installedOn_;
  // Where the constraint sits in the constraint list of the view it is installed on.
  std::size_t installedSlot_ = 0;
};

using NSLayoutConstraintRef = std::shared_ptr<NSLayoutConstraint>;

namespace testing {
// Test seam: how many times a layout pass has solved constraints so far (a pass with
// nothing changed since the last one does not solve).
[[nodiscard]] std::uint64_t layoutSolveCount();
}  // namespace testing

struct NSLayoutXAxis {};
struct NSLayoutYAxis {};

// An attribute of a view along one axis; made by the view's anchor accessors.
template <class Axis>
class NSLayoutAnchor {
 public:
  NSLayoutAnchor(std::weak_ptr<UIView> item, NSLayoutAttribute attribute)
      : item_(std::move(item)), attribute_(attribute) {}

  // Inactive constraints: this == other + constant, >=, <=.
  [[nodiscard]] NSLayoutConstraintRef constraint(const NSLayoutAnchor& equalTo, CGFloat constant = 0) const {
    return make(NSLayoutRelation::equal, equalTo, constant);
  }
  [[nodiscard]] NSLayoutConstraintRef constraintGreaterThanOrEqual(const NSLayoutAnchor& to,
                                                                   CGFloat constant = 0) const {
    return make(NSLayoutRelation::greaterThanOrEqual, to, constant);
  }
  [[nodiscard]] NSLayoutConstraintRef constraintLessThanOrEqual(const NSLayoutAnchor& to, CGFloat constant = 0) const {
    return make(NSLayoutRelation::lessThanOrEqual, to, constant);
  }

  [[nodiscard]] std::shared_ptr<UIView> item() const { return item_.lock(); }
  [[nodiscard]] NSLayoutAttribute attribute() const { return attribute_; }

 protected:
  NSLayoutConstraintRef make(NSLayoutRelation relation, const NSLayoutAnchor& to, CGFloat constant) const {
    return NSLayoutConstraint::make(item(), attribute_, relation, to.item(), to.attribute_, 1, constant);
  }

 private:
  std::weak_ptr<UIView> item_;
  NSLayoutAttribute attribute_;
};

using NSLayoutXAxisAnchor = NSLayoutAnchor<NSLayoutXAxis>;
using NSLayoutYAxisAnchor = NSLayoutAnchor<NSLayoutYAxis>;

// A width or height.
class NSLayoutDimension : public NSLayoutAnchor<NSLayoutDimension> {
 public:
  using NSLayoutAnchor::NSLayoutAnchor;

  // this == constant (no second item).
  [[nodiscard]] NSLayoutConstraintRef constraint(CGFloat equalToConstant) const {
    return NSLayoutConstraint::make(item(), attribute(), NSLayoutRelation::equal, nullptr,
                                    NSLayoutAttribute::notAnAttribute, 1, equalToConstant);
  }
  // this == other x multiplier + constant.
  [[nodiscard]] NSLayoutConstraintRef constraint(const NSLayoutDimension& equalTo, CGFloat multiplier,
                                                 CGFloat constant) const {
    return NSLayoutConstraint::make(item(), attribute(), NSLayoutRelation::equal, equalTo.item(),
                                    equalTo.attribute(), multiplier, constant);
  }
  using NSLayoutAnchor::constraint;
};

}  // namespace ios
