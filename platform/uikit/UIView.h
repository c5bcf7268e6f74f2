// File: platform/uikit/UIView.h
//
// Views: a rectangle of the screen backed by a layer, in a tree of views, with
// gesture recognisers, first-responder handling, layout and animations.
//
//   auto card = ios::UIView::make(ios::CGRect(0, 0, 100, 40));
//   card->setBackgroundColor(ios::UIColor::white());
//   window->addSubview(card);
//   ios::UIView::animate(0.3, [&] { card->setAlpha(0); });
//
// Fidelity: the view keeps no geometry of its own: frame, bounds, center and transform
// are read from and written to its layer (the transform is the affine part of the
// layer's 3-D transform; setting it drops any perspective). Subviews are mirrored as
// sublayers; alpha, hidden, clipsToBounds and the background colour are the layer's
// opacity, hidden, masksToBounds and background colour. `nextResponder` answers the
// superview. Views are for the main thread only. Animations are recorded, not
// interpolated (see UIViewAnimation.h). Hit-testing skips views that are hidden, have
// user interaction off or an alpha below 0.01. Autoresizing masks are stored and not
// applied; safe areas, trait collections, drawing through draw(_:) and view controllers
// are absent.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/quartzcore/CALayer.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIResponder.h"

namespace ios {

class UIGestureRecognizer;
class UIWindow;
class UIView;
class UIViewController;
namespace uikit_internal {
struct LayoutCache;
// Sends removeFromSuperview() to each of `views` in order, in one pass over each
// superview's subviews (and each superlayer's sublayers): the same end state as the
// loop (superviews and superlayers cleared, the other subviews and sublayers in their
// order, the superviews marked as needing layout), in time proportional to the views
// and their superviews' subviews rather than to their product. A view without a
// superview, or listed twice, is skipped the second time, as the loop would.
void removeEachFromSuperview(const std::vector<std::shared_ptr<UIView>>& views);
}  // namespace uikit_internal

// UIView.AutoresizingMask raw bits.
using UIViewAutoresizing = std::uint64_t;
namespace UIViewAutoresizingOption {
inline constexpr UIViewAutoresizing none = 0;
inline constexpr UIViewAutoresizing flexibleLeftMargin = 1 << 0;
inline constexpr UIViewAutoresizing flexibleWidth = 1 << 1;
inline constexpr UIViewAutoresizing flexibleRightMargin = 1 << 2;
inline constexpr UIViewAutoresizing flexibleTopMargin = 1 << 3;
inline constexpr UIViewAutoresizing flexibleHeight = 1 << 4;
inline constexpr UIViewAutoresizing flexibleBottomMargin = 1 << 5;
}  // namespace UIViewAutoresizingOption

// UIView.AnimationOptions raw bits.
using UIViewAnimationOptions = std::uint64_t;
namespace UIViewAnimationOption {
inline constexpr UIViewAnimationOptions layoutSubviews = 1 << 0;
inline constexpr UIViewAnimationOptions allowUserInteraction = 1 << 1;
inline constexpr UIViewAnimationOptions beginFromCurrentState = 1 << 2;
inline constexpr UIViewAnimationOptions repeat = 1 << 3;
inline constexpr UIViewAnimationOptions autoreverse = 1 << 4;
inline constexpr UIViewAnimationOptions allowAnimatedContent = 1 << 7;
inline constexpr UIViewAnimationOptions curveEaseIn = 1 << 16;
inline constexpr UIViewAnimationOptions curveEaseOut = 2 << 16;
inline constexpr UIViewAnimationOptions curveLinear = 3 << 16;
inline constexpr UIViewAnimationOptions transitionFlipFromLeft = 1 << 20;
inline constexpr UIViewAnimationOptions transitionCrossDissolve = 5 << 20;
}  // namespace UIViewAnimationOption

class UIView : public UIResponder {
  IOS_RUNTIME_CLASS(UIView, UIResponder);

 public:
  ~UIView() override;

  // The backing layer; the same object for the life of the view.
  [[nodiscard]] const std::shared_ptr<CALayer>& layer() const { return layer_; }

  // ---- Geometry (views onto the layer) -------------------------------------------
  [[nodiscard]] virtual CGRect frame() const;
  virtual void setFrame(CGRect frame);
  [[nodiscard]] CGRect bounds() const { return layer_->bounds(); }
  virtual void setBounds(CGRect bounds);
  [[nodiscard]] CGPoint center() const { return layer_->position(); }
  void setCenter(CGPoint center) { layer_->setPosition(center); }
  [[nodiscard]] CGAffineTransform transform() const { return layer_->affineTransform(); }
  void setTransform(const CGAffineTransform& transform) { layer_->setAffineTransform(transform); }

