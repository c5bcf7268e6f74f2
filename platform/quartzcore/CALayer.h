// File: platform/quartzcore/CALayer.h
//
// Layers: the geometry store behind every view (bounds, position, anchor point, 3-D
// transform), their styling (background, corner radius, border, shadow, opacity, mask),
// the layer tree, explicit animations by key, and drawing the tree into a context.
//
//   auto layer = ios::CALayer::make();
//   layer->setBounds({{0, 0}, {100, 40}});
//   layer->setPosition({50, 20});
//   layer->setCornerRadius(8);
//   layer->render(context);
//
// Fidelity: the platform's documented defaults are kept (anchor point (0.5, 0.5),
// opacity 1, border and shadow colour opaque black, shadow offset (0, -3), shadow radius
// 3, shadow opacity 0 in single precision). `sublayers()` answers nothing when there are
// none. The frame is derived: with the identity transform it is (position - anchor x
// size, size); otherwise the box around the transformed corners. Setting the frame keeps
// the transform and sets the bounds size and the position so that the frame reads back
// as set (when the transform can map some size onto it; otherwise the bounds size is
// kept). Changes inside a view
// animation are reported to the view animation recorder; standalone layers make no
// implicit animations. render(in:) draws backgrounds, contents images, the text of
// the views that hold text (labels, text fields, text views), borders, corner radii,
// masksToBounds clipping, shape masks, opacity, hidden layers and the affine part of
// transforms; shadows, 3-D perspective and filters are not drawn.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CATransform3D.h"
#include "platform/runtime/NSObject.h"

namespace ios {

class CALayer;

namespace ca_internal {
// Sends removeFromSuperlayer() to each of `layers` in order, in one pass over each
// superlayer's sublayers: the same end state as the loop, in time proportional to the
// layers and their superlayers' sublayers rather than to their product. The caller
// keeps the layers alive until it returns.
void removeEachFromSuperlayer(std::span<CALayer* const> layers);
// Called with each layer property change while someone observes them (see LayerObserver).
using PropertyChangedCall = void (*)(CALayer& layer, const char* key, const CAPropertyValue& from,
                                     const CAPropertyValue& to);
// The current property observer; null while nobody observes, which every setter checks.
extern std::atomic<PropertyChangedCall> propertyObserver;
}  // namespace ca_internal

class CALayer : public NSObject {
  IOS_RUNTIME_CLASS(CALayer, NSObject);

 public:
  ~CALayer() override;

  // ---- Geometry ----------------------------------------------------------------
  [[nodiscard]] CGRect bounds() const { return bounds_; }
  void setBounds(CGRect bounds) {
    willChange("bounds", bounds_, bounds);
    bounds_ = bounds;
  }
  [[nodiscard]] CGPoint position() const { return position_; }
  void setPosition(CGPoint position) {
    willChange("position", position_, position);
    position_ = position;
  }
  [[nodiscard]] CGPoint anchorPoint() const { return anchorPoint_; }
  void setAnchorPoint(CGPoint anchorPoint) {
    willChange("anchorPoint", anchorPoint_, anchorPoint);
    anchorPoint_ = anchorPoint;
  }
  [[nodiscard]] const CATransform3D& transform() const { return transform_; }
  void setTransform(const CATransform3D& transform) {
    willChange("transform", transform_, transform);
    transform_ = transform;
    transformIsIdentity_ = CATransform3DIsIdentity(transform);
  }
  // Whether the transform is the identity (kept with the transform, so that geometry
  // conversions need not compare all sixteen entries).
  [[nodiscard]] bool hasIdentityTransform() const { return transformIsIdentity_; }
  // The affine part of the transform; setting it replaces the whole transform.
  [[nodiscard]] CGAffineTransform affineTransform() const;
  void setAffineTransform(const CGAffineTransform& transform);
  // The rectangle the layer covers in its superlayer's space (see the note above).
  [[nodiscard]] CGRect frame() const;
  void setFrame(CGRect frame);

