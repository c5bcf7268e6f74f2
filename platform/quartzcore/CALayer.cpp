#include "platform/quartzcore/CALayer.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/quartzcore/internal/ChildList.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(CALayer, "CALayer", nullptr)
IOS_DEFINE_RUNTIME_CLASS(CAShapeLayer, "CAShapeLayer", nullptr)

namespace {

// Read on its own, like propertyObserver (layers may change off the main thread).
std::atomic<decltype(ca_internal::LayerObserver::animationsRemoved)> animationsObserver{nullptr};

}  // namespace

std::atomic<ca_internal::PropertyChangedCall> ca_internal::propertyObserver{nullptr};

namespace ca_internal {
void setLayerObserver(LayerObserver o) {
  propertyObserver.store(o.propertyChanged, std::memory_order_relaxed);
  animationsObserver.store(o.animationsRemoved, std::memory_order_relaxed);
}
}  // namespace ca_internal

CALayer::~CALayer() {
  // Sublayers outlive us only if someone else holds them; they no longer have a parent.
  for (auto& sub : sublayers_) sub->superlayer_ = nullptr;
}

CGAffineTransform CALayer::affineTransform() const { return CATransform3DGetAffineTransform(transform_); }

void CALayer::setAffineTransform(const CGAffineTransform& transform) {
  setTransform(CATransform3DMakeAffineTransform(transform));
}

CGRect CALayer::frame() const {
  const CGSize size = bounds_.size;
  const CGPoint origin(position_.x - anchorPoint_.x * size.width, position_.y - anchorPoint_.y * size.height);
  if (transformIsIdentity_) return CGRect(origin, size);
  // The box around the four corners, each taken relative to the anchor, transformed,
  // and placed at the position.
  const CGFloat ax = anchorPoint_.x * size.width;
  const CGFloat ay = anchorPoint_.y * size.height;
  const CGPoint corners[4] = {{-ax, -ay}, {size.width - ax, -ay}, {-ax, size.height - ay},
                              {size.width - ax, size.height - ay}};
  CGFloat x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
  for (const CGPoint& c : corners) {
    const CGPoint p = CATransform3DApplyToPoint(transform_, c);
    x1 = std::min(x1, p.x + position_.x);
    x2 = std::max(x2, p.x + position_.x);
    y1 = std::min(y1, p.y + position_.y);
    y2 = std::max(y2, p.y + position_.y);
  }
  return CGRect(x1, y1, x2 - x1, y2 - y1);
}

void CALayer::setFrame(CGRect frame) {
  const CGRect r = frame.standardized();
  if (transformIsIdentity_) {
    setBounds(CGRect(bounds_.origin, r.size));
    setPosition(CGPoint(r.origin.x + anchorPoint_.x * r.size.width, r.origin.y + anchorPoint_.y * r.size.height));
    return;
  }
  // With a transform, pick the bounds size whose transformed box has the frame's size
  // (kept when no such size exists), then move the position so that the box lands on
  // the frame's origin: reading the frame back gives what was set.
  const CGFloat a = std::fabs(transform_.m11), b = std::fabs(transform_.m12);
  const CGFloat c = std::fabs(transform_.m21), d = std::fabs(transform_.m22);
  const CGFloat determinant = a * d - b * c;
  CGSize size = bounds_.size;
  if (CATransform3DIsAffine(transform_) && determinant != 0) {
    const CGSize solved((d * r.size.width - c * r.size.height) / determinant,
                        (a * r.size.height - b * r.size.width) / determinant);
    if (solved.width >= 0 && solved.height >= 0) size = solved;
  }
  setBounds(CGRect(bounds_.origin, size));
  const CGRect placed = this->frame();
  setPosition(CGPoint(position_.x + r.origin.x - placed.origin.x, position_.y + r.origin.y - placed.origin.y));
}

std::optional<std::vector<std::shared_ptr<CALayer>>> CALayer::sublayers() const {
  if (sublayers_.empty()) return std::nullopt;
  return std::vector<std::shared_ptr<CALayer>>(sublayers_.begin(), sublayers_.end());
}