  // Converts a point in this view's bounds space to `view`'s (null: the root's
  // superview-less space), and back.
  [[nodiscard]] CGPoint convert(CGPoint point, const UIView* to) const;
  [[nodiscard]] CGPoint convertFrom(CGPoint point, const UIView* from) const;
  // convert(_:to:) for a rectangle: the smallest upright rectangle holding the four
  // converted corners (larger than `rect` when the views are rotated against each other);
  // the null rectangle stays null.
  [[nodiscard]] CGRect convert(CGRect rect, const UIView* to) const;

  // ---- Appearance ----------------------------------------------------------------
  [[nodiscard]] CGFloat alpha() const { return static_cast<CGFloat>(layer_->opacity()); }
  void setAlpha(CGFloat alpha) { layer_->setOpacity(static_cast<float>(alpha)); }
  [[nodiscard]] bool isHidden() const { return layer_->isHidden(); }
  void setHidden(bool hidden) { layer_->setHidden(hidden); }
  [[nodiscard]] bool clipsToBounds() const { return layer_->masksToBounds(); }
  void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
  [[nodiscard]] bool isOpaque() const { return layer_->isOpaque(); }
  void setOpaque(bool opaque) { layer_->setOpaque(opaque); }
  [[nodiscard]] std::optional<UIColor> backgroundColor() const;
  void setBackgroundColor(std::optional<UIColor> color);
  [[nodiscard]] bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  virtual void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  [[nodiscard]] std::int64_t tag() const { return tag_; }
  void setTag(std::int64_t tag) { tag_ = tag; }
  [[nodiscard]] UIViewAutoresizing autoresizingMask() const { return autoresizingMask_; }
  void setAutoresizingMask(UIViewAutoresizing mask) { autoresizingMask_ = mask; }
  [[nodiscard]] bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
  void setTranslatesAutoresizingMaskIntoConstraints(bool translates);

  // ---- Hierarchy -----------------------------------------------------------------
  [[nodiscard]] std::shared_ptr<UIView> superview() const {
    return superview_ == nullptr ? nullptr : std::static_pointer_cast<UIView>(superview_->weak_from_this().lock());
  }
  // The subviews back to front (a copy: changing the tree does not change it).
  [[nodiscard]] std::vector<std::shared_ptr<UIView>> subviews() const { return {subviews_.begin(), subviews_.end()}; }
  // The window the view is in, or null.
  [[nodiscard]] std::shared_ptr<UIWindow> window() const;
  // Adds `view` on top of the subviews, taking it from its old superview first; its
  // layer goes on top of this view's sublayers. A view cannot be added to itself or to
  // one of its descendants (nothing happens).
  void addSubview(const std::shared_ptr<UIView>& view);
  // Inserts `view` at `index` of the subviews (clamped to the count).
  void insertSubview(const std::shared_ptr<UIView>& view, std::size_t index);
  // Takes the view (and its layer) out of its superview; nothing without one. Taking
  // every subview out in order, from the front or from the back, costs time in
  // proportion to their number; to take many out from the middle, see
  // uikit_internal::removeEachFromSuperview().
  void removeFromSuperview();
  void bringSubviewToFront(const std::shared_ptr<UIView>& view);
  // Whether this view is `view` or lies below it.
  [[nodiscard]] bool isDescendant(const UIView& of) const;
  // This view or the first descendant (depth first) whose tag is `tag`.
  [[nodiscard]] std::shared_ptr<UIView> viewWithTag(std::int64_t tag);

  // ---- Gesture recognisers -------------------------------------------------------
  // The recognisers in the order added; nothing when there are none.
  [[nodiscard]] std::optional<std::vector<std::shared_ptr<UIGestureRecognizer>>> gestureRecognizers() const;
  // Adds `recognizer` (taking it from another view first); the view keeps it.
  void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
  void removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);

  // ---- Hit-testing ---------------------------------------------------------------
  // Whether `point` (bounds space) lies inside the bounds.
  [[nodiscard]] virtual bool pointInside(CGPoint point) const;
  // The deepest visible, interactive descendant (or this view) containing `point`
  // (bounds space), front to back; null when none.
  [[nodiscard]] std::shared_ptr<UIView> hitTest(CGPoint point);

