// The area-average downscaler against a plain, one-pixel-at-a-time form of the exact
// arithmetic: every destination byte must come out the same, whatever the sizes, the
// row padding and the pictures. The earlier single-precision form is kept beside it: the
// exact mean never lies more than one step from what it gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/coregraphics/internal/ContextState.h"

namespace {

// Each destination pixel, exactly: a source pixel is dw (dh) units wide (high), a
// destination pixel sw (sh); every source pixel counts with the area it shares with the
// destination pixel, and the sum over the destination's area sw × sh is rounded half up;
// the colours are capped at alpha.
std::vector<std::uint32_t> exactAverage(const std::vector<std::uint32_t>& src, std::size_t sw, std::size_t sh,
                                        std::size_t stride, std::size_t dw, std::size_t dh) {
  auto overlap = [](std::size_t i, std::size_t j, std::uint64_t src, std::uint64_t dst) -> std::uint64_t {
    const std::uint64_t lo = std::max(i * dst, j * src), hi = std::min((i + 1) * dst, (j + 1) * src);
    return hi > lo ? hi - lo : 0;
  };
  std::vector<std::uint32_t> out(dw * dh);
  const std::uint64_t area = std::uint64_t{sw} * sh;
  for (std::size_t y = 0; y < dh; ++y) {
    for (std::size_t x = 0; x < dw; ++x) {
      std::uint64_t sum[4] = {0, 0, 0, 0};
      // Source pixels outside these bounds share nothing with the destination pixel.
      for (std::size_t r = y * sh / dh; r < std::min(sh, ((y + 1) * sh + dh - 1) / dh); ++r) {
        const std::uint64_t wy = overlap(r, y, sh, dh);
        for (std::size_t c = x * sw / dw; c < std::min(sw, ((x + 1) * sw + dw - 1) / dw); ++c) {
          const std::uint64_t w = wy * overlap(c, x, sw, dw);
          for (int k = 0; k < 4; ++k) sum[k] += w * ((src[r * stride + c] >> (24 - 8 * k)) & 255);
        }
      }
      std::uint32_t b[4];
      for (int k = 0; k < 4; ++k) b[k] = static_cast<std::uint32_t>((sum[k] + area / 2) / area);
      out[y * dw + x] =
          (b[0] << 24) | (std::min(b[0], b[1]) << 16) | (std::min(b[0], b[2]) << 8) | std::min(b[0], b[3]);
    }
  }
  return out;
}

// The earlier form: for every source row a destination pixel covers, the row's weighted
// sum over the pixel's columns (channel by channel, in single precision, left to right),
// added into the pixel's sum with the row's weight, top to bottom; then rounded to
// bytes, the colours capped at alpha.
std::vector<std::uint32_t> singlePrecisionAverage(const std::vector<std::uint32_t>& src, std::size_t sw, std::size_t sh,
                                        std::size_t stride, std::size_t dw, std::size_t dh) {
  struct Span {
    std::size_t first = 0;
    std::vector<float> weights;
  };
  auto spans = [](std::size_t length, std::size_t out) {
    std::vector<Span> result(out);
    const double ratio = static_cast<double>(length) / static_cast<double>(out);
    for (std::size_t j = 0; j < out; ++j) {
      const double a = static_cast<double>(j) * ratio, b = static_cast<double>(j + 1) * ratio;
      result[j].first = static_cast<std::size_t>(std::floor(a));
      const auto last = std::min(length, static_cast<std::size_t>(std::ceil(b)));
      for (std::size_t i = result[j].first; i < last; ++i) {
        const double overlap = std::min(b, static_cast<double>(i + 1)) - std::max(a, static_cast<double>(i));
        result[j].weights.push_back(static_cast<float>(std::max(0.0, overlap) / ratio));
      }
    }
    return result;
  };
  const auto columns = spans(sw, dw), rows = spans(sh, dh);
  std::vector<std::uint32_t> out(dw * dh);
  for (std::size_t y = 0; y < dh; ++y) {
    for (std::size_t x = 0; x < dw; ++x) {
      float sum[4] = {0, 0, 0, 0};
      for (std::size_t r = 0; r < rows[y].weights.size(); ++r) {
        const std::uint32_t* row = src.data() + (rows[y].first + r) * stride + columns[x].first;
        float line[4] = {0, 0, 0, 0};
        for (std::size_t c = 0; c < columns[x].weights.size(); ++c) {
          for (int k = 0; k < 4; ++k) {
            line[k] += columns[x].weights[c] * static_cast<float>((row[c] >> (24 - 8 * k)) & 255);
          }
        }
        for (int k = 0; k < 4; ++k) sum[k] += rows[y].weights[r] * line[k];
      }
      auto toByte = [](float v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
      const std::uint32_t a = toByte(sum[0]);
      out[y * dw + x] = (a << 24) | (std::min(a, toByte(sum[1])) << 16) | (std::min(a, toByte(sum[2])) << 8) |
                        std::min(a, toByte(sum[3]));
    }
  }
  return out;
}

enum class Picture { noise, translucentNoise, gradient, solid };

std::vector<std::uint32_t> picture(Picture kind, std::size_t w, std::size_t h, std::size_t stride) {
  std::mt19937 random(static_cast<unsigned>(w * 31 + h));
  std::vector<std::uint32_t> pixels(stride * h, 0xDEADBEEF);  // padding that must not be read
  for (std::size_t y = 0; y < h; ++y) {
    for (std::size_t x = 0; x < w; ++x) {
      std::uint32_t a = 255, r = 0, g = 0, b = 0;
      switch (kind) {
        case Picture::noise: r = random() & 255, g = random() & 255, b = random() & 255; break;
        case Picture::translucentNoise:
          a = random() & 255;
          r = a ? random() % (a + 1) : 0, g = a ? random() % (a + 1) : 0, b = a ? random() % (a + 1) : 0;
          break;
        case Picture::gradient: r = x * 255 / w, g = y * 255 / h, b = (x + y) * 127 / (w + h); break;
        case Picture::solid: r = 200, g = 100, b = 7, a = 255; break;
      }
      pixels[y * stride + x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return pixels;
}

struct Size {
  std::size_t sw, sh, padding, dw, dh;
};

const Size kSizes[] = {
    {640, 480, 0, 100, 75},   // whole ratio
    {997, 613, 3, 50, 31},    // uneven footprints
    {300, 200, 0, 7, 3},      // wide footprints
    {33, 17, 1, 32, 16},      // barely smaller
    {1000, 10, 0, 1, 1},      // everything into one pixel
    {5, 400, 0, 3, 9},        // narrower than a group of columns
    {250, 187, 0, 125, 94},   // half size, odd rows
    {13, 700, 2, 2, 1},       // more rows to a pixel than 16-bit sums take at once
    {1, 9, 0, 1, 2},          // one column, halves of rows
    {64, 64, 0, 64, 64},      // no reduction
    {203, 61, 5, 203, 7},     // rows only
    {1, 1, 0, 1, 1},          // a single pixel
};
// Calls check(src, stride, size, dst) with the resampler's result for every size and
// picture.
template <class Check>
void forEverySizeAndPicture(Check check) {
  for (const Size& s : kSizes) {
    for (Picture kind : {Picture::noise, Picture::translucentNoise, Picture::gradient, Picture::solid}) {
      SCOPED_TRACE(::testing::Message() << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh << " picture "
                                        << static_cast<int>(kind));
      const std::size_t stride = s.sw + s.padding;
      const auto src = picture(kind, s.sw, s.sh, stride);
      std::vector<std::uint32_t> dst(s.dw * s.dh);
      ios::cg_internal::areaAverage(src.data(), s.sw, s.sh, stride, dst.data(), s.dw, s.dh);
      check(src, stride, s, dst);
    }
  }
}

TEST(AreaAverage, MatchesTheExactArithmeticByteForByte) {
  forEverySizeAndPicture([](const std::vector<std::uint32_t>& src, std::size_t stride, const Size& s,
                            const std::vector<std::uint32_t>& dst) {
    const auto expected = exactAverage(src, s.sw, s.sh, stride, s.dw, s.dh);
    for (std::size_t i = 0; i < dst.size(); ++i) ASSERT_EQ(dst[i], expected[i]) << "pixel " << i;
  });
}

TEST(AreaAverage, NeverMoreThanOneStepFromTheSinglePrecisionForm) {
  forEverySizeAndPicture([](const std::vector<std::uint32_t>& src, std::size_t stride, const Size& s,
                            const std::vector<std::uint32_t>& dst) {
    const auto earlier = singlePrecisionAverage(src, s.sw, s.sh, stride, s.dw, s.dh);
    for (std::size_t i = 0; i < dst.size(); ++i) {
      for (int shift = 0; shift < 32; shift += 8) {
        const int now = static_cast<int>((dst[i] >> shift) & 255);
        const int before = static_cast<int>((earlier[i] >> shift) & 255);
        ASSERT_LE(std::abs(now - before), 1) << "pixel " << i << " byte " << shift / 8;
      }
    }
  });
}

TEST(AreaAverageDeathTest, RefusesSidesItCannotWeigh) {
  const std::vector<std::uint32_t> src(4, 0);
  std::vector<std::uint32_t> dst(1);
  EXPECT_DEATH(ios::cg_internal::areaAverage(src.data(), 2, 2, 2, dst.data(), 0, 1), "areaAverage: sides out of range");
  EXPECT_FALSE(ios::cg_internal::areaAverageTakes(10, 65536, 1));
  EXPECT_FALSE(ios::cg_internal::areaAverageTakes(std::size_t{1} << 24, 1, 1));
  EXPECT_TRUE(ios::cg_internal::areaAverageTakes((std::size_t{1} << 24) - 1, 65535, 65535));
}

}  // namespace