void CALayer::detachSublayer(const CALayer* layer) {
  ca_internal::eraseChild(sublayers_, layer);
}

void CALayer::insertSublayer(const std::shared_ptr<CALayer>& layer, std::size_t index) {
  if (layer == nullptr || layer.get() == this) return;
  // Keep the tree a tree: a layer cannot become a sublayer of its own descendant.
  for (const CALayer* up = superlayer_; up != nullptr; up = up->superlayer_) {
    if (up == layer.get()) return;
  }
  // Held while it moves: its old parent may hold the last reference (and `layer` may be
  // that very reference). A layer without a parent is held by the caller.
  std::shared_ptr<CALayer> keep;
  if (CALayer* old = layer->superlayer_) {
    keep = layer;
    // Moving within this layer too: the index counts the layers without it.
    old->detachSublayer(layer.get());
  }
  CALayer& moving = *layer;
  ca_internal::insertChild(sublayers_, index, keep != nullptr ? std::move(keep) : layer);
  moving.superlayer_ = this;
}

void CALayer::addSublayer(const std::shared_ptr<CALayer>& layer) { insertSublayer(layer, sublayers_.size() + 1); }

void CALayer::insertSublayerBelow(const std::shared_ptr<CALayer>& layer, const CALayer* sibling) {
  if (layer == nullptr || layer.get() == sibling) return;
  std::size_t index = sibling != nullptr ? ca_internal::indexOfChild(sublayers_, sibling) : ca_internal::kNotAChild;
  // A layer moved within this one leaves its place first, which moves the sibling down.
  if (index != ca_internal::kNotAChild && layer->superlayer_ == this &&
      ca_internal::indexOfChild(sublayers_, layer.get()) < index) {
    --index;
  }
  insertSublayer(layer, index == ca_internal::kNotAChild ? sublayers_.size() + 1 : index);
}

void CALayer::removeFromSuperlayer() {
  if (CALayer* parent = superlayer_) {
    const std::shared_ptr<NSObject> keep = shared_from_this();
    parent->detachSublayer(this);
    superlayer_ = nullptr;
  }
}

void ca_internal::removeEachFromSuperlayer(std::span<CALayer* const> layers) {
  detachEach<CALayer>(
      layers, [](CALayer& layer) -> CALayer*& { return layer.superlayer_; },
      [](CALayer& parent) -> ChildList<CALayer>& { return parent.sublayers_; });
}

void CALayer::add(const std::shared_ptr<CAAnimation>& animation, const std::optional<std::string>& key) {
  if (animation == nullptr) return;
  std::shared_ptr<CAAnimation> copy = animation->copy();
  if (key) std::erase_if(animations_, [&key](const auto& entry) { return entry.first == key; });
  animations_.emplace_back(key, copy);
  const double repeats = copy->repeatCount > 0 ? static_cast<double>(copy->repeatCount) : 1.0;
  ca_internal::noteAnimationAdded(copy->beginTime + copy->duration * repeats * (copy->autoreverses ? 2 : 1));
}

std::vector<std::string> CALayer::animationKeys() const {
  std::vector<std::string> keys;
  for (const auto& [key, animation] : animations_) {
    if (key) keys.push_back(*key);
  }
  return keys;
}

std::shared_ptr<CAAnimation> CALayer::animation(const std::string& forKey) const {
  for (const auto& [key, animation] : animations_) {
    if (key == forKey) return animation;
  }
  return nullptr;
}

void CALayer::removeAnimation(const std::string& forKey) {
  std::erase_if(animations_, [&forKey](const auto& entry) { return entry.first == forKey; });
}

void CALayer::removeAllAnimations() {
  animations_.clear();
  if (const auto observe = animationsObserver.load(std::memory_order_relaxed); observe != nullptr) observe(*this);
}

void CALayer::drawOwnContent(CGContext&) const {}

}  // namespace ios
