#include "KPQuaslet/views/UIView+KPAnimation.h"

#include <cmath>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CALayer.h"

namespace kp {

using ios::CATransform3D;
using ios::CGFloat;
using ios::UIView;

std::string_view rawValue(UIViewAnimationFlipDirection direction) {
  switch (direction) {
    case UIViewAnimationFlipDirection::top: return "fromTop";
    case UIViewAnimationFlipDirection::left: return "fromLeft";
    case UIViewAnimationFlipDirection::right: return "fromRight";
    case UIViewAnimationFlipDirection::bottom: return "fromBottom";
  }
  return "";
}

std::optional<UIViewAnimationFlipDirection> fromRawValue(std::type_identity<UIViewAnimationFlipDirection>,
                                                         std::string_view raw) {
  for (auto d : {UIViewAnimationFlipDirection::top, UIViewAnimationFlipDirection::left,
                 UIViewAnimationFlipDirection::right, UIViewAnimationFlipDirection::bottom}) {
    if (rawValue(d) == raw) return d;
  }
  return std::nullopt;
}

std::optional<UIViewAnimationTranslationDirection> fromRawValue(std::type_identity<UIViewAnimationTranslationDirection>,
                                                                std::int64_t raw) {
  if (raw == 0) return UIViewAnimationTranslationDirection::leftToRight;
  if (raw == 1) return UIViewAnimationTranslationDirection::rightToLeft;
  return std::nullopt;
}

CATransform3D perspectiveIdentity() {
  CATransform3D t = ios::CATransform3DIdentity;
  t.m34 = -0.001;
  return t;
}

namespace {

CGFloat radians(CGFloat degrees) { return degrees * M_PI / 180; }

void popTo(UIView& view, CGFloat scale) {
  view.layer()->setTransform(ios::CATransform3DScale(perspectiveIdentity(), scale, scale, 1));
  std::shared_ptr<ios::CALayer> layer = view.layer();
  spring([layer] { layer->setTransform(ios::CATransform3DScale(perspectiveIdentity(), 1, 1, 1)); });
}

void fadeTo(UIView& view, CGFloat alpha, double duration, std::function<void(bool)> completion) {
  if (view.isHidden()) view.setHidden(false);
  UIView* target = &view;
  UIView::animate(duration, [target, alpha] { target->setAlpha(alpha); }, std::move(completion));
}

}  // namespace

void setScale(UIView& view, CGFloat x, CGFloat y) {
  view.layer()->setTransform(ios::CATransform3DScale(perspectiveIdentity(), x, y, 1));
}

void setRotationX(UIView& view, CGFloat degrees) {
  view.layer()->setTransform(ios::CATransform3DRotate(perspectiveIdentity(), radians(degrees), 1, 0, 0));
}

void setRotationY(UIView& view, CGFloat degrees) {
  view.layer()->setTransform(ios::CATransform3DRotate(perspectiveIdentity(), radians(degrees), 0, 1, 0));
}

void setRotationZ(UIView& view, CGFloat degrees) {
  view.layer()->setTransform(ios::CATransform3DRotate(perspectiveIdentity(), radians(degrees), 0, 0, 1));
}

void setRotation(UIView& view, CGFloat x, CGFloat y, CGFloat z) {
  CATransform3D t = ios::CATransform3DRotate(perspectiveIdentity(), radians(x), 1, 0, 0);
  t = ios::CATransform3DRotate(t, radians(y), 0, 1, 0);
  t = ios::CATransform3DRotate(t, radians(z), 0, 0, 1);
  view.layer()->setTransform(t);
}

void pop(UIView& view) { popTo(view, 1.1); }
void popBig(UIView& view) { popTo(view, 1.25); }

void spring(const std::function<void()>& animations, std::function<void(bool)> completion) {
  spring(1.0, animations, std::move(completion));
}

void spring(double duration, const std::function<void()>& animations, std::function<void(bool)> completion) {
  UIView::animate(duration, 0, 0.5, 0.5, ios::UIViewAnimationOption::allowAnimatedContent, animations,
                  std::move(completion));
}

void scale(UIView& view, ios::CGPoint by, bool animated, double duration, std::function<void(bool)> completion) {
  const ios::CGAffineTransform scaled = view.transform().scaledBy(by.x, by.y);
  if (animated) {
    UIView* target = &view;
    UIView::animate(duration, 0, ios::UIViewAnimationOption::curveLinear,
                    [target, scaled] { target->setTransform(scaled); }, std::move(completion));
    return;
  }
  view.setTransform(scaled);
  if (completion) completion(true);
}

void fadeIn(UIView& view, double duration, std::function<void(bool)> completion) {
  fadeTo(view, 1, duration, std::move(completion));
}

void fadeOut(UIView& view, double duration, std::function<void(bool)> completion) {
  fadeTo(view, 0, duration, std::move(completion));
}

void shakeWith(UIView& view, std::int64_t count) {
  auto animation = ios::CAKeyframeAnimation::make("transform");
  animation->values = {ios::CATransform3DMakeTranslation(-5, 0, 0), ios::CATransform3DMakeTranslation(5, 0, 0)};
  animation->autoreverses = true;
  animation->repeatCount = static_cast<float>(count);
  animation->duration = 0.07;
  view.layer()->add(animation, std::nullopt);
}

std::string ios_describe(UIViewAnimationFlipDirection value) {
  switch (value) {
    case UIViewAnimationFlipDirection::top: return "top";
    case UIViewAnimationFlipDirection::left: return "left";
    case UIViewAnimationFlipDirection::right: return "right";
    case UIViewAnimationFlipDirection::bottom: return "bottom";
  }
  notACase("UIViewAnimationFlipDirection", static_cast<std::int64_t>(value));
}

std::string ios_describe(UIViewAnimationTranslationDirection value) {
  switch (value) {
    case UIViewAnimationTranslationDirection::leftToRight: return "leftToRight";
    case UIViewAnimationTranslationDirection::rightToLeft: return "rightToLeft";
  }
  notACase("UIViewAnimationTranslationDirection", static_cast<std::int64_t>(value));
}

}  // namespace kp
