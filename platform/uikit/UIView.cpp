#include "platform/uikit/UIView.h"

#include <algorithm>

#include "platform/quartzcore/internal/ChildList.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/internal/LayoutSolver.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(UIView, "UIView", [](Class cls) {
  // A view's next responder is its superview.
  class_addMethod(cls, UIResponder::nextResponderSelector(),
                  imp([](UIView& self, SEL) -> id { return self.superview(); }));
})
IOS_DEFINE_RUNTIME_CLASS(UIWindow, "UIWindow", nullptr)

UIView::UIView(CGRect frame) : UIView(frame, CALayer::make()) {}

UIView::UIView(CGRect frame, std::shared_ptr<CALayer> layer) : layer_(std::move(layer)) {
  layer_->setOpaque(true);
  layer_->setFrame(frame);
}

UIView::~UIView() {
  uikit_internal::noteLayoutInputsChanged();
  for (auto& sub : subviews_) sub->superview_ = nullptr;
  for (auto& recognizer : recognizers_) recognizer->view_.reset();
}

CGRect UIView::frame() const { return layer_->frame(); }

void UIView::setFrame(CGRect frame) {
  layer_->setFrame(frame);
  setNeedsLayout();
}

void UIView::setBounds(CGRect bounds) {
  if (bounds.size != layer_->bounds().size) setNeedsLayout();
  layer_->setBounds(bounds);
}

std::optional<UIColor> UIView::backgroundColor() const {
  const auto& color = layer_->backgroundColor();
  if (!color) return std::nullopt;
  return UIColor::colorWithCGColor(*color);
}

void UIView::setBackgroundColor(std::optional<UIColor> color) {
  layer_->setBackgroundColor(color ? std::optional<CGColor>(color->cgColor()) : std::nullopt);
}

namespace {

// Maps a point from a view's bounds space to its superview's bounds space.
CGPoint toSuperview(const UIView& view, CGPoint p) {
  const CALayer& layer = *view.layer();
  const CGRect b = layer.bounds();
  const CGPoint local(p.x - b.origin.x - layer.anchorPoint().x * b.size.width,
                      p.y - b.origin.y - layer.anchorPoint().y * b.size.height);
  const CGPoint moved = CATransform3DApplyToPoint(layer.transform(), local);
  return CGPoint(moved.x + layer.position().x, moved.y + layer.position().y);
}

// The inverse of toSuperview().
CGPoint fromSuperview(const UIView& view, CGPoint p) {
  const CALayer& layer = *view.layer();
  const CGRect b = layer.bounds();
  const CGPoint local(p.x - layer.position().x, p.y - layer.position().y);
  const CGPoint back =
      layer.hasIdentityTransform() ? local : CATransform3DApplyToPoint(CATransform3DInvert(layer.transform()), local);
  return CGPoint(back.x + b.origin.x + layer.anchorPoint().x * b.size.width,
                 back.y + b.origin.y + layer.anchorPoint().y * b.size.height);
}

// The chain from `view` up to its root, `view` first.
std::vector<const UIView*> chain(const UIView* view) {
  std::vector<const UIView*> views;
  std::shared_ptr<UIView> keep;
  for (const UIView* v = view; v != nullptr;) {
    views.push_back(v);
    keep = v->superview();
    v = keep.get();
  }
  return views;
}

}  // namespace

CGPoint UIView::convert(CGPoint point, const UIView* to) const {
  // Up to the root, then down to `to`.
  for (const UIView* v : chain(this)) {
    if (v == to) return point;
    point = toSuperview(*v, point);
  }
  if (to == nullptr) return point;
  const std::vector<const UIView*> down = chain(to);
  for (auto it = down.rbegin(); it != down.rend(); ++it) point = fromSuperview(**it, point);
  return point;
}

