// The area-average downscaler, in integers: every destination pixel is the exact mean of
// the source area it covers, rounded half up.
//
// Along each axis a source pixel is `dst` units long and a destination pixel `src` units,
// so every overlap is a whole number of units. Source rows are read once, in order, and
// added into per-column sums for one destination row at a time: the rows that lie wholly
// inside it are summed 16 bits a channel, up to eight rows a step, without a per-pixel
// multiplication or division, and weighed once per column; a partly covered row is
// weighed on its own. Then each destination column's sum is taken across its source
// columns the same way and divided once.
#include <algorithm>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/coregraphics/internal/ContextState.h"
#include "platform/foundation/Precondition.h"

namespace ios::cg_internal {
namespace {

// One destination pixel's footprint along an axis: source pixels first..last, the first
// weighing `firstWeight` units, the last `lastWeight` and each one between them a whole
// source pixel (`dst` units). The weights add up to `src` units.
struct Span {
  std::size_t first, last;
  std::uint32_t firstWeight, lastWeight;
};

std::vector<Span> spans(std::size_t src, std::size_t dst) {
  std::vector<Span> result(dst);
  for (std::size_t j = 0; j < dst; ++j) {
    const std::uint64_t a = std::uint64_t{j} * src, b = std::uint64_t{j + 1} * src;
    Span& s = result[j];
    s.first = static_cast<std::size_t>(a / dst);
    s.last = static_cast<std::size_t>((b - 1) / dst);
    s.firstWeight = static_cast<std::uint32_t>(std::min<std::uint64_t>((s.first + 1) * std::uint64_t{dst}, b) - a);
    s.lastWeight = static_cast<std::uint32_t>(b - std::max<std::uint64_t>(s.last * std::uint64_t{dst}, a));
  }
  return result;
}

__extension__ typedef unsigned __int128 Wide;

// n / d rounded half up, through a reciprocal: one multiplication instead of a division.
class Divider {
 public:
  explicit Divider(std::uint64_t d) : d_(d), reciprocal_(~std::uint64_t{0} / d) {}
  [[nodiscard]] std::uint64_t roundedQuotient(std::uint64_t n) const {
    const std::uint64_t x = n + d_ / 2;
    // The estimate is the quotient or one less (x stays far below 2^63).
    std::uint64_t q = static_cast<std::uint64_t>((static_cast<Wide>(x) * reciprocal_) >> 64);
    if ((q + 1) * d_ <= x) ++q;
    return q;
  }

