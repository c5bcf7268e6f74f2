#include "KPQuaslet/views/UIView+KPExt.h"

#include <algorithm>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/views/internal/LayerColor.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIScreen.h"

namespace kp {
namespace {

ios::SEL hideKeyboardSelector() {
  static const ios::SEL selector = ios::sel_registerName("hideKeyboard");
  return selector;
}

// The view's styling members, visible to the runtime in the category "KPQuaslet".
const kp_internal::CategoryRegistration viewCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  auto method = [&category](const char* name, ios::IMP imp) {
    category.instanceMethods.push_back({ios::sel_registerName(name), imp, {}});
  };
  method("cornerRadius", ios::imp([](UIView& self, ios::SEL) -> CGFloat { return cornerRadius(self); }));
  method("setCornerRadius:", ios::imp([](UIView& self, ios::SEL, CGFloat v) { setCornerRadius(self, v); }));
  method("borderWidth", ios::imp([](UIView& self, ios::SEL) -> CGFloat { return borderWidth(self); }));
  method("setBorderWidth:", ios::imp([](UIView& self, ios::SEL, CGFloat v) { setBorderWidth(self, v); }));
  method("borderColor", ios::imp([](UIView& self, ios::SEL) -> std::optional<UIColor> { return borderColor(self); }));
  method("setBorderColor:",
         ios::imp([](UIView& self, ios::SEL, std::optional<UIColor> v) { setBorderColor(self, v); }));
  method("hideKeyboard", ios::imp([](UIView& self, ios::SEL) { hideKeyboard(self); }));
  category.properties.push_back({"cornerRadius", "Td,N"});
  category.properties.push_back({"borderWidth", "Td,N"});
  category.properties.push_back({"borderColor", "T@\"UIColor\",N,&"});
  ios::attachCategory(UIView::classObject(), category);
});

// Renders the view's layer into a new image context; nothing when no context or image
// could be made.
std::optional<ios::UIImage> renderImage(const UIView& view, CGSize size, CGFloat scale) {
  ios::UIGraphicsBeginImageContextWithOptions(size, false, scale);
  const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
  ios::CGContextRef context = ios::UIGraphicsGetCurrentContext();
  if (context == nullptr) return std::nullopt;
  view.layer()->render(context);
  return ios::UIGraphicsGetImageFromCurrentImageContext();
}

}  // namespace

CGFloat x(const UIView& view) { return view.frame().origin.x; }
CGFloat y(const UIView& view) { return view.frame().origin.y; }
CGFloat width(const UIView& view) { return view.frame().size.width; }
CGFloat height(const UIView& view) { return view.frame().size.height; }

void setX(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.origin.x = value;
  view.setFrame(f);
}

void setY(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.origin.y = value;
  view.setFrame(f);
}

void setWidth(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.size.width = value;
  view.setFrame(f);
}

void setHeight(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.size.height = value;
  view.setFrame(f);
}

CGFloat centerX(const UIView& view) {
  const CGRect f = view.frame();
  return f.origin.x + f.size.width * 0.5;
}

void setCenterX(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.origin.x = value - f.size.width * 0.5;
  view.setFrame(f);
}

CGFloat centerY(const UIView& view) {
  const CGRect f = view.frame();
  return f.origin.y + f.size.height * 0.5;
}

void setCenterY(UIView& view, CGFloat value) {
  CGRect f = view.frame();
  f.origin.y = value - f.size.height * 0.5;
  view.setFrame(f);
}

CGFloat minX(const UIView& view) { return view.frame().minX(); }
CGFloat minY(const UIView& view) { return view.frame().minY(); }
CGFloat maxX(const UIView& view) { return view.frame().maxX(); }
CGFloat maxY(const UIView& view) { return view.frame().maxY(); }

CGPoint centerPoint(const UIView& view) {
  const CGSize size = view.bounds().size;
  return CGPoint(size.width * 0.5, size.height * 0.5);
}

CGFloat cornerRadius(const UIView& view) { return view.layer()->cornerRadius(); }

