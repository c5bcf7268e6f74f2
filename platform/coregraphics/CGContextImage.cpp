// Images in CGContext: drawing with resampling, clipping to an image mask, the
// area-average downscaler and the hand-made plus-darker compositing.
#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// For one axis: the source pixels and weights that make up each destination pixel.
struct Footprint {
  std::size_t first = 0;
  std::vector<float> weights;
};

std::vector<Footprint> footprints(std::size_t srcLength, std::size_t dstLength) {
  std::vector<Footprint> result(dstLength);
  const double ratio = static_cast<double>(srcLength) / static_cast<double>(dstLength);
  for (std::size_t j = 0; j < dstLength; ++j) {
    const double a = static_cast<double>(j) * ratio, b = static_cast<double>(j + 1) * ratio;
    const auto first = static_cast<std::size_t>(std::floor(a));
    const auto last = std::min(srcLength, static_cast<std::size_t>(std::ceil(b)));
    result[j].first = first;
    for (std::size_t i = first; i < last; ++i) {
      const double overlap = std::min(b, static_cast<double>(i + 1)) - std::max(a, static_cast<double>(i));
      result[j].weights.push_back(static_cast<float>(std::max(0.0, overlap) / ratio));
    }
  }
  return result;
}

}  // namespace

namespace {

// Four single-precision lanes: the B, G, R, A bytes of one pixel (on a little-endian
// machine, the order of its bytes in memory) as numbers.
typedef float Lanes __attribute__((vector_size(16)));
typedef std::uint8_t PixelBytes __attribute__((vector_size(4)));

Lanes splat(float w) { return Lanes{w, w, w, w}; }

// The destination columns' footprints in one row: where each starts, how many pixels it
// takes, and their weights, each repeated in four lanes.
struct ColumnWeights {
  explicit ColumnWeights(const std::vector<Footprint>& columns) {
    for (const Footprint& f : columns) {
      first.push_back(f.first);
      begin.push_back(weights.size());
      for (float w : f.weights) weights.push_back(splat(w));
    }
    begin.push_back(weights.size());
  }
  [[nodiscard]] std::size_t count(std::size_t j) const { return begin[j + 1] - begin[j]; }
  std::vector<std::size_t> first, begin;
  std::vector<Lanes> weights;
};

#if defined(__SSE2__)
// The next term of a column's sum for each of four pixels in a row, from one load.
[[gnu::always_inline]] inline void addFour(Lanes& sum, const Lanes* w, const std::uint32_t* p) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i low = _mm_unpacklo_epi8(bytes, zero), high = _mm_unpackhi_epi8(bytes, zero);
  sum += w[0] * reinterpret_cast<Lanes>(_mm_cvtepi32_ps(_mm_unpacklo_epi16(low, zero)));
  sum += w[1] * reinterpret_cast<Lanes>(_mm_cvtepi32_ps(_mm_unpackhi_epi16(low, zero)));
  sum += w[2] * reinterpret_cast<Lanes>(_mm_cvtepi32_ps(_mm_unpacklo_epi16(high, zero)));
  sum += w[3] * reinterpret_cast<Lanes>(_mm_cvtepi32_ps(_mm_unpackhi_epi16(high, zero)));
}

[[gnu::always_inline]] inline Lanes lanesOf(const std::uint32_t* pixel) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(*pixel));
  return reinterpret_cast<Lanes>(_mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero)));
}
#else
[[gnu::always_inline]] inline Lanes lanesOf(const std::uint32_t* pixel) {
  PixelBytes bytes;
  std::memcpy(&bytes, pixel, sizeof bytes);
  return __builtin_convertvector(bytes, Lanes);
}

[[gnu::always_inline]] inline void addFour(Lanes& sum, const Lanes* w, const std::uint32_t* p) {
  for (int i = 0; i < 4; ++i) sum += w[i] * lanesOf(p + i);
}
#endif

// One source row's weighted sums over every destination column's footprint, into
// `line` (four lanes a column). Each column's sum takes its terms in order, one
// multiplication and one addition each; four columns are summed side by side, four
// pixels at a time, so that their additions overlap and their bytes are read in one go.
void sumRow(const std::uint32_t* row, const ColumnWeights& columns, Lanes* line) {
  const std::size_t count = columns.first.size();
  auto finish = [&](std::size_t j, std::size_t from, Lanes sum) {
    const std::uint32_t* p = row + columns.first[j];
    const Lanes* w = columns.weights.data() + columns.begin[j];
    for (std::size_t k = from; k < columns.count(j); ++k) sum += w[k] * lanesOf(p + k);
    line[j] = sum;
  };
  std::size_t j = 0;
  for (; j + 4 <= count; j += 4) {
    const std::size_t shared =
        std::min({columns.count(j), columns.count(j + 1), columns.count(j + 2), columns.count(j + 3)}) / 4 * 4;
    const std::uint32_t *p0 = row + columns.first[j], *p1 = row + columns.first[j + 1],
                        *p2 = row + columns.first[j + 2], *p3 = row + columns.first[j + 3];
    const Lanes* w0 = columns.weights.data() + columns.begin[j];
    const Lanes *w1 = w0 + columns.count(j), *w2 = w1 + columns.count(j + 1), *w3 = w2 + columns.count(j + 2);
    Lanes s0{}, s1{}, s2{}, s3{};
    for (std::size_t k = 0; k < shared; k += 4) {
      addFour(s0, w0 + k, p0 + k);
      addFour(s1, w1 + k, p1 + k);
      addFour(s2, w2 + k, p2 + k);
      addFour(s3, w3 + k, p3 + k);
    }
    finish(j, shared, s0), finish(j + 1, shared, s1), finish(j + 2, shared, s2), finish(j + 3, shared, s3);
  }
  for (; j < count; ++j) finish(j, 0, Lanes{});
}

}  // namespace

void areaAverage(const std::uint32_t* src, std::size_t srcWidth, std::size_t srcHeight, std::size_t srcStride,
                 std::uint32_t* dst, std::size_t dstWidth, std::size_t dstHeight) {
  const ColumnWeights columns(footprints(srcWidth, dstWidth));
  const auto rows = footprints(srcHeight, dstHeight);
  // Which destination rows each source row feeds, with its weight.
  std::vector<std::vector<std::pair<std::size_t, float>>> feeds(srcHeight);
  for (std::size_t j = 0; j < dstHeight; ++j) {
    for (std::size_t k = 0; k < rows[j].weights.size(); ++k) feeds[rows[j].first + k].emplace_back(j, rows[j].weights[k]);
  }
  std::vector<Lanes> line(dstWidth);
  std::vector<Lanes> sums(dstWidth * dstHeight, Lanes{});
  for (std::size_t y = 0; y < srcHeight; ++y) {
    if (feeds[y].empty()) continue;
    sumRow(src + y * srcStride, columns, line.data());
    for (const auto& [j, w] : feeds[y]) {
      Lanes* s = &sums[j * dstWidth];
      const Lanes weight = splat(w);
      for (std::size_t k = 0; k < dstWidth; ++k) s[k] += weight * line[k];
    }
  }
  auto toByte = [](float v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
  for (std::size_t i = 0; i < dstWidth * dstHeight; ++i) {
    // Lanes 0 to 3 are blue, green, red, alpha (the pixel's bytes in memory order).
    const Lanes& s = sums[i];
    const std::uint32_t a = toByte(s[3]);
    dst[i] = (a << 24) | (std::min(a, toByte(s[2])) << 16) | (std::min(a, toByte(s[1])) << 8) | std::min(a, toByte(s[0]));
  }
}

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
    if (nw != w || nh != h) {
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
