// Images in CGContext: drawing with resampling (downscaling through the area-average
// resampler), clipping to an image mask and the hand-made plus-darker compositing.
#include <algorithm>
#include <cmath>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/internal/ContextState.h"

namespace ios {
namespace cg_internal {
namespace {

cairo_filter_t filterFor(CGInterpolationQuality quality) {
  switch (quality) {
    case CGInterpolationQuality::none: return CAIRO_FILTER_NEAREST;
    case CGInterpolationQuality::low: return CAIRO_FILTER_BILINEAR;
    case CGInterpolationQuality::high: return CAIRO_FILTER_BEST;
    default: return CAIRO_FILTER_GOOD;
  }
}

}  // namespace

void drawImage(cairo_t* cr, const CGImage& image, const cairo_matrix_t& imageToUser, CGFloat alpha,
               CGInterpolationQuality quality) {
  const auto layout = layoutFor(image.bitsPerPixel(), image.colorSpace(), image.bitmapInfo());
  if (!layout) return;
  std::size_t w = image.width(), h = image.height();
  const auto bytes = image.dataProvider()->bytes();
  std::vector<std::uint32_t> words;
  const std::uint32_t* pixels = nullptr;
  std::size_t stride = w;
  if (layout->native() && image.bytesPerRow() % 4 == 0) {
    pixels = reinterpret_cast<const std::uint32_t*>(bytes.data());
    stride = image.bytesPerRow() / 4;
  } else {
    words.resize(w * h);
    importPixels(bytes.data(), image.bytesPerRow(), *layout, words.data(), w, w, h);
    pixels = words.data();
  }
  cairo_matrix_t toDevice, ctm, m = imageToUser;
  cairo_get_matrix(cr, &ctm);
  cairo_matrix_multiply(&toDevice, &imageToUser, &ctm);
  const double sx = std::hypot(toDevice.xx, toDevice.yx), sy = std::hypot(toDevice.xy, toDevice.yy);
  std::vector<std::uint32_t> reduced;
  if (quality != CGInterpolationQuality::none && (sx < 1 || sy < 1) && std::isfinite(sx) && std::isfinite(sy)) {
    // cairo's filters look at a few source pixels only; average the whole footprint.
    const std::size_t nw = sx < 1 ? std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(w * sx))) : w;
    const std::size_t nh = sy < 1 ? std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(h * sy))) : h;
    if ((nw != w || nh != h) && areaAverageTakes(h, nw, nh)) {
      reduced.resize(nw * nh);
      areaAverage(pixels, w, h, stride, reduced.data(), nw, nh);
      cairo_matrix_scale(&m, static_cast<double>(w) / nw, static_cast<double>(h) / nh);
      pixels = reduced.data(), w = nw, h = nh, stride = nw;
    }
  }
  cairo_surface_t* source = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels)), CAIRO_FORMAT_ARGB32,
      static_cast<int>(w), static_cast<int>(h), static_cast<int>(stride * 4));
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, filterFor(quality));
  cairo_save(cr);
  cairo_transform(cr, &m);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 0, static_cast<double>(w), static_cast<double>(h));
  cairo_clip(cr);
  cairo_set_source(cr, pattern);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(source);
}