 private:
  std::uint64_t d_, reciprocal_;
};

// 16 lanes of 16 bits: the even (or odd) bytes of eight pixels.
typedef std::uint16_t Lanes16 __attribute__((vector_size(32)));

// Adds the bytes of `Rows` rows (`stride` words apart), eight pixels at a time for
// `groups` groups, to 16-bit sums kept as each pixel's even bytes (blue, red) and odd
// bytes (green, alpha): split with a mask and a shift, so no byte is shuffled.
template <int Rows>
[[gnu::always_inline]] inline void addRowsInLanes(const std::uint32_t* row, std::size_t stride, std::size_t groups,
                                                  std::uint16_t* even, std::uint16_t* odd) {
  for (std::size_t g = 0; g < groups; ++g) {
    Lanes16 e{}, o{};
#pragma GCC unroll 8
    for (int k = 0; k < Rows; ++k) {
      Lanes16 v;
      std::memcpy(&v, row + k * stride + g * 8, sizeof v);
      e += v & 0xFF;
      o += v >> 8;
    }
    Lanes16 sumEven, sumOdd;
    std::memcpy(&sumEven, even + g * 16, sizeof sumEven);
    std::memcpy(&sumOdd, odd + g * 16, sizeof sumOdd);
    sumEven += e, sumOdd += o;
    std::memcpy(even + g * 16, &sumEven, sizeof sumEven);
    std::memcpy(odd + g * 16, &sumOdd, sizeof sumOdd);
  }
}

// The same for 1 to 8 rows.
[[gnu::always_inline]] inline void addRowsInGroupsOf(const std::uint32_t* row, std::size_t stride, int rows,
                                                     std::size_t groups, std::uint16_t* even, std::uint16_t* odd) {
  switch (rows) {
    case 8: addRowsInLanes<8>(row, stride, groups, even, odd); break;
    case 4: addRowsInLanes<4>(row, stride, groups, even, odd); break;
    case 2: addRowsInLanes<2>(row, stride, groups, even, odd); break;
    default: addRowsInLanes<1>(row, stride, groups, even, odd); break;
  }
}

using AddRows = void (*)(const std::uint32_t*, std::size_t, int, std::size_t, std::uint16_t*, std::uint16_t*);

void addRowsPlain(const std::uint32_t* row, std::size_t stride, int rows, std::size_t groups, std::uint16_t* even,
                  std::uint16_t* odd) {
  addRowsInGroupsOf(row, stride, rows, groups, even, odd);
}

#if defined(__x86_64__)
// In 256-bit vectors, for processors that have them. Chosen at run time by a plain test
// rather than by the loader (whose early resolvers the sanitizers do not support).
[[gnu::target("avx2")]] void addRowsWide(const std::uint32_t* row, std::size_t stride, int rows, std::size_t groups,
                                         std::uint16_t* even, std::uint16_t* odd) {
  addRowsInGroupsOf(row, stride, rows, groups, even, odd);
}
#endif

// The widest form the processor runs.
AddRows addRowsInGroups() {
#if defined(__x86_64__)
  static const AddRows chosen = __builtin_cpu_supports("avx2") ? addRowsWide : addRowsPlain;
  return chosen;
#else
  return addRowsPlain;
#endif
}

// The weighted sums of source rows for one destination row: four 32-bit channel sums a
// source column (blue, green, red, alpha: the pixel's bytes in memory order), fed by
// rows added whole into 16-bit sums and then weighted together.
class ColumnSums {
 public:
  // Pixel x of the 16-bit sums is at lanes (x / 4) × 8 + (x % 4) × 2 and the next.
  explicit ColumnSums(std::size_t width)
      : width_(width), sums_(width * 4), even_((width + 7) / 8 * 16, 0), odd_((width + 7) / 8 * 16, 0) {}

  // The next addRows() starts the sums afresh.
  void clear() { fresh_ = true; }
  [[nodiscard]] const std::uint32_t* data() const { return sums_.data(); }

  // Adds weight × the rows [first, first + count) of `src` to the column sums (weight at
  // most 65535).
  void addRows(const std::uint32_t* src, std::size_t stride, std::size_t first, std::size_t count,
               std::uint32_t weight) {
    // 16-bit sums hold 257 rows of bytes; 256 at a time keeps a margin.
    constexpr std::size_t kRowsPerFlush = 256;
    while (count > 0) {
      const std::size_t batch = std::min(count, kRowsPerFlush);
      for (std::size_t done = 0; done < batch;) {
        const int rows = batch - done >= 8 ? 8 : batch - done >= 4 ? 4 : batch - done >= 2 ? 2 : 1;
        addRows_(src + (first + done) * stride, stride, rows, width_ / 8, even_.data(), odd_.data());
        for (int k = 0; k < rows; ++k) addTail(src + (first + done + k) * stride);
        done += static_cast<std::size_t>(rows);
      }
      flushRows(weight);
      first += batch, count -= batch;
    }
  }

 private:
  // The pixels past the last whole group of eight.
  void addTail(const std::uint32_t* row) {
    for (std::size_t x = width_ / 8 * 8; x < width_; ++x) {
      const std::size_t lane = x / 4 * 8 + x % 4 * 2;
      even_[lane] = static_cast<std::uint16_t>(even_[lane] + (row[x] & 255));
      even_[lane + 1] = static_cast<std::uint16_t>(even_[lane + 1] + ((row[x] >> 16) & 255));
      odd_[lane] = static_cast<std::uint16_t>(odd_[lane] + ((row[x] >> 8) & 255));
      odd_[lane + 1] = static_cast<std::uint16_t>(odd_[lane + 1] + (row[x] >> 24));
    }
  }

