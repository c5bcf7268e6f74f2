// File: KPQuaslet/views/UIView+KPAnimation.h
//
// Ready-made view transforms and animations: scale and rotation of the layer with a
// fixed perspective, pop and spring, an animated scale of the view transform, fades and
// a keyframe shake.
//
//   kp::setRotationZ(*dial, 90);                  // a quarter turn, with perspective
//   kp::pop(*badge);                              // jump to 110 %, spring back
//   kp::fadeOut(*toast, 0.3, [&](bool) { toast->removeFromSuperview(); });
//
// The layer transforms start from the perspective identity (the identity with m34 =
// -0.001), never from the current transform, so each call replaces the previous one.
// Animations run on the main thread; completions arrive on the main queue.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/quartzcore/CATransform3D.h"
#include "platform/uikit/UIView.h"

namespace kp {

// The directions of a flip (raw values "fromTop", "fromLeft", "fromRight",
// "fromBottom"). Not used by the library itself.
enum class UIViewAnimationFlipDirection { top, left, right, bottom };
[[nodiscard]] std::string_view rawValue(UIViewAnimationFlipDirection direction);
[[nodiscard]] std::optional<UIViewAnimationFlipDirection> fromRawValue(std::type_identity<UIViewAnimationFlipDirection>,
                                                                       std::string_view raw);
// The four directions, in declaration order.
[[nodiscard]] inline std::span<const UIViewAnimationFlipDirection> allCases(std::type_identity<UIViewAnimationFlipDirection>) {
  static constexpr UIViewAnimationFlipDirection cases[] = {UIViewAnimationFlipDirection::top, UIViewAnimationFlipDirection::left, UIViewAnimationFlipDirection::right, UIViewAnimationFlipDirection::bottom};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(UIViewAnimationFlipDirection value);

// The directions of a translation. Not used by the library itself.
enum class UIViewAnimationTranslationDirection : std::int64_t { leftToRight = 0, rightToLeft = 1 };
[[nodiscard]] std::optional<UIViewAnimationTranslationDirection> fromRawValue(
    std::type_identity<UIViewAnimationTranslationDirection>, std::int64_t raw);
// The two directions, in declaration order.
[[nodiscard]] inline std::span<const UIViewAnimationTranslationDirection> allCases(std::type_identity<UIViewAnimationTranslationDirection>) {
  static constexpr UIViewAnimationTranslationDirection cases[] = {UIViewAnimationTranslationDirection::leftToRight, UIViewAnimationTranslationDirection::rightToLeft};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(UIViewAnimationTranslationDirection value);

// The identity transform with m34 = -0.001.
[[nodiscard]] ios::CATransform3D perspectiveIdentity();

// Sets the layer transform to the perspective identity scaled by (x, y, 1).
void setScale(ios::UIView& view, ios::CGFloat x, ios::CGFloat y);
// Sets the layer transform to the perspective identity rotated by `degrees` about the
// x, y or z axis.
void setRotationX(ios::UIView& view, ios::CGFloat degrees);
void setRotationY(ios::UIView& view, ios::CGFloat degrees);
void setRotationZ(ios::UIView& view, ios::CGFloat degrees);
// The perspective identity rotated about x by `x` degrees, then about y, then about z.
void setRotation(ios::UIView& view, ios::CGFloat x, ios::CGFloat y, ios::CGFloat z);

// Sets the layer transform to the perspective identity scaled by 1.1 (popBig: 1.25),
// then springs it back to scale 1.
void pop(ios::UIView& view);
void popBig(ios::UIView& view);

// The fixed spring animation: 1 s, damping 0.5, initial velocity 0.5, options
// allowAnimatedContent (128).
void spring(const std::function<void()>& animations, std::function<void(bool)> completion = {});
// The same spring over `duration` seconds.
void spring(double duration, const std::function<void()>& animations, std::function<void(bool)> completion = {});

// scale(by:animated:duration:completion:)
//
// Scales the view transform by (by.x, by.y), so repeated calls multiply. Animated: a
// linear-curve (options 196608) animation of `duration` with the completion. Otherwise
// at once, then the completion (if any) is called with true before returning.
void scale(ios::UIView& view, ios::CGPoint by, bool animated, double duration,
           std::function<void(bool)> completion = {});

// Un-hides a hidden view, then animates its alpha to 1 (fadeIn) or 0 (fadeOut) over
// `duration`. fadeOut does not hide the view at the end.
void fadeIn(ios::UIView& view, double duration, std::function<void(bool)> completion = {});
void fadeOut(ios::UIView& view, double duration, std::function<void(bool)> completion = {});

// Adds to the layer (without a key) a keyframe animation of "transform" between the
// translations (-5, 0, 0) and (5, 0, 0), autoreversing, repeated `count` times, 0.07 s
// each; the model transform is unchanged.
void shakeWith(ios::UIView& view, std::int64_t count);

}  // namespace kp
