#include "KPQuaslet/views/UIView+Shadow.h"

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/views/internal/LayerColor.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIBezierPath.h"

namespace kp {
namespace {

using ios::CGFloat;
using ios::CGSize;
using ios::UIColor;
using ios::UIView;

struct Selectors {
  ios::SEL shadowColor = ios::sel_registerName("shadowColor");
  ios::SEL setShadowColor = ios::sel_registerName("setShadowColor:");
  ios::SEL shadowOffset = ios::sel_registerName("shadowOffset");
  ios::SEL setShadowOffset = ios::sel_registerName("setShadowOffset:");
  ios::SEL shadowOpacity = ios::sel_registerName("shadowOpacity");
  ios::SEL setShadowOpacity = ios::sel_registerName("setShadowOpacity:");
  ios::SEL shadowRadius = ios::sel_registerName("shadowRadius");
  ios::SEL setShadowRadius = ios::sel_registerName("setShadowRadius:");
};

const Selectors& selectors() {
  static const Selectors s;
  return s;
}

const kp_internal::CategoryRegistration shadowCategory([] {
  const Selectors& s = selectors();
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.instanceMethods = {
      {s.shadowColor, ios::imp([](UIView& self, ios::SEL) -> std::optional<UIColor> { return shadowColor(self); }), {}},
      {s.setShadowColor,
       ios::imp([](UIView& self, ios::SEL, std::optional<UIColor> c) { setShadowColor(self, c); }), {}},
      {s.shadowOffset, ios::imp([](UIView& self, ios::SEL) -> CGSize { return shadowOffset(self); }), {}},
      {s.setShadowOffset, ios::imp([](UIView& self, ios::SEL, CGSize o) { setShadowOffset(self, o); }), {}},
      {s.shadowOpacity, ios::imp([](UIView& self, ios::SEL) -> CGFloat { return shadowOpacity(self); }), {}},
      {s.setShadowOpacity, ios::imp([](UIView& self, ios::SEL, CGFloat o) { setShadowOpacity(self, o); }), {}},
      {s.shadowRadius, ios::imp([](UIView& self, ios::SEL) -> CGFloat { return shadowRadius(self); }), {}},
      {s.setShadowRadius, ios::imp([](UIView& self, ios::SEL, CGFloat r) { setShadowRadius(self, r); }), {}},
  };
  category.properties = {
      {"shadowColor", "T@\"UIColor\",N,&"},
      {"shadowOffset", "T{CGSize=dd},N"},
      {"shadowOpacity", "Td,N"},
      {"shadowRadius", "Td,N"},
  };
  ios::attachCategory(UIView::classObject(), category);
});

}  // namespace

std::optional<UIColor> shadowColor(const UIView& view) { return views_internal::uiColor(view.layer()->shadowColor()); }

void setShadowColor(UIView& view, const std::optional<UIColor>& color) {
  view.layer()->setShadowColor(views_internal::cgColor(color));
}

CGSize shadowOffset(const UIView& view) { return view.layer()->shadowOffset(); }
void setShadowOffset(UIView& view, CGSize offset) { view.layer()->setShadowOffset(offset); }
CGFloat shadowOpacity(const UIView& view) { return static_cast<CGFloat>(view.layer()->shadowOpacity()); }
void setShadowOpacity(UIView& view, CGFloat opacity) { view.layer()->setShadowOpacity(static_cast<float>(opacity)); }
CGFloat shadowRadius(const UIView& view) { return view.layer()->shadowRadius(); }
void setShadowRadius(UIView& view, CGFloat radius) { view.layer()->setShadowRadius(radius); }

Shadow shadow(UIView& view) {
  const Selectors& s = selectors();
  const auto color = ios::send<std::optional<UIColor>>(&view, s.shadowColor);
  const auto offset = ios::send<CGSize>(&view, s.shadowOffset);
  const auto opacity = ios::send<CGFloat>(&view, s.shadowOpacity);
  const auto radius = ios::send<CGFloat>(&view, s.shadowRadius);
  return Shadow(color.value_or(UIColor::clear()), ios::UIOffset{offset.width, offset.height}, opacity, radius);
}

void setShadow(UIView& view, const Shadow& shadow) {
  const Selectors& s = selectors();
  ios::send<void>(&view, s.setShadowColor, std::optional<UIColor>(shadow.color));
  ios::send<void>(&view, s.setShadowOffset, CGSize(shadow.offset.horizontal, shadow.offset.vertical));
  ios::send<void>(&view, s.setShadowOpacity, shadow.opacity);
  ios::send<void>(&view, s.setShadowRadius, shadow.radius);
}

void applyPlainShadow(UIView& view) {
  ios::CALayer& layer = *view.layer();
  layer.setShadowColor(UIColor::gray().cgColor());
  layer.setShadowOffset(CGSize(0, 3));
  layer.setShadowOpacity(0.4f);
  layer.setShadowRadius(4);
}

void applyCurvedShadow(UIView& view) {
  const CGSize size = view.bounds().size;
  const CGFloat w = size.width, h = size.height;
  constexpr CGFloat depth = 11;
  constexpr CGFloat lessDepth = depth * 0.8;
  constexpr CGFloat curve = 5;
  ios::CGMutablePath path;
  path.move({1, h});
  path.addLine({w - 2, h});
  path.addLine({w - 2, h + depth});
  path.addCurve({1, h + depth}, {w - curve, h + lessDepth - curve}, {curve, h + lessDepth - curve});
  ios::CALayer& layer = *view.layer();
  layer.setShadowPath(path);
  layer.setShadowColor(UIColor::black().cgColor());
  layer.setShadowOpacity(0.3f);
  layer.setShadowRadius(1);
  layer.setShadowOffset(CGSize(0, -3));
}

void applyHoverShadow(UIView& view) {
  const CGSize size = view.bounds().size;
  const ios::CGRect oval(5, size.height + 5, size.width - 10, 15);
  ios::CALayer& layer = *view.layer();
  layer.setShadowPath(ios::UIBezierPath::make(oval, 10)->cgPath());
  layer.setShadowColor(UIColor::black().cgColor());
  layer.setShadowOpacity(0.2f);
  layer.setShadowRadius(5);
  layer.setShadowOffset(CGSize(0, 0));
}

}  // namespace kp