  // Adds (or, fresh, stores) weight × the 16-bit sums to the column sums and clears them.
  void flushRows(std::uint32_t weight) {
    std::size_t x = 0;  // the first pixel left to the plain loop
#if defined(__SSE2__)
    const std::size_t whole = width_ / 4;
    const __m128i w = _mm_set1_epi16(static_cast<short>(static_cast<std::uint16_t>(weight)));
    const __m128i zero = _mm_setzero_si128();
    // weight × four 16-bit channels of two pixels, as 32-bit products, into `out`.
    auto put = [&](std::uint32_t* out, __m128i pixels16) {
      const __m128i lo = _mm_mullo_epi16(pixels16, w), hi = _mm_mulhi_epu16(pixels16, w);
      __m128i first = _mm_unpacklo_epi16(lo, hi), second = _mm_unpackhi_epi16(lo, hi);
      auto* o = reinterpret_cast<__m128i*>(out);
      if (!fresh_) {
        first = _mm_add_epi32(first, _mm_loadu_si128(o));
        second = _mm_add_epi32(second, _mm_loadu_si128(o + 1));
      }
      _mm_storeu_si128(o, first);
      _mm_storeu_si128(o + 1, second);
    };
    for (std::size_t g = 0; g < whole; ++g) {
      auto* e = reinterpret_cast<__m128i*>(&even_[g * 8]);
      auto* o = reinterpret_cast<__m128i*>(&odd_[g * 8]);
      const __m128i ev = _mm_loadu_si128(e), od = _mm_loadu_si128(o);
      put(&sums_[g * 16], _mm_unpacklo_epi16(ev, od));
      put(&sums_[g * 16 + 8], _mm_unpackhi_epi16(ev, od));
      _mm_storeu_si128(e, zero);
      _mm_storeu_si128(o, zero);
    }
    x = whole * 4;
#endif
    for (; x < width_; ++x) {
      const std::size_t lane = x / 4 * 8 + x % 4 * 2;
      const std::uint32_t products[4] = {weight * even_[lane], weight * odd_[lane], weight * even_[lane + 1],
                                         weight * odd_[lane + 1]};
      for (int c = 0; c < 4; ++c) sums_[x * 4 + c] = (fresh_ ? 0 : sums_[x * 4 + c]) + products[c];
      even_[lane] = even_[lane + 1] = odd_[lane] = odd_[lane + 1] = 0;
    }
    fresh_ = false;
  }

  std::size_t width_;
  std::vector<std::uint32_t> sums_;
  std::vector<std::uint16_t> even_, odd_;
  bool fresh_ = true;
  AddRows addRows_ = addRowsInGroups();
};

// One destination row from its column sums: each destination column's channels are the
// sums across its source columns, weighed like the rows, divided by the whole area and
// packed into a pixel (colours capped at alpha, as premultiplied pixels are).
class RowReducer {
 public:
  RowReducer(std::size_t srcWidth, std::size_t srcHeight, std::size_t dstWidth)
      : columns_(spans(srcWidth, dstWidth)),
        wholeColumn_(static_cast<std::uint32_t>(dstWidth)),
        // A column sum is at most 255 × srcHeight; this many add up within 32 bits.
        columnsPerStep_(std::max<std::size_t>(1, 0xFFFFFFFFu / (255 * srcHeight))),
        divider_(std::uint64_t{srcWidth} * srcHeight) {}

  void reduce(const std::uint32_t* sums, std::uint32_t* out) const {
    for (std::size_t k = 0; k < columns_.size(); ++k) {
      const Span& c = columns_[k];
      std::uint64_t total[4];
      weighColumns(sums, c, total);
      std::uint32_t bytes[4];
      for (int ch = 0; ch < 4; ++ch) bytes[ch] = static_cast<std::uint32_t>(divider_.roundedQuotient(total[ch]));
      // Lanes 0 to 3 are blue, green, red, alpha.
      const std::uint32_t a = bytes[3];
      out[k] = (a << 24) | (std::min(a, bytes[2]) << 16) | (std::min(a, bytes[1]) << 8) | std::min(a, bytes[0]);
    }
  }

