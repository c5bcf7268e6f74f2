// Bitmap contexts: creation, the bytes in the context's layout, the graphics state and
// the one path every drawing operation takes (paint()).
#include "platform/coregraphics/CGContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/coregraphics/internal/ContextState.h"
#include "platform/foundation/ScopeExit.h"

namespace ios {
namespace cg_internal {
namespace {

constexpr std::size_t kMaximumSide = 32767;

}  // namespace

ContextState::~ContextState() {
  if (cr) cairo_destroy(cr);
  if (surface) cairo_surface_destroy(surface);
}

std::shared_ptr<CGContext> ContextState::create(void* data, std::size_t width, std::size_t height,
                                                std::size_t bytesPerRow, std::optional<CGColorSpace> space,
                                                CGBitmapInfo info, const cairo_matrix_t& base) {
  if (width == 0 || height == 0 || width > kMaximumSide || height > kMaximumSide) return nullptr;
  std::size_t bitsPerPixel = 32;
  if (!space || space->model() == CGColorSpaceModel::monochrome) bitsPerPixel = 8;
  const auto layout = layoutFor(bitsPerPixel, space, info);
  if (!layout || !layout->drawable()) return nullptr;
  const std::size_t packed = width * static_cast<std::size_t>(layout->bytesPerPixel);
  if (bytesPerRow == 0) bytesPerRow = packed;
  if (bytesPerRow < packed) return nullptr;
  // cairo takes row lengths as int; longer ones would also overflow the buffer's size.
  if (bytesPerRow > static_cast<std::size_t>(std::numeric_limits<int>::max())) return nullptr;

  auto state = std::make_unique<ContextState>();
  state->width = width, state->height = height, state->bytesPerRow = bytesPerRow;
  state->info = info, state->space = space, state->layout = *layout;
  if (data) {
    state->bytes = static_cast<std::uint8_t*>(data);
  } else {
    state->ownBytes.assign(bytesPerRow * height, 0);
    state->bytes = state->ownBytes.data();
  }
  const bool opaque = layout->skipsAlpha || (layout->gray && layout->alpha < 0);
  const cairo_format_t format = opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
  state->direct = layout->native() && bytesPerRow % 4 == 0;
  if (state->direct) {
    state->surface = cairo_image_surface_create_for_data(state->bytes, format, static_cast<int>(width),
                                                         static_cast<int>(height), static_cast<int>(bytesPerRow));
  } else {
    state->words.assign(width * height, 0);
    if (data) importPixels(state->bytes, bytesPerRow, *layout, state->words.data(), width, width, height);
    state->surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(state->words.data()),
                                                         format, static_cast<int>(width), static_cast<int>(height),
                                                         static_cast<int>(width * 4));
  }
  if (cairo_surface_status(state->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  state->cr = cairo_create(state->surface);
  if (cairo_status(state->cr) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_set_matrix(state->cr, &base);
  cairo_set_line_width(state->cr, 1.0);
  cairo_set_miter_limit(state->cr, 10.0);
  return std::shared_ptr<CGContext>(new CGContext(std::move(state)));
}

std::shared_ptr<CGContext> makeImageContext(std::size_t pixelWidth, std::size_t pixelHeight, double scale,
                                            bool opaque) {
  cairo_matrix_t base;
  cairo_matrix_init_scale(&base, scale, scale);
  const CGBitmapInfo info =
      (opaque ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst) | kCGBitmapByteOrder32Little;
  return ContextState::create(nullptr, pixelWidth, pixelHeight, 0, CGColorSpaceCreateDeviceRGB(), info, base);
}

void ContextState::sync() {
  cairo_surface_flush(surface);
  if (!direct) exportPixels(words.data(), width, bytes, bytesPerRow, layout, width, height);
}

bool ContextState::setSourceColor(const CGColor& color) {
  CGFloat r = 0, gr = 0, b = 0, a = 0;
  if (!color.rgba(r, gr, b, a)) return false;
  cairo_set_source_rgba(cr, r, gr, b, std::clamp(a, 0.0, 1.0) * std::clamp(g.alpha, 0.0, 1.0));
  return true;
}

void ContextState::paint(const std::function<void(cairo_t*)>& draw) {
  const bool plusDarker = g.blendMode == CGBlendMode::plusDarker;
  if (!plusDarker && !g.softMask) {
    cairo_set_operator(cr, cairoOperator(g.blendMode));
    draw(cr);
    sync();
    return;
  }
  // Draw into a group first, then combine the group with the bitmap.
  cairo_push_group(cr);
  {
    // The group is popped on every path; a drawing that fails is dropped with it.
    ScopeExit dropGroup([this] { cairo_pattern_destroy(cairo_pop_group(cr)); });
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    draw(cr);
    dropGroup.release();
  }
  cairo_pattern_t* group = cairo_pop_group(cr);
  const ScopeExit destroyGroup([group] { cairo_pattern_destroy(group); });
  if (plusDarker) {
    cairo_surface_t* groupSurface = nullptr;
    cairo_pattern_get_surface(group, &groupSurface);
    compositePlusDarker(surface, groupSurface, g.softMask.get());
  } else {
    cairo_save(cr);
    cairo_set_operator(cr, cairoOperator(g.blendMode));
    cairo_set_source(cr, group);
    cairo_identity_matrix(cr);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, static_cast<int>(width));
    cairo_surface_t* mask = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(g.softMask->data()), CAIRO_FORMAT_A8, static_cast<int>(width),
        static_cast<int>(height), stride);
    cairo_mask_surface(cr, mask, 0, 0);
    cairo_surface_destroy(mask);
    cairo_restore(cr);
  }
  sync();
}

cairo_operator_t cairoOperator(CGBlendMode mode) {
  switch (mode) {
    case CGBlendMode::normal: return CAIRO_OPERATOR_OVER;
    case CGBlendMode::multiply: return CAIRO_OPERATOR_MULTIPLY;
    case CGBlendMode::screen: return CAIRO_OPERATOR_SCREEN;
    case CGBlendMode::overlay: return CAIRO_OPERATOR_OVERLAY;
    case CGBlendMode::darken: return CAIRO_OPERATOR_DARKEN;
    case CGBlendMode::lighten: return CAIRO_OPERATOR_LIGHTEN;
    case CGBlendMode::colorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
    case CGBlendMode::colorBurn: return CAIRO_OPERATOR_COLOR_BURN;
    case CGBlendMode::softLight: return CAIRO_OPERATOR_SOFT_LIGHT;
    case CGBlendMode::hardLight: return CAIRO_OPERATOR_HARD_LIGHT;
    case CGBlendMode::difference: return CAIRO_OPERATOR_DIFFERENCE;
    case CGBlendMode::exclusion: return CAIRO_OPERATOR_EXCLUSION;
    case CGBlendMode::hue: return CAIRO_OPERATOR_HSL_HUE;
    case CGBlendMode::saturation: return CAIRO_OPERATOR_HSL_SATURATION;
    case CGBlendMode::color: return CAIRO_OPERATOR_HSL_COLOR;
    case CGBlendMode::luminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case CGBlendMode::clear: return CAIRO_OPERATOR_CLEAR;
    case CGBlendMode::copy: return CAIRO_OPERATOR_SOURCE;
    case CGBlendMode::sourceIn: return CAIRO_OPERATOR_IN;
    case CGBlendMode::sourceOut: return CAIRO_OPERATOR_OUT;
    case CGBlendMode::sourceAtop: return CAIRO_OPERATOR_ATOP;
    case CGBlendMode::destinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case CGBlendMode::destinationIn: return CAIRO_OPERATOR_DEST_IN;
    case CGBlendMode::destinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case CGBlendMode::destinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case CGBlendMode::xor_: return CAIRO_OPERATOR_XOR;
    case CGBlendMode::plusLighter: return CAIRO_OPERATOR_ADD;
    case CGBlendMode::plusDarker: return CAIRO_OPERATOR_OVER;
  }
  return CAIRO_OPERATOR_OVER;
}

}  // namespace cg_internal

using cg_internal::ContextState;

CGContext::CGContext(std::unique_ptr<ContextState> state) : state_(std::move(state)) {}
CGContext::~CGContext() = default;

std::shared_ptr<CGContext> CGContext::make(void* data, std::size_t width, std::size_t height,
                                           std::size_t bitsPerComponent, std::size_t bytesPerRow,
                                           std::optional<CGColorSpace> space, CGBitmapInfo bitmapInfo) {
  if (bitsPerComponent != 8) return nullptr;
  cairo_matrix_t base;
  cairo_matrix_init(&base, 1, 0, 0, -1, 0, static_cast<double>(height));
  return ContextState::create(data, width, height, bytesPerRow, space, bitmapInfo, base);
}

std::size_t CGContext::width() const { return state_->width; }
std::size_t CGContext::height() const { return state_->height; }
std::size_t CGContext::bytesPerRow() const { return state_->bytesPerRow; }
CGBitmapInfo CGContext::bitmapInfo() const { return state_->info; }
std::optional<CGColorSpace> CGContext::colorSpace() const { return state_->space; }
void* CGContext::data() { return state_->bytes; }

CGImageRef CGContext::makeImage() const {
  state_->sync();
  const std::size_t size = state_->bytesPerRow * state_->height;
  std::vector<std::uint8_t> copy(state_->bytes, state_->bytes + size);
  return CGImage::make(state_->width, state_->height, 8, static_cast<std::size_t>(state_->layout.bytesPerPixel) * 8,
                       state_->bytesPerRow, state_->space, state_->info, std::move(copy));
}

void CGContext::saveGState() {
  state_->saved.push_back(state_->g);
  cairo_save(state_->cr);
}

void CGContext::restoreGState() {
  if (state_->saved.empty()) return;
  state_->g = std::move(state_->saved.back());
  state_->saved.pop_back();
  cairo_restore(state_->cr);
}

void CGContext::translateBy(CGFloat x, CGFloat y) { cairo_translate(state_->cr, x, y); }
void CGContext::scaleBy(CGFloat x, CGFloat y) {
  if (x == 0 || y == 0 || !std::isfinite(x) || !std::isfinite(y)) return;  // cairo cannot invert it
  cairo_scale(state_->cr, x, y);
}
void CGContext::rotate(CGFloat radians) { cairo_rotate(state_->cr, radians); }
void CGContext::concatenate(const CGAffineTransform& t) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
  cairo_matrix_t check = m;
  if (cairo_matrix_invert(&check) != CAIRO_STATUS_SUCCESS) return;  // cairo cannot draw through it
  cairo_transform(state_->cr, &m);
}
void CGContext::setFillColor(const CGColor& color) { state_->g.fill = color; }
void CGContext::setStrokeColor(const CGColor& color) { state_->g.stroke = color; }
void CGContext::setLineWidth(CGFloat width) { cairo_set_line_width(state_->cr, std::max(0.0, width)); }
void CGContext::setLineCap(CGLineCap cap) {
  cairo_set_line_cap(state_->cr, cap == CGLineCap::butt    ? CAIRO_LINE_CAP_BUTT
                                 : cap == CGLineCap::round ? CAIRO_LINE_CAP_ROUND
                                                           : CAIRO_LINE_CAP_SQUARE);
}
void CGContext::setLineJoin(CGLineJoin join) {
  cairo_set_line_join(state_->cr, join == CGLineJoin::miter   ? CAIRO_LINE_JOIN_MITER
                                  : join == CGLineJoin::round ? CAIRO_LINE_JOIN_ROUND
                                                              : CAIRO_LINE_JOIN_BEVEL);
}
void CGContext::setMiterLimit(CGFloat limit) { cairo_set_miter_limit(state_->cr, limit); }
void CGContext::setAlpha(CGFloat alpha) { state_->g.alpha = std::isnan(alpha) ? 0 : std::clamp(alpha, 0.0, 1.0); }
void CGContext::setBlendMode(CGBlendMode mode) { state_->g.blendMode = mode; }
void CGContext::setShouldAntialias(bool antialias) {
  cairo_set_antialias(state_->cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}
CGInterpolationQuality CGContext::interpolationQuality() const { return state_->g.quality; }
void CGContext::setInterpolationQuality(CGInterpolationQuality quality) { state_->g.quality = quality; }

CGPoint CGContext::convertToDeviceSpace(CGPoint point) const {
  cairo_user_to_device(state_->cr, &point.x, &point.y);
  return point;
}

}  // namespace ios
