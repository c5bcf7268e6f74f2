// File: KPQuaslet/views/UIView+KPExt.h
//
// View conveniences: frame shorthands, layer styling visible to the object runtime,
// hierarchy searches, keyboard dismissal, animation shorthands, screenshots, corner
// rounding and a one-call layer shadow.
//
//   kp::setCenterX(*badge, 100);                     // moves the frame, keeps its size
//   kp::setCornerRadius(*card, 8);                   // clips to the rounded bounds
//   std::shared_ptr<ios::UIView> editing = kp::firstResponder(*form);
//   ios::UIImage shot = kp::screenshot(*card);
//
// The styling properties cornerRadius, borderWidth, borderColor (and the method
// hideKeyboard) are also registered as runtime methods of UIView in the category
// "KPQuaslet", so ios::send() and interface-style key setting reach them. They store
// nothing on the view: they read and write its layer. Views are main-thread objects.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIView.h"

namespace kp {

using ios::CGFloat;
using ios::CGPoint;
using ios::CGRect;
using ios::CGSize;
using ios::UIColor;
using ios::UIView;

// ---------------------------------------------------------------------------------------
// Frame shorthands
//
// Getters read `frame` once. Each setter reads `frame` once, replaces one component and
// writes the whole rectangle back with one setFrame(); a read-modify-write such as
// setX(v, x(v) + 5) therefore makes one read and one write.

[[nodiscard]] CGFloat x(const UIView& view);
void setX(UIView& view, CGFloat value);
[[nodiscard]] CGFloat y(const UIView& view);
void setY(UIView& view, CGFloat value);
[[nodiscard]] CGFloat width(const UIView& view);
void setWidth(UIView& view, CGFloat value);
[[nodiscard]] CGFloat height(const UIView& view);
void setHeight(UIView& view, CGFloat value);
// The frame's horizontal centre; setting it moves the origin, keeping the width.
[[nodiscard]] CGFloat centerX(const UIView& view);
void setCenterX(UIView& view, CGFloat value);
// The frame's vertical centre; setting it moves the origin, keeping the height.
[[nodiscard]] CGFloat centerY(const UIView& view);
void setCenterY(UIView& view, CGFloat value);
// The frame's edges.
[[nodiscard]] CGFloat minX(const UIView& view);
[[nodiscard]] CGFloat minY(const UIView& view);
[[nodiscard]] CGFloat maxX(const UIView& view);
[[nodiscard]] CGFloat maxY(const UIView& view);
// Half the bounds size: (bounds width × 0.5, bounds height × 0.5), whatever the bounds
// origin (a scrolled scroll view answers the same point as an unscrolled one).
[[nodiscard]] CGPoint centerPoint(const UIView& view);

// ---------------------------------------------------------------------------------------
// Layer styling (runtime-visible)

// The layer's corner radius. Setting it first turns on masksToBounds (also for 0).
[[nodiscard]] CGFloat cornerRadius(const UIView& view);
void setCornerRadius(UIView& view, CGFloat radius);
// The layer's border width.
[[nodiscard]] CGFloat borderWidth(const UIView& view);
void setBorderWidth(UIView& view, CGFloat width);
// The layer's border colour as a new colour, nothing when the layer has none; setting
// nothing clears it. A fresh layer's border colour is opaque black.
[[nodiscard]] std::optional<UIColor> borderColor(const UIView& view);
void setBorderColor(UIView& view, const std::optional<UIColor>& color);

// ---------------------------------------------------------------------------------------
// Hierarchy and responders

// Adds each view as a subview, in order.
void addSubviews(UIView& view, std::span<const std::shared_ptr<UIView>> views);
template <class... V>
  requires(std::is_convertible_v<V, std::shared_ptr<UIView>> && ...)
void addSubviews(UIView& view, const V&... views) {
  (view.addSubview(views), ...);
}
// Removes every current subview from the view, in order.
void removeSubviews(UIView& view);
// Removes every gesture recogniser of the view, in order.
void removeGestureRecognizers(UIView& view);

// firstResponder()
//
// The first responder among the view and its descendants, breadth first: the view
// itself, then shallower views before deeper ones, siblings in subview order; null when
// none is.
[[nodiscard]] std::shared_ptr<UIView> firstResponder(UIView& view);

// ancestorView(where:)
//
// Walks up from the view's superview: answers the first view the predicate holds for.
// The view itself is never tested; at the top of the chain the predicate is called once
// with null, and what it answers there decides nothing: the result is null.
[[nodiscard]] std::shared_ptr<UIView> ancestorView(const UIView& view, const std::function<bool(UIView*)>& where);

// ancestorView(withClass:)
//
// The nearest ancestor that is a T (or a subclass of T), or null.
template <std::derived_from<UIView> T>
[[nodiscard]] std::shared_ptr<T> ancestorView(const UIView& view) {
  return std::dynamic_pointer_cast<T>(
      ancestorView(view, [](UIView* v) { return v == nullptr || dynamic_cast<T*>(v) != nullptr; }));
}

// ---------------------------------------------------------------------------------------
// Keyboard

// Adds a tap recogniser (default settings) whose action is the view's hideKeyboard. It
// does not turn on user interaction: on a view that has it off the tap never arrives.
void addTapToCloseEditing(UIView& view);
// Ends editing in the view's subtree (endEditing(true)); runtime-visible as
// "hideKeyboard".
void hideKeyboard(UIView& view);

// ---------------------------------------------------------------------------------------
// Animation shorthands

// UIView::animate with `duration`, `delay`, no options and the completion if given.
void animateWithDuration(double duration, double delay, const std::function<void()>& animations,
                         std::function<void(bool)> completion = {});

// ---------------------------------------------------------------------------------------
// Screenshots

// screenshot()
//
// The view's layer drawn into an image of the view's bounds size at scale 2 (not the
// screen's). A view with no area gives the empty image.
[[nodiscard]] ios::UIImage screenshot(const UIView& view);

// screenshot(save:)
//
// The view's layer drawn into an image of its bounds size at the main screen's scale;
// nothing when no context or image could be made (a view with no area). With `save`
// the image also goes to the photo album (ios::UIImageWriteToSavedPhotosAlbum, without a
// completion): a PNG file in the user's pictures folder that outlives the program.
[[nodiscard]] std::optional<ios::UIImage> screenshot(const UIView& view, bool save);

// ---------------------------------------------------------------------------------------
// Rounding and shadow

// Masks the layer with a shape layer whose path is the current bounds with `corners`
// rounded by `radius` (at most half the shorter side), replacing an earlier mask. Later
// size changes are not followed.
void roundCorners(UIView& view, ios::UIRectCorner corners, CGFloat radius);
// Sets the corner radius to half the frame's shorter side; masksToBounds is unchanged.
void roundView(UIView& view);
// Sets the layer's shadow colour, offset, radius and opacity in that order, then turns
// masksToBounds off.
void addShadow(UIView& view, const UIColor& ofColor, CGFloat radius, CGSize offset, float opacity);

// ---------------------------------------------------------------------------------------
// Nibs

// loadFromNib(named:bundle:)
//
// The first top-level object of the nib `named` (null bundle: the main bundle) when it
// is a view, otherwise null (also for a nib without objects). A nib that cannot be
// found raises ios::NSException ("NSInternalInconsistencyException").
[[nodiscard]] std::shared_ptr<UIView> loadFromNib(std::string_view named, const ios::Bundle* bundle);

}  // namespace kp