 private:
#if defined(__SSE2__)
  static __m128i columnAt(const std::uint32_t* sums, std::size_t x) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + x * 4));
  }
  // weight × four 32-bit channels, added to 64-bit totals: blue and red, green and alpha.
  static void addWeighted(__m128i channels, std::uint32_t weight, __m128i& blueRed, __m128i& greenAlpha) {
    const __m128i w = _mm_set1_epi32(static_cast<int>(weight));
    blueRed = _mm_add_epi64(blueRed, _mm_mul_epu32(channels, w));
    greenAlpha = _mm_add_epi64(greenAlpha, _mm_mul_epu32(_mm_srli_epi64(channels, 32), w));
  }

  void weighColumns(const std::uint32_t* sums, const Span& c, std::uint64_t* total) const {
    __m128i blueRed = _mm_setzero_si128(), greenAlpha = _mm_setzero_si128();
    addWeighted(columnAt(sums, c.first), c.firstWeight, blueRed, greenAlpha);
    if (c.last != c.first) {
      addWeighted(columnAt(sums, c.last), c.lastWeight, blueRed, greenAlpha);
      for (std::size_t x = c.first + 1; x < c.last;) {
        const std::size_t end = std::min(c.last, x + columnsPerStep_);
        __m128i inside = _mm_setzero_si128();
        for (; x < end; ++x) inside = _mm_add_epi32(inside, columnAt(sums, x));
        addWeighted(inside, wholeColumn_, blueRed, greenAlpha);
      }
    }
    std::uint64_t br[2], ga[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(br), blueRed);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(ga), greenAlpha);
    total[0] = br[0], total[1] = ga[0], total[2] = br[1], total[3] = ga[1];
  }
#else
  void weighColumns(const std::uint32_t* sums, const Span& c, std::uint64_t* total) const {
    for (int ch = 0; ch < 4; ++ch) {
      total[ch] = std::uint64_t{c.firstWeight} * sums[c.first * 4 + ch];
      if (c.last == c.first) continue;
      total[ch] += std::uint64_t{c.lastWeight} * sums[c.last * 4 + ch];
      for (std::size_t x = c.first + 1; x < c.last; ++x) total[ch] += std::uint64_t{wholeColumn_} * sums[x * 4 + ch];
    }
  }
#endif

  std::vector<Span> columns_;
  std::uint32_t wholeColumn_;
  std::size_t columnsPerStep_;
  Divider divider_;
};

}  // namespace

void areaAverage(const std::uint32_t* src, std::size_t srcWidth, std::size_t srcHeight, std::size_t srcStride,
                 std::uint32_t* dst, std::size_t dstWidth, std::size_t dstHeight) {
  KP_PRECONDITION(srcWidth >= 1 && srcHeight >= 1 && areaAverageTakes(srcHeight, dstWidth, dstHeight),
                  "areaAverage: sides out of range");
  const std::vector<Span> rows = spans(srcHeight, dstHeight);
  const auto wholeRow = static_cast<std::uint32_t>(dstHeight);
  const RowReducer reducer(srcWidth, srcHeight, dstWidth);
  ColumnSums sums(srcWidth);
  for (std::size_t j = 0; j < dstHeight; ++j) {
    const Span& r = rows[j];
    sums.clear();
    // The first and last rows are partial unless they weigh a whole row.
    std::size_t inner = r.first, innerEnd = r.last + 1;
    if (r.firstWeight != wholeRow) sums.addRows(src, srcStride, r.first, 1, r.firstWeight), ++inner;
    if (r.last != r.first && r.lastWeight != wholeRow) {
      sums.addRows(src, srcStride, r.last, 1, r.lastWeight), --innerEnd;
    }
    if (inner < innerEnd) sums.addRows(src, srcStride, inner, innerEnd - inner, wholeRow);
    reducer.reduce(sums.data(), dst + j * dstWidth);
  }
}

}  // namespace ios::cg_internal
