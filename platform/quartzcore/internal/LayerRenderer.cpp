// Drawing a layer tree into a CGContext with cairo: the one place quartzcore reaches
// into the context's cairo state.
#include <algorithm>
#include <cmath>

#include "platform/coregraphics/internal/Cairo.h"
#include "platform/coregraphics/internal/ContextState.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/quartzcore/CALayer.h"

namespace ios {

struct LayerRenderer {
  CGContext& context;
  cg_internal::ContextState& state;
  cairo_t* cr;

  static void roundedRect(cairo_t* cr, CGRect r, CGFloat radius) {
    r = r.standardized();
    radius = std::clamp(radius, 0.0, std::min(r.size.width, r.size.height) / 2);
    if (radius <= 0) {
      cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
      return;
    }
    const CGFloat x1 = r.origin.x, y1 = r.origin.y, x2 = r.origin.x + r.size.width, y2 = r.origin.y + r.size.height;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x2 - radius, y1 + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x2 - radius, y2 - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x1 + radius, y2 - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x1 + radius, y1 + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
  }

  // Moves the user space from the superlayer's bounds space into `layer`'s frame.
  void enterSublayer(const CALayer& layer) {
    const CGPoint position = layer.position();
    cairo_translate(cr, position.x, position.y);
    const CGAffineTransform t = layer.affineTransform();
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_matrix_t check = m;
    if (cairo_matrix_invert(&check) == CAIRO_STATUS_SUCCESS) cairo_transform(cr, &m);
    const CGSize size = layer.bounds().size;
    cairo_translate(cr, -layer.anchorPoint().x * size.width, -layer.anchorPoint().y * size.height);
  }

  void clipToMask(const CALayer& mask) {
    cairo_save(cr);
    ScopeExit restorePlacement([this] { cairo_restore(cr); });
    enterSublayer(mask);
    cairo_translate(cr, -mask.bounds().origin.x, -mask.bounds().origin.y);
    cairo_new_path(cr);
    const auto* shape = dynamic_cast<const CAShapeLayer*>(&mask);
    if (shape != nullptr && shape->path) {
      context.addPath(*shape->path);
    } else {
      const CGRect b = mask.bounds();
      cairo_rectangle(cr, b.origin.x, b.origin.y, b.size.width, b.size.height);
    }
    // The clip survives the restore of the placement only if taken in device space.
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_matrix_t placed;
    cairo_get_matrix(cr, &placed);
    restorePlacement.release();
    cairo_restore(cr);
    cairo_matrix_t current;
    cairo_get_matrix(cr, &current);
    cairo_set_matrix(cr, &placed);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_set_matrix(cr, &current);
    cairo_path_destroy(path);
    cairo_clip(cr);
  }

  void render(const CALayer& layer) {
    if (layer.isHidden() || !(layer.opacity() > 0)) return;
    context.saveGState();
    const ScopeExit restore([this] { context.restoreGState(); });
    const bool group = layer.opacity() < 1;
    if (group) cairo_push_group(cr);
    // A drawing that fails midway drops the group (and so the half-drawn layer).
    ScopeExit dropGroup([this, group] {
      if (group) cairo_pattern_destroy(cairo_pop_group(cr));
    });
    const CGRect b = layer.bounds();
    cairo_translate(cr, -b.origin.x, -b.origin.y);
    if (layer.mask() != nullptr) clipToMask(*layer.mask());
    if (layer.masksToBounds()) {
      cairo_new_path(cr);
      roundedRect(cr, b, layer.cornerRadius());
      cairo_clip(cr);
    }
    if (const auto& background = layer.backgroundColor()) {
      state.paint([&](cairo_t* c) {
        if (!state.setSourceColor(*background)) return;
        cairo_new_path(c);
        roundedRect(c, b, layer.cornerRadius());
        cairo_fill(c);
      });
    }
    if (const CGImageRef& image = layer.contents(); image != nullptr && image->width() > 0 && image->height() > 0) {
      cairo_matrix_t imageToUser;
      cairo_matrix_init(&imageToUser, b.size.width / static_cast<double>(image->width()), 0, 0,
                        b.size.height / static_cast<double>(image->height()), b.origin.x, b.origin.y);
      state.paint([&](cairo_t* c) {
        cg_internal::drawImage(c, *image, imageToUser, state.g.alpha, state.g.quality);
      });
    }
    layer.drawOwnContent(context);
    if (auto subs = layer.sublayers()) {
      for (const auto& sub : *subs) {
        cairo_save(cr);
        const ScopeExit leave([this] { cairo_restore(cr); });
        enterSublayer(*sub);
        render(*sub);
      }
    }
    if (const auto& border = layer.borderColor(); border && layer.borderWidth() > 0) {
      const CGFloat w = layer.borderWidth();
      state.paint([&](cairo_t* c) {
        if (!state.setSourceColor(*border)) return;
        cairo_new_path(c);
        roundedRect(c, b.insetBy(w / 2, w / 2), std::max(0.0, layer.cornerRadius() - w / 2));
        cairo_set_line_width(c, w);
        cairo_stroke(c);
      });
    }
    if (group) {
      dropGroup.release();
      cairo_pop_group_to_source(cr);
      cairo_paint_with_alpha(cr, static_cast<double>(layer.opacity()));
    }
  }
};

void CALayer::render(const CGContextRef& context) const {
  if (context == nullptr) return;
  cg_internal::ContextState& state = context->state();
  LayerRenderer renderer{*context, state, state.cr};
  renderer.render(*this);
  state.sync();
}

void CAShapeLayer::drawOwnContent(CGContext& context) const {
  if (!path) return;
  if (fillColor) {
    context.saveGState();
    const ScopeExit restore([&context] { context.restoreGState(); });
    context.setFillColor(*fillColor);
    context.beginPath();
    context.addPath(*path);
    context.fillPath();
  }
  if (strokeColor && lineWidth > 0) {
    context.saveGState();
    const ScopeExit restore([&context] { context.restoreGState(); });
    context.setStrokeColor(*strokeColor);
    context.setLineWidth(lineWidth);
    context.beginPath();
    context.addPath(*path);
    context.strokePath();
  }
}

}  // namespace ios