CGRect UIView::convert(CGRect rect, const UIView* to) const {
  if (rect.isNull()) return rect;
  const CGRect r = rect.standardized();
  return boundingRect({convert(CGPoint(r.minX(), r.minY()), to), convert(CGPoint(r.maxX(), r.minY()), to),
                       convert(CGPoint(r.minX(), r.maxY()), to), convert(CGPoint(r.maxX(), r.maxY()), to)});
}

CGPoint UIView::convertFrom(CGPoint point, const UIView* from) const {
  if (from == nullptr) {
    const std::vector<const UIView*> down = chain(this);
    for (auto it = down.rbegin(); it != down.rend(); ++it) point = fromSuperview(**it, point);
    return point;
  }
  return from->convert(point, this);
}

std::shared_ptr<UIWindow> UIView::window() const {
  for (std::shared_ptr<UIView> v = std::const_pointer_cast<UIView>(
           std::static_pointer_cast<const UIView>(shared_from_this()));
       v != nullptr; v = v->superview()) {
    if (auto window = std::dynamic_pointer_cast<UIWindow>(v)) return window;
  }
  return nullptr;
}

bool UIView::isDescendant(const UIView& of) const {
  for (const UIView* v = this; v != nullptr; v = v->superview_) {
    if (v == &of) return true;
  }
  return false;
}

void UIView::detachSubview(const UIView* view) {
  ca_internal::eraseChild(subviews_, view);
}

void UIView::insertSubview(const std::shared_ptr<UIView>& view, std::size_t index) {
  if (view == nullptr || isDescendant(*view)) return;
  // Held while it moves: its old superview may hold the last reference (and `view` may
  // be that very reference). A view without a superview is held by the caller.
  std::shared_ptr<UIView> keep;
  if (UIView* old = view->superview_) {
    keep = view;
    old->detachSubview(view.get());
    view->layer_->removeFromSuperlayer();
  }
  UIView& moving = *view;
  index = std::min(index, subviews_.size());
  // Appended views put their layer on top; inserted ones just below the layer of the
  // subview they go in front of, so that standalone sublayers keep their places.
  const CALayer* above = index < subviews_.size() ? subviews_[index]->layer_.get() : nullptr;
  ca_internal::insertChild(subviews_, index, keep != nullptr ? std::move(keep) : view);
  moving.superview_ = this;
  layer_->insertSublayerBelow(moving.layer_, above);
  uikit_internal::noteLayoutInputsChanged();
  setNeedsLayout();
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
  if (view == nullptr) return;
  if (view->superview_ == this) {
    bringSubviewToFront(view);
    return;
  }
  insertSubview(view, subviews_.size());
}

void UIView::bringSubviewToFront(const std::shared_ptr<UIView>& view) {
  if (view == nullptr || view->superview_ != this) return;
  const std::shared_ptr<UIView> keep = view;
  detachSubview(view.get());
  view->layer_->removeFromSuperlayer();
  subviews_.push_back(keep);
  layer_->addSublayer(keep->layer_);
  uikit_internal::noteLayoutInputsChanged();
}

void UIView::removeFromSuperview() {
  UIView* parent = superview_;
  if (parent == nullptr) return;
  const std::shared_ptr<NSObject> keep = shared_from_this();
  parent->detachSubview(this);
  superview_ = nullptr;
  layer_->removeFromSuperlayer();
  uikit_internal::noteLayoutInputsChanged();
  parent->setNeedsLayout();
}

void uikit_internal::removeEachFromSuperview(const std::vector<std::shared_ptr<UIView>>& views) {
  // The views and layers that a loop of removeFromSuperview() would take out: those
  // with a superview, each once.
  std::vector<UIView*> leaving;
  std::vector<CALayer*> layers;
  leaving.reserve(views.size());
  layers.reserve(views.size());
  for (const auto& view : views) {
    if (view == nullptr || view->superview_ == nullptr) continue;
    leaving.push_back(view.get());
    layers.push_back(view->layer_.get());
  }
  if (leaving.empty()) return;
  const std::vector<UIView*> parents = ca_internal::detachEach<UIView>(
      std::span<UIView* const>(leaving), [](UIView& view) -> UIView*& { return view.superview_; },
      [](UIView& parent) -> ca_internal::ChildList<UIView>& { return parent.subviews_; });
  ca_internal::removeEachFromSuperlayer(layers);
  uikit_internal::noteLayoutInputsChanged();
  for (UIView* parent : parents) parent->setNeedsLayout();
}

