// File: platform/uikit/UIView.h
//
// Views and windows: the view tree.
//
//   auto window = ios::UIWindow::make();
//   auto field = ios::UIView::make();
//   window->addSubview(field);
//   window->subviews();   // {field}
//
// Fidelity: kept are the tree rules: a view has at most one superview, adding it
// elsewhere moves it (to the front-most position), a view keeps its subviews in order
// and its superview weakly, and a view cannot be added to itself or to one of its own
// subviews. Geometry, layers, drawing, layout and events are not here yet.
#pragma once

#include <memory>
#include <vector>

#include "platform/uikit/UIResponder.h"

namespace ios {

class UIView : public UIResponder {
  IOS_RUNTIME_CLASS(UIView, UIResponder);

 public:
  // The subviews, back to front.
  [[nodiscard]] const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
  // The view this one is a subview of, or null.
  [[nodiscard]] std::shared_ptr<UIView> superview() const { return superview_.lock(); }

  // addSubview()
  //
  // Makes `view` the front-most subview, taking it out of its previous superview. Adding
  // a view to itself or to one of its own subviews stops the process.
  void addSubview(const std::shared_ptr<UIView>& view);
  // Takes the view out of its superview; nothing when it has none.
  void removeFromSuperview();

 protected:
  UIView() = default;

 private:
  std::vector<std::shared_ptr<UIView>> subviews_;
  std::weak_ptr<UIView> superview_;
};

class UIWindow : public UIView {
  IOS_RUNTIME_CLASS(UIWindow, UIView);

 protected:
  UIWindow() = default;
};

}  // namespace ios
