#include "platform/uikit/NSLayoutConstraint.h"

#include <algorithm>

#include "platform/foundation/NSException.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/internal/LayoutSolver.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(NSLayoutConstraint, "NSLayoutConstraint", nullptr)

namespace {

// The nearest view that is `a` or an ancestor of it and contains `b` (null `b`: `a`).
std::shared_ptr<UIView> commonAncestor(const std::shared_ptr<UIView>& a, const std::shared_ptr<UIView>& b) {
  if (a == nullptr) return b;
  if (b == nullptr) return a;
  for (auto v = a; v != nullptr; v = v->superview()) {
    if (b->isDescendant(*v)) return v;
  }
  return nullptr;
}

[[noreturn]] void raiseNoCommonAncestor() {
  NSException("NSGenericException",
              std::string("Unable to activate constraint because its items have no common ancestor."))
      .raise();
}

}  // namespace

NSLayoutConstraint::NSLayoutConstraint(const std::shared_ptr<UIView>& item, NSLayoutAttribute attribute,
                                       NSLayoutRelation relatedBy, const std::shared_ptr<UIView>& toItem,
                                       NSLayoutAttribute toAttribute, CGFloat multiplier, CGFloat constant)
    : first_(item),
      firstAttribute_(attribute),
      relation_(relatedBy),
      second_(toItem),
      secondAttribute_(toItem == nullptr ? NSLayoutAttribute::notAnAttribute : toAttribute),
      multiplier_(multiplier),
      constant_(constant) {}

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::make(const std::shared_ptr<UIView>& item,
                                                             NSLayoutAttribute attribute, NSLayoutRelation relatedBy,
                                                             const std::shared_ptr<UIView>& toItem,
                                                             NSLayoutAttribute toAttribute, CGFloat multiplier,
                                                             CGFloat constant) {
  return runtime_internal::construct<NSLayoutConstraint>(item, attribute, relatedBy, toItem, toAttribute, multiplier,
                                                          constant);
}

std::vector<NSLayoutConstraintRef> NSLayoutConstraint::constraints(
    std::string_view withVisualFormat, std::uint64_t, const std::map<std::string, CGFloat>& metrics,
    const std::map<std::string, std::shared_ptr<UIView>>& views) {
  return uikit_internal::parseVisualFormat(withVisualFormat, metrics, views);
}

void NSLayoutConstraint::activate(const std::vector<NSLayoutConstraintRef>& constraints) {
  for (const auto& c : constraints) c->setActive(true);
}

void NSLayoutConstraint::deactivate(const std::vector<NSLayoutConstraintRef>& constraints) {
  for (const auto& c : constraints) c->setActive(false);
}

void NSLayoutConstraint::setConstant(CGFloat constant) {
  constant_ = constant;
  uikit_internal::noteLayoutInputsChanged();
  if (auto view = installedOn()) view->setNeedsLayout();
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority) {
  priority_ = priority;
  uikit_internal::noteLayoutInputsChanged();
  if (auto view = installedOn()) view->setNeedsLayout();
}

void NSLayoutConstraint::setActive(bool active) {
  if (active == isActive()) return;
  auto self = std::static_pointer_cast<NSLayoutConstraint>(shared_from_this());
  if (!active) {
    installedOn()->removeConstraint(self);
    return;
  }
  auto ancestor = commonAncestor(firstItem(), secondItem());
  if (ancestor == nullptr) raiseNoCommonAncestor();
  ancestor->addConstraint(self);
}

namespace {

template <class Anchor>
Anchor anchorOf(const UIView& view, NSLayoutAttribute attribute) {
  return Anchor(std::static_pointer_cast<UIView>(std::const_pointer_cast<NSObject>(view.shared_from_this())),
                attribute);
}

}  // namespace

NSLayoutXAxisAnchor UIView::leftAnchor() const { return anchorOf<NSLayoutXAxisAnchor>(*this, NSLayoutAttribute::left); }
NSLayoutXAxisAnchor UIView::rightAnchor() const { return anchorOf<NSLayoutXAxisAnchor>(*this, NSLayoutAttribute::right); }
NSLayoutXAxisAnchor UIView::leadingAnchor() const {
  return anchorOf<NSLayoutXAxisAnchor>(*this, NSLayoutAttribute::leading);
}
NSLayoutXAxisAnchor UIView::trailingAnchor() const {
  return anchorOf<NSLayoutXAxisAnchor>(*this, NSLayoutAttribute::trailing);
}
NSLayoutXAxisAnchor UIView::centerXAnchor() const {
  return anchorOf<NSLayoutXAxisAnchor>(*this, NSLayoutAttribute::centerX);
}
NSLayoutYAxisAnchor UIView::topAnchor() const { return anchorOf<NSLayoutYAxisAnchor>(*this, NSLayoutAttribute::top); }
NSLayoutYAxisAnchor UIView::bottomAnchor() const {
  return anchorOf<NSLayoutYAxisAnchor>(*this, NSLayoutAttribute::bottom);
}
NSLayoutYAxisAnchor UIView::centerYAnchor() const {
  return anchorOf<NSLayoutYAxisAnchor>(*this, NSLayoutAttribute::centerY);
}
NSLayoutDimension UIView::widthAnchor() const { return anchorOf<NSLayoutDimension>(*this, NSLayoutAttribute::width); }
NSLayoutDimension UIView::heightAnchor() const { return anchorOf<NSLayoutDimension>(*this, NSLayoutAttribute::height); }

void UIView::addConstraint(const NSLayoutConstraintRef& constraint) {
  if (constraint == nullptr) return;
  for (const auto& item : {constraint->firstItem(), constraint->secondItem()}) {
    if (item != nullptr && !item->isDescendant(*this)) raiseNoCommonAncestor();
  }
  if (auto old = constraint->installedOn()) old->removeConstraint(constraint);
  constraint->installedSlot_ = constraints_.size();
  constraints_.push_back(constraint);
  constraint->installedOn_ = std::static_pointer_cast<UIView>(shared_from_this());
  uikit_internal::noteLayoutInputsChanged();
  setNeedsLayout();
}

void UIView::addConstraints(const std::vector<NSLayoutConstraintRef>& constraints) {
  for (const auto& c : constraints) addConstraint(c);
}

std::vector<NSLayoutConstraintRef> UIView::constraints() const {
  std::vector<NSLayoutConstraintRef> installed;
  installed.reserve(constraints_.size() - removedConstraintSlots_);
  for (const auto& c : constraints_) {
    if (c != nullptr) installed.push_back(c);
  }
  return installed;
}

void UIView::removeConstraint(const NSLayoutConstraintRef& constraint) {
  if (constraint == nullptr || constraint->installedOn().get() != this) return;
  // Held here: the slot may hold the last reference.
  const NSLayoutConstraintRef keep = constraint;
  keep->installedOn_.reset();
  constraints_[keep->installedSlot_].reset();
  // Squeeze the empty slots out once they are half the list, renumbering the rest:
  // constant time per removal on average.
  if (++removedConstraintSlots_ * 2 >= constraints_.size()) {
    std::erase(constraints_, nullptr);
    for (std::size_t i = 0; i < constraints_.size(); ++i) constraints_[i]->installedSlot_ = i;
    removedConstraintSlots_ = 0;
  }
  uikit_internal::noteLayoutInputsChanged();
  setNeedsLayout();
}

void UIView::removeConstraints(const std::vector<NSLayoutConstraintRef>& constraints) {
  for (const auto& c : constraints) removeConstraint(c);
}

}  // namespace ios