void setCornerRadius(UIView& view, CGFloat radius) {
  view.layer()->setMasksToBounds(true);
  view.layer()->setCornerRadius(radius);
}

CGFloat borderWidth(const UIView& view) { return view.layer()->borderWidth(); }
void setBorderWidth(UIView& view, CGFloat width) { view.layer()->setBorderWidth(width); }

std::optional<UIColor> borderColor(const UIView& view) { return views_internal::uiColor(view.layer()->borderColor()); }

void setBorderColor(UIView& view, const std::optional<UIColor>& color) {
  view.layer()->setBorderColor(views_internal::cgColor(color));
}

void addSubviews(UIView& view, std::span<const std::shared_ptr<UIView>> views) {
  for (const auto& v : views) view.addSubview(v);
}

void removeSubviews(UIView& view) { ios::uikit_internal::removeEachFromSuperview(view.subviews()); }

void removeGestureRecognizers(UIView& view) {
  if (auto recognizers = view.gestureRecognizers()) {
    for (const auto& r : *recognizers) view.removeGestureRecognizer(r);
  }
}

std::shared_ptr<UIView> firstResponder(UIView& view) {
  std::vector<std::shared_ptr<UIView>> queue{std::static_pointer_cast<UIView>(view.shared_from_this())};
  for (std::size_t index = 0; index < queue.size(); ++index) {
    if (queue[index]->isFirstResponder()) return queue[index];
    for (auto& sub : queue[index]->subviews()) queue.push_back(std::move(sub));
  }
  return nullptr;
}

std::shared_ptr<UIView> ancestorView(const UIView& view, const std::function<bool(UIView*)>& where) {
  for (std::shared_ptr<UIView> s = view.superview();; s = s->superview()) {
    if (where(s.get()) || s == nullptr) return s;
  }
}

void addTapToCloseEditing(UIView& view) {
  view.addGestureRecognizer(ios::UITapGestureRecognizer::make(view.shared_from_this(), hideKeyboardSelector()));
}

void hideKeyboard(UIView& view) { (void)view.endEditing(true); }

void animateWithDuration(double duration, double delay, const std::function<void()>& animations,
                         std::function<void(bool)> completion) {
  UIView::animate(duration, delay, 0, animations, std::move(completion));
}

ios::UIImage screenshot(const UIView& view) {
  return renderImage(view, view.bounds().size, 2.0).value_or(ios::UIImage());
}

std::optional<ios::UIImage> screenshot(const UIView& view, bool save) {
  std::optional<ios::UIImage> image = renderImage(view, view.bounds().size, ios::UIScreen::main().scale());
  if (image && save) ios::UIImageWriteToSavedPhotosAlbum(*image, nullptr, nullptr, nullptr);
  return image;
}

void roundCorners(UIView& view, ios::UIRectCorner corners, CGFloat radius) {
  auto mask = ios::CAShapeLayer::make();
  mask->path = ios::UIBezierPath::make(view.bounds(), corners, CGSize(radius, radius))->cgPath();
  view.layer()->setMask(mask);
}

void roundView(UIView& view) {
  const CGRect f = view.frame();
  view.layer()->setCornerRadius(std::min(f.size.width, f.size.height) * 0.5);
}

void addShadow(UIView& view, const UIColor& ofColor, CGFloat radius, CGSize offset, float opacity) {
  ios::CALayer& layer = *view.layer();
  layer.setShadowColor(ofColor.cgColor());
  layer.setShadowOffset(offset);
  layer.setShadowRadius(radius);
  layer.setShadowOpacity(opacity);
  layer.setMasksToBounds(false);
}

std::shared_ptr<UIView> loadFromNib(std::string_view named, const ios::Bundle* bundle) {
  const std::vector<ios::id> objects = ios::UINib::make(named, bundle)->instantiate(nullptr, nullptr);
  if (objects.empty()) return nullptr;
  return std::dynamic_pointer_cast<UIView>(objects.front());
}

}  // namespace kp
