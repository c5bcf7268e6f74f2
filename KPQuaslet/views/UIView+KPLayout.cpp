#include "KPQuaslet/views/UIView+KPLayout.h"

#include <map>
#include <string>

namespace kp {

void addConstraints(ios::UIView& view, std::string_view format,
                    std::initializer_list<std::shared_ptr<ios::UIView>> views) {
  std::map<std::string, std::shared_ptr<ios::UIView>> named;
  std::size_t index = 0;
  for (const auto& v : views) {
    if (v != nullptr) v->setTranslatesAutoresizingMaskIntoConstraints(false);
    named["v" + std::to_string(index++)] = v;
  }
  view.addConstraints(ios::NSLayoutConstraint::constraints(format, 0, {}, named));
}

void fillToSuperview(ios::UIView& view) {
  view.setTranslatesAutoresizingMaskIntoConstraints(false);
  const auto super = view.superview();
  if (super == nullptr) return;
  view.leftAnchor().constraint(super->leftAnchor())->setActive(true);
  view.rightAnchor().constraint(super->rightAnchor())->setActive(true);
  view.topAnchor().constraint(super->topAnchor())->setActive(true);
  view.bottomAnchor().constraint(super->bottomAnchor())->setActive(true);
}

std::vector<ios::NSLayoutConstraintRef> anchor(ios::UIView& view, std::optional<ios::NSLayoutYAxisAnchor> top,
                                               std::optional<ios::NSLayoutXAxisAnchor> left,
                                               std::optional<ios::NSLayoutYAxisAnchor> bottom,
                                               std::optional<ios::NSLayoutXAxisAnchor> right,
                                               ios::CGFloat topConstant, ios::CGFloat leftConstant,
                                               ios::CGFloat bottomConstant, ios::CGFloat rightConstant,
                                               ios::CGFloat widthConstant, ios::CGFloat heightConstant) {
  view.setTranslatesAutoresizingMaskIntoConstraints(false);
  std::vector<ios::NSLayoutConstraintRef> made;
  if (top) made.push_back(view.topAnchor().constraint(*top, topConstant));
  if (left) made.push_back(view.leftAnchor().constraint(*left, leftConstant));
  if (bottom) made.push_back(view.bottomAnchor().constraint(*bottom, -bottomConstant));
  if (right) made.push_back(view.rightAnchor().constraint(*right, -rightConstant));
  if (widthConstant > 0) made.push_back(view.widthAnchor().constraint(widthConstant));
  if (heightConstant > 0) made.push_back(view.heightAnchor().constraint(heightConstant));
  for (const auto& c : made) c->setActive(true);
  return made;
}

void anchorCenterXToSuperview(ios::UIView& view, ios::CGFloat constant) {
  view.setTranslatesAutoresizingMaskIntoConstraints(false);
  if (const auto super = view.superview()) {
    view.centerXAnchor().constraint(super->centerXAnchor(), constant)->setActive(true);
  }
}

void anchorCenterYToSuperview(ios::UIView& view, ios::CGFloat constant) {
  view.setTranslatesAutoresizingMaskIntoConstraints(false);
  if (const auto super = view.superview()) {
    view.centerYAnchor().constraint(super->centerYAnchor(), constant)->setActive(true);
  }
}

void anchorCenterSuperview(ios::UIView& view) {
  anchorCenterXToSuperview(view, 0);
  anchorCenterYToSuperview(view, 0);
}

}  // namespace kp