  // ---- Appearance ----------------------------------------------------------------
  [[nodiscard]] const std::optional<CGColor>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const std::optional<CGColor>& color) {
    willChange("backgroundColor", backgroundColor_, color);
    assignColor(backgroundColor_, color);
  }
  [[nodiscard]] CGFloat cornerRadius() const { return cornerRadius_; }
  void setCornerRadius(CGFloat radius) {
    willChange("cornerRadius", cornerRadius_, radius);
    cornerRadius_ = radius;
  }
  [[nodiscard]] bool masksToBounds() const { return masksToBounds_; }
  void setMasksToBounds(bool masks) { masksToBounds_ = masks; }
  [[nodiscard]] CGFloat borderWidth() const { return borderWidth_; }
  void setBorderWidth(CGFloat width) {
    willChange("borderWidth", borderWidth_, width);
    borderWidth_ = width;
  }
  [[nodiscard]] const std::optional<CGColor>& borderColor() const { return borderColor_; }
  void setBorderColor(const std::optional<CGColor>& color) {
    willChange("borderColor", borderColor_, color);
    assignColor(borderColor_, color);
  }
  [[nodiscard]] float opacity() const { return opacity_; }
  void setOpacity(float opacity) {
    willChange("opacity", static_cast<double>(opacity_), static_cast<double>(opacity));
    opacity_ = opacity;
  }
  [[nodiscard]] bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) {
    willChange("hidden", hidden_, hidden);
    hidden_ = hidden;
  }
  [[nodiscard]] bool isOpaque() const { return opaque_; }
  void setOpaque(bool opaque) { opaque_ = opaque; }

  // ---- Shadow --------------------------------------------------------------------
  [[nodiscard]] const std::optional<CGColor>& shadowColor() const { return shadowColor_; }
  void setShadowColor(const std::optional<CGColor>& color) {
    willChange("shadowColor", shadowColor_, color);
    assignColor(shadowColor_, color);
  }
  [[nodiscard]] CGSize shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(CGSize offset) {
    willChange("shadowOffset", shadowOffset_, offset);
    shadowOffset_ = offset;
  }
  [[nodiscard]] CGFloat shadowRadius() const { return shadowRadius_; }
  void setShadowRadius(CGFloat radius) {
    willChange("shadowRadius", shadowRadius_, radius);
    shadowRadius_ = radius;
  }
  [[nodiscard]] float shadowOpacity() const { return shadowOpacity_; }
  void setShadowOpacity(float opacity) {
    willChange("shadowOpacity", static_cast<double>(shadowOpacity_), static_cast<double>(opacity));
    shadowOpacity_ = opacity;
  }
  [[nodiscard]] const std::optional<CGPath>& shadowPath() const { return shadowPath_; }
  void setShadowPath(std::optional<CGPath> path) { shadowPath_ = std::move(path); }

  // ---- Content, mask, name, actions ----------------------------------------------
  // The image the layer shows, stretched to its bounds; null for none.
  [[nodiscard]] const CGImageRef& contents() const { return contents_; }
  void setContents(CGImageRef contents) { contents_ = std::move(contents); }
  // A layer whose shape (a CAShapeLayer's path) or bounds limits what this layer shows.
  [[nodiscard]] const std::shared_ptr<CALayer>& mask() const { return mask_; }
  void setMask(std::shared_ptr<CALayer> mask) { mask_ = std::move(mask); }
  [[nodiscard]] const std::optional<std::string>& name() const { return name_; }
  void setName(std::optional<std::string> name) { name_ = std::move(name); }
  // The actions by key; a null action (NSNull) turns the key's implicit animation off.
  using Actions = std::map<std::string, std::shared_ptr<NSObject>>;
  [[nodiscard]] const std::optional<Actions>& actions() const { return actions_; }
  void setActions(std::optional<Actions> actions) { actions_ = std::move(actions); }

  // ---- Tree ----------------------------------------------------------------------
  // The sublayers back to front; nothing when there are none.
  [[nodiscard]] std::optional<std::vector<std::shared_ptr<CALayer>>> sublayers() const;
  [[nodiscard]] std::shared_ptr<CALayer> superlayer() const {
    return superlayer_ == nullptr ? nullptr : std::static_pointer_cast<CALayer>(superlayer_->weak_from_this().lock());
  }
  // Appends `layer` on top (taking it from its old superlayer first).
  void addSublayer(const std::shared_ptr<CALayer>& layer);
  // Inserts `layer` at `index` (clamped to the count).
  void insertSublayer(const std::shared_ptr<CALayer>& layer, std::size_t index);
  // insertSublayer(_:below:): inserts `layer` just below `sibling`, or on top when
  // `sibling` is null or not a sublayer.
  void insertSublayerBelow(const std::shared_ptr<CALayer>& layer, const CALayer* sibling);
  // Takes the layer out of its superlayer; nothing when it has none.
  void removeFromSuperlayer();

  // ---- Animations ----------------------------------------------------------------
  // Adds a copy of `animation` under `key` (nothing: a key of its own), replacing an
  // animation with the same key. The model values are not changed.
  void add(const std::shared_ptr<CAAnimation>& animation, const std::optional<std::string>& key);
  // The animations in the order added, with the keys they were added under.
  [[nodiscard]] std::vector<std::pair<std::optional<std::string>, std::shared_ptr<CAAnimation>>> animations() const {
    return animations_;
  }
  // The named keys of the animations (unnamed ones are not listed).
  [[nodiscard]] std::vector<std::string> animationKeys() const;
  // The animation added under `key`, or null.
  [[nodiscard]] std::shared_ptr<CAAnimation> animation(const std::string& forKey) const;
  void removeAnimation(const std::string& forKey);
  // Removes every animation; view animations still running on the layer end unfinished.
  void removeAllAnimations();

  // ---- Drawing -------------------------------------------------------------------
  // Draws the layer and its sublayers into `context` in the layer's own bounds space
  // (its own position and transform are ignored); nothing for a null context.
  void render(const CGContextRef& context) const;

 protected:
  CALayer() = default;

  // Draws what a subclass adds over the background (a shape layer's path); the context
  // is in the layer's bounds space.
  virtual void drawOwnContent(CGContext& context) const;
  friend struct LayerRenderer;

 private:
  void detachSublayer(const CALayer* layer);
  // `field = value`, the colour and its presence copied apart: a caller's temporary
  // optional copied whole is read back wider than it was written, which stalls.
  static void assignColor(std::optional<CGColor>& field, const std::optional<CGColor>& value) {
    if (value) {
      field = *value;
    } else {
      field.reset();
    }
  }
  friend void ca_internal::removeEachFromSuperlayer(std::span<CALayer* const> layers);
  // Reports a change of `key` to the layer observer; the values are boxed only when
  // property changes are being observed.
  template <class T>
  void willChange(const char* key, const T& from, const T& to) {
    if (const auto observe = ca_internal::propertyObserver.load(std::memory_order_relaxed); observe != nullptr)
        [[unlikely]] {
      observe(*this, key, CAPropertyValue(from), CAPropertyValue(to));
    }
  }

  // What hit-testing and geometry conversions read of every layer they pass, together.
  CGRect bounds_;
  CGPoint position_;
  CGPoint anchorPoint_{0.5, 0.5};
  float opacity_ = 1;
  bool hidden_ = false;
  bool transformIsIdentity_ = true;
  bool masksToBounds_ = false;
  bool opaque_ = false;
  // The superlayer, which clears it when it lets the layer go or is destroyed.
  CALayer* superlayer_ = nullptr;
  CATransform3D transform_ = CATransform3DIdentity;
  std::optional<CGColor> backgroundColor_;
  CGFloat cornerRadius_ = 0;
  CGFloat borderWidth_ = 0;
  std::optional<CGColor> borderColor_ = CGColor(CGColorSpaceCreateDeviceGray(), {0, 1});
  std::optional<CGColor> shadowColor_ = CGColor(CGColorSpaceCreateDeviceGray(), {0, 1});
  CGSize shadowOffset_{0, -3};
  CGFloat shadowRadius_ = 3;
  float shadowOpacity_ = 0;
  std::optional<CGPath> shadowPath_;
  CGImageRef contents_;
  std::shared_ptr<CALayer> mask_;
  std::optional<std::string> name_;
  std::optional<Actions> actions_;
  std::deque<std::shared_ptr<CALayer>> sublayers_;
  std::vector<std::pair<std::optional<std::string>, std::shared_ptr<CAAnimation>>> animations_;
};

// CAShapeLayer
//
// A layer that fills (and optionally strokes) a path in its bounds space; as a mask it
// lets through what the path covers.
class CAShapeLayer : public CALayer {
  IOS_RUNTIME_CLASS(CAShapeLayer, CALayer);

 public:
  std::optional<CGPath> path;
  // Opaque black by default; nothing fills nothing.
  std::optional<CGColor> fillColor = CGColor(CGColorSpaceCreateDeviceGray(), {0, 1});
  std::optional<CGColor> strokeColor;
  CGFloat lineWidth = 1;

 protected:
  CAShapeLayer() = default;
  void drawOwnContent(CGContext& context) const override;
};

namespace ca_internal {

// What the view animation recorder learns from layers.
struct LayerObserver {
  // A property of `layer` changed from `from` to `to` (key as the platform names it).
  // Null while nobody needs property changes (outside view animation blocks), so that
  // setting a property then costs no more than the write.
  PropertyChangedCall propertyChanged = nullptr;
  // removeAllAnimations() ran on `layer`.
  void (*animationsRemoved)(CALayer& layer) = nullptr;
};
void setLayerObserver(LayerObserver observer);

}  // namespace ca_internal
}  // namespace ios