void compositePlusDarker(cairo_surface_t* target, cairo_surface_t* group, const std::vector<std::uint8_t>* mask) {
  cairo_surface_flush(target);
  cairo_surface_flush(group);
  double offsetX = 0, offsetY = 0;
  cairo_surface_get_device_offset(group, &offsetX, &offsetY);
  const int tw = cairo_image_surface_get_width(target), th = cairo_image_surface_get_height(target);
  const int gw = cairo_image_surface_get_width(group), gh = cairo_image_surface_get_height(group);
  const int tStride = cairo_image_surface_get_stride(target), gStride = cairo_image_surface_get_stride(group);
  const int mStride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, tw);
  const bool opaqueTarget = cairo_image_surface_get_format(target) == CAIRO_FORMAT_RGB24;
  unsigned char* t = cairo_image_surface_get_data(target);
  const unsigned char* gr = cairo_image_surface_get_data(group);
  const int ox = static_cast<int>(std::lround(offsetX)), oy = static_cast<int>(std::lround(offsetY));
  for (int y = 0; y < th; ++y) {
    const int gy = y + oy;
    if (gy < 0 || gy >= gh) continue;
    auto* trow = reinterpret_cast<std::uint32_t*>(t + y * tStride);
    const auto* grow = reinterpret_cast<const std::uint32_t*>(gr + gy * gStride);
    for (int x = 0; x < tw; ++x) {
      const int gx = x + ox;
      if (gx < 0 || gx >= gw) continue;
      std::uint32_t s = grow[gx];
      if (mask) {
        const std::uint32_t k = (*mask)[static_cast<std::size_t>(y * mStride + x)];
        auto scale = [k](std::uint32_t c) { return (c * k + 127) / 255; };
        s = (scale(s >> 24) << 24) | (scale((s >> 16) & 255) << 16) | (scale((s >> 8) & 255) << 8) | scale(s & 255);
      }
      if ((s >> 24) == 0) continue;
      const std::uint32_t d = opaqueTarget ? (trow[x] | 0xFF000000u) : trow[x];
      const int sa = static_cast<int>(s >> 24), da = static_cast<int>(d >> 24);
      const int ra = std::min(255, sa + da);
      // The darkness (alpha minus colour) of both adds up and is taken from the result.
      auto channel = [&](int shift) {
        const int sc = static_cast<int>((s >> shift) & 255), dc = static_cast<int>((d >> shift) & 255);
        return static_cast<std::uint32_t>(std::max(0, ra - ((sa - sc) + (da - dc))));
      };
      trow[x] = (static_cast<std::uint32_t>(ra) << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
    }
  }
  cairo_surface_mark_dirty(target);
}

void drawImageInContext(CGContext& context, const CGImage& image, const AffineMatrix& imageToUser) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, imageToUser.a, imageToUser.b, imageToUser.c, imageToUser.d, imageToUser.tx, imageToUser.ty);
  if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return;
  cairo_matrix_init(&m, imageToUser.a, imageToUser.b, imageToUser.c, imageToUser.d, imageToUser.tx, imageToUser.ty);
  auto& s = context.state();
  s.paint([&](cairo_t* cr) { drawImage(cr, image, m, s.g.alpha, s.g.quality); });
}

}  // namespace cg_internal

void CGContext::draw(const CGImage& image, CGRect in) {
  cg_internal::AffineMatrix m;
  m.a = in.size.width / static_cast<double>(image.width());
  m.d = -in.size.height / static_cast<double>(image.height());
  m.tx = in.origin.x, m.ty = in.origin.y + in.size.height;
  if (!std::isfinite(m.a) || !std::isfinite(m.d) || !std::isfinite(m.tx) || !std::isfinite(m.ty)) return;
  cg_internal::drawImageInContext(*this, image, m);
}

void CGContext::clip(CGRect to, const CGImage& mask) {
  auto& s = *state_;
  const auto layout = cg_internal::layoutFor(mask.bitsPerPixel(), mask.colorSpace(), mask.bitmapInfo());
  const bool hasAlpha = layout && layout->alpha >= 0 && !layout->skipsAlpha;
  if (hasAlpha && to.size.width != 0 && to.size.height != 0) {
    // Render the mask's alpha in device space, then keep it as a coverage map.
    const int w = static_cast<int>(s.width), h = static_cast<int>(s.height);
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(scratch);
    cairo_matrix_t ctm;
    cairo_get_matrix(s.cr, &ctm);
    cairo_set_matrix(cr, &ctm);
    cairo_matrix_t m;
    cairo_matrix_init(&m, to.size.width / static_cast<double>(mask.width()), 0, 0,
                      -to.size.height / static_cast<double>(mask.height()), to.origin.x,
                      to.origin.y + to.size.height);
    cg_internal::drawImage(cr, mask, m, 1.0, s.g.quality);
    cairo_destroy(cr);
    cairo_surface_flush(scratch);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, w);
    auto coverage = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(stride) * h, 0);
    const unsigned char* data = cairo_image_surface_get_data(scratch);
    const int sstride = cairo_image_surface_get_stride(scratch);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * sstride);
      for (int x = 0; x < w; ++x) {
        std::uint32_t k = row[x] >> 24;
        if (s.g.softMask) k = (k * (*s.g.softMask)[static_cast<std::size_t>(y * stride + x)] + 127) / 255;
        (*coverage)[static_cast<std::size_t>(y * stride + x)] = static_cast<std::uint8_t>(k);
      }
    }
    cairo_surface_destroy(scratch);
    s.g.softMask = std::move(coverage);
  }
  clip(to);
}

}  // namespace ios
