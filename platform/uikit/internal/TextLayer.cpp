#include "platform/uikit/internal/TextLayer.h"

#include "platform/coregraphics/internal/ContextState.h"

namespace ios::uikit_internal {

IOS_DEFINE_RUNTIME_CLASS(TextLayer, "_UITextLayer", nullptr)

void TextLayer::drawOwnContent(CGContext& context) const {
  if (!drawer_) return;
  const CGRect b = bounds();
  context.state().paint([this, b](cairo_t* cr) { drawer_(cr, b); });
}

std::shared_ptr<CALayer> makeTextLayer() { return TextLayer::make(); }

void setTextDrawer(CALayer& layer, TextDrawer drawer) { static_cast<TextLayer&>(layer).setDrawer(std::move(drawer)); }

}  // namespace ios::uikit_internal
