// File: platform/uikit/internal/TextLayer.h
//
// The layer behind views that show text (labels, text fields, text views): rendering
// the layer tree asks the view to draw its text over the layer's background.
#pragma once

#include <functional>
#include <memory>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/internal/Cairo.h"
#include "platform/quartzcore/CALayer.h"

namespace ios::uikit_internal {

// Draws a view's text into `cr`, whose user space is the layer's bounds space.
using TextDrawer = std::function<void(cairo_t* cr, CGRect bounds)>;

class TextLayer : public CALayer {
  IOS_RUNTIME_CLASS(TextLayer, CALayer);

 public:
  // The view's drawing; the view clears it when it goes, so a layer that outlives its
  // view draws no text.
  void setDrawer(TextDrawer drawer) { drawer_ = std::move(drawer); }

 protected:
  TextLayer() = default;
  void drawOwnContent(CGContext& context) const override;

 private:
  TextDrawer drawer_;
};

// A new text layer, drawing nothing until setTextDrawer() ties it to a view.
[[nodiscard]] std::shared_ptr<CALayer> makeTextLayer();
// Sets the drawing of `layer` (made by makeTextLayer()); an empty drawer unties it.
void setTextDrawer(CALayer& layer, TextDrawer drawer);

}  // namespace ios::uikit_internal