std::shared_ptr<UIView> UIView::viewWithTag(std::int64_t tag) {
  if (tag_ == tag) return std::static_pointer_cast<UIView>(shared_from_this());
  for (auto& sub : subviews_) {
    if (auto found = sub->viewWithTag(tag)) return found;
  }
  return nullptr;
}

std::optional<std::vector<std::shared_ptr<UIGestureRecognizer>>> UIView::gestureRecognizers() const {
  if (recognizers_.empty()) return std::nullopt;
  return std::vector<std::shared_ptr<UIGestureRecognizer>>(recognizers_.begin(), recognizers_.end());
}

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
  if (recognizer == nullptr) return;
  auto owner = recognizer->view();
  if (owner.get() == this) return;
  if (owner != nullptr) owner->removeGestureRecognizer(recognizer);
  recognizers_.push_back(recognizer);
  recognizer->view_ = std::static_pointer_cast<UIView>(shared_from_this());
}

void UIView::removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
  if (recognizer == nullptr || recognizer->view().get() != this) return;
  recognizer->view_.reset();
  ca_internal::eraseChild(recognizers_, recognizer.get());
}

bool UIView::pointInside(CGPoint point) const {
  const CGRect b = bounds();
  return point.x >= b.minX() && point.x < b.maxX() && point.y >= b.minY() && point.y < b.maxY();
}

std::shared_ptr<UIView> UIView::hitTest(CGPoint point) {
  if (isHidden() || !isUserInteractionEnabled() || alpha() < 0.01) return nullptr;
  if (!pointInside(point)) return nullptr;
  // Front to back by position, so that a pointInside() that changes the subviews
  // cannot send the search past the end.
  for (std::size_t i = subviews_.size(); i-- > 0;) {
    if (i >= subviews_.size()) continue;
    UIView& sub = *subviews_[i];
    if (auto hit = sub.hitTest(fromSuperview(sub, point))) return hit;
  }
  return std::static_pointer_cast<UIView>(shared_from_this());
}

bool UIView::endEditing(bool) {
  std::vector<std::shared_ptr<UIView>> queue{std::static_pointer_cast<UIView>(shared_from_this())};
  for (std::size_t i = 0; i < queue.size(); ++i) {
    if (queue[i]->isFirstResponder()) return queue[i]->resignFirstResponder();
    for (auto& sub : queue[i]->subviews_) queue.push_back(sub);
  }
  return false;
}

void UIView::layoutSubtree() {
  if (needsLayout_) {
    needsLayout_ = false;
    layoutSubviews();
  }
  // By position, so that subviews added or removed meanwhile cannot send the walk past
  // the end; each subview is held while it lays out, as its layoutSubviews() may take
  // it out of the tree.
  for (std::size_t i = 0; i < subviews_.size(); ++i) {
    UIView& sub = *subviews_[i];
    // A subview with nothing to lay out in its subtree runs no code: skip it unheld.
    if (!sub.needsLayout_ && sub.subviews_.empty()) continue;
    const std::shared_ptr<UIView> keep = subviews_[i];
    sub.layoutSubtree();
  }
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
  if (translates == translatesMask_) return;
  translatesMask_ = translates;
  uikit_internal::noteLayoutInputsChanged();
}

void UIView::layoutIfNeeded() {
  if (layoutCache_ == nullptr) layoutCache_ = std::make_unique<uikit_internal::LayoutCache>();
  uikit_internal::solveConstraints(*this, *layoutCache_);
  layoutSubtree();
}

UIWindow::UIWindow(CGRect frame) : UIView(frame) {}

}  // namespace ios