  // ---- Auto Layout (NSLayoutConstraint.cpp) --------------------------------------
  [[nodiscard]] NSLayoutXAxisAnchor leftAnchor() const;
  [[nodiscard]] NSLayoutXAxisAnchor rightAnchor() const;
  [[nodiscard]] NSLayoutXAxisAnchor leadingAnchor() const;
  [[nodiscard]] NSLayoutXAxisAnchor trailingAnchor() const;
  [[nodiscard]] NSLayoutXAxisAnchor centerXAnchor() const;
  [[nodiscard]] NSLayoutYAxisAnchor topAnchor() const;
  [[nodiscard]] NSLayoutYAxisAnchor bottomAnchor() const;
  [[nodiscard]] NSLayoutYAxisAnchor centerYAnchor() const;
  [[nodiscard]] NSLayoutDimension widthAnchor() const;
  [[nodiscard]] NSLayoutDimension heightAnchor() const;
  // The constraints installed on this view, in the order installed.
  [[nodiscard]] std::vector<NSLayoutConstraintRef> constraints() const;
  // Installs and activates each constraint on this view, which must contain its views
  // (otherwise raises "NSGenericException").
  void addConstraint(const NSLayoutConstraintRef& constraint);
  void addConstraints(const std::vector<NSLayoutConstraintRef>& constraints);
  // Uninstalls (deactivates) each constraint installed on this view; others are left
  // alone. The rest keep their order. Each removal takes constant time on average, so
  // removing all of a view's constraints, in any order, costs time in proportion to
  // their number.
  void removeConstraint(const NSLayoutConstraintRef& constraint);
  void removeConstraints(const std::vector<NSLayoutConstraintRef>& constraints);

  // ---- Editing, layout -----------------------------------------------------------
  // Makes the first responder in this view's subtree resign; answers whether one did.
  // `force` is accepted (nothing can refuse here).
  bool endEditing(bool force);
  // Marks the view as needing layout.
  void setNeedsLayout() { needsLayout_ = true; }
  [[nodiscard]] bool needsLayout() const { return needsLayout_; }
  // Lays out this view's subtree now: solves the active constraints installed in it
  // into frames (unless nothing they depend on has changed since the last pass from
  // this view), then calls layoutSubviews() on every view that needs layout, parents
  // before children.
  void layoutIfNeeded();
  // Where subclasses place their subviews; does nothing here.
  virtual void layoutSubviews() {}

  // ---- Animations (UIViewAnimation.cpp) ------------------------------------------
  // UIView.animate(withDuration:delay:options:animations:completion:)
  static void animate(double duration, double delay, UIViewAnimationOptions options,
                      const std::function<void()>& animations, std::function<void(bool)> completion = {});
  // UIView.animate(withDuration:animations:completion:)
  static void animate(double duration, const std::function<void()>& animations,
                      std::function<void(bool)> completion = {});
  // UIView.animate(withDuration:delay:usingSpringWithDamping:initialSpringVelocity:
  // options:animations:completion:)
  static void animate(double duration, double delay, CGFloat dampingRatio, CGFloat velocity,
                      UIViewAnimationOptions options, const std::function<void()>& animations,
                      std::function<void(bool)> completion = {});
  // UIView.transition(with:duration:options:animations:completion:)
  static void transition(const std::shared_ptr<UIView>& with, double duration, UIViewAnimationOptions options,
                         const std::function<void()>& animations, std::function<void(bool)> completion = {});

 protected:
  explicit UIView(CGRect frame = CGRect());
  // For subclasses backed by another kind of layer.
  UIView(CGRect frame, std::shared_ptr<CALayer> layer);

 private:
  friend class UIGestureRecognizer;
  friend class NSLayoutConstraint;
  friend void uikit_internal::removeEachFromSuperview(const std::vector<std::shared_ptr<UIView>>& views);

  void detachSubview(const UIView* view);
  void layoutSubtree();

  // What hit-testing and layout passes read of every view they pass come first.
  std::shared_ptr<CALayer> layer_;
  bool userInteractionEnabled_ = true;
  bool needsLayout_ = true;
  bool translatesMask_ = true;
  // The superview, which clears it when it lets the view go or is destroyed.
  UIView* superview_ = nullptr;
  std::deque<std::shared_ptr<UIView>> subviews_;
  std::deque<std::shared_ptr<UIGestureRecognizer>> recognizers_;
  // The installed constraints in order, with empty slots where constraints were removed
  // (each constraint knows its slot); squeezed out once they are half the list.
  std::vector<NSLayoutConstraintRef> constraints_;
  std::size_t removedConstraintSlots_ = 0;
  // What the last layout pass from this view solved; made on the first pass.
  std::unique_ptr<uikit_internal::LayoutCache> layoutCache_;
  std::int64_t tag_ = 0;
  UIViewAutoresizing autoresizingMask_ = 0;
};

// UIWindow
//
// The root of a view tree shown on the screen; opaque by default.
class UIWindow : public UIView {
  IOS_RUNTIME_CLASS(UIWindow, UIView);

 public:
  // The controller whose view fills the window, or null.
  [[nodiscard]] std::shared_ptr<UIViewController> rootViewController() const { return rootViewController_; }
  // Sets the root controller: its view (loaded now) replaces the old root's view and
  // takes the window's bounds.
  void setRootViewController(std::shared_ptr<UIViewController> controller);
  // Makes this the application's key window and shows it.
  void makeKeyAndVisible();
  // Whether this is the application's key window.
  [[nodiscard]] bool isKeyWindow() const;

 protected:
  explicit UIWindow(CGRect frame = CGRect());

 private:
  std::shared_ptr<UIViewController> rootViewController_;
};

}  // namespace ios
