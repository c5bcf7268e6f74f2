// Counting in two steps that keep memory access local, band by band: the admitted pixels
// of a band of rows are first split by their red byte into 256 groups (256 sequential
// output streams), then each group is counted in a table indexed by its green and blue
// bytes, small enough to stay in the processor's cache. Each band's distinct colours are
// added to one counter for the whole image.
#include "KPQuaslet/imaging/internal/PixelCounting.h"

#include <algorithm>
#include <array>

#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "KPQuaslet/imaging/internal/ScratchBuffer.h"
#include "platform/foundation/ScopeExit.h"

namespace kp::imaging_internal {

namespace {

// The working memory of one band, reused for every band of an image and kept by the
// thread for its next image: its tables are zero between bands (each band clears what it
// used), so no call allocates or clears them afresh.
template <PixelLayout L>
struct BandCounter {
  BandCounter() : counts(65536, 0), firsts(65536, 0) {}

  // The thread's own band counter, with room for `pixels` records.
  static BandCounter& forThread(std::size_t pixels) {
    thread_local BandCounter counter;
    if (counter.records.size() < pixels) counter.records = ScratchBuffer<std::uint64_t>(pixels);
    return counter;
  }

  static bool counted(const std::uint8_t* p) { return L.minimumAlpha == 0 || p[L.alpha] >= L.minimumAlpha; }

  // Counts the admitted pixels of rows [y0, y1) into `image`.
  void count(const std::uint8_t* bytes, std::size_t bytesPerRow, std::size_t w, std::size_t h, std::size_t y0,
             std::size_t y1, ColorCounter& image) {
    // Group sizes, then each admitted pixel as (position << 16 | green << 8 | blue) in
    // its red byte's group.
    std::array<std::size_t, 257> starts{};
    for (std::size_t y = y0; y < y1; ++y) {
      const std::uint8_t* p = bytes + y * bytesPerRow;
      for (std::size_t x = 0; x < w; ++x, p += 4) {
        if (counted(p)) ++starts[p[L.red] + 1];
      }
    }
    for (std::size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
    std::array<std::size_t, 256> next{};
    std::copy(starts.begin(), starts.end() - 1, next.begin());
    auto record = [h](const std::uint8_t* p, std::size_t x, std::size_t y) {
      return (static_cast<std::uint64_t>(x * h + y) << 16) | (static_cast<std::uint64_t>(p[L.green]) << 8) |
             p[L.blue];
    };
    for (std::size_t y = y0; y < y1; ++y) {
      const std::uint8_t* p = bytes + y * bytesPerRow;
      std::size_t x = 0;
      // Two neighbours of one red byte (the common case) take one step of the group's
      // write position instead of two dependent ones.
      for (; x + 1 < w; x += 2, p += 8) {
        if (counted(p) && counted(p + 4) && p[L.red] == p[4 + L.red]) {
          std::size_t& at = next[p[L.red]];
          records[at] = record(p, x, y);
          records[at + 1] = record(p + 4, x + 1, y);
          at += 2;
          continue;
        }
        if (counted(p)) records[next[p[L.red]]++] = record(p, x, y);
        if (counted(p + 4)) records[next[p[4 + L.red]]++] = record(p + 4, x + 1, y);
      }
      if (x < w && counted(p)) records[next[p[L.red]]++] = record(p, x, y);
    }
    for (std::uint32_t red = 0; red < 256; ++red) {
      const std::uint64_t* begin = records.data() + starts[red];
      const std::uint64_t* end = records.data() + starts[red + 1];
      seen.clear();
      for (const std::uint64_t* r = begin; r != end; ++r) {
        const auto index = static_cast<std::uint16_t>(*r);
        const auto position = static_cast<std::uint32_t>(*r >> 16);
        if (counts[index]++ == 0) {
          firsts[index] = position;
          seen.push_back(index);
        } else if (position < firsts[index]) {
          firsts[index] = position;
        }
      }
      // The counts go back to zero on every path, so that the next band (or image) finds
      // the table clear.
      const ios::ScopeExit clear([&] {
        for (std::uint16_t index : seen) counts[index] = 0;
      });
      auto keyOf = [red](std::uint16_t index) { return PackedColor::fromChannels(red, index >> 8, index & 255).value; };
      // The image's counter is large and met in no order: its places are fetched a few
      // colours ahead.
      constexpr std::size_t kAhead = 16;
      for (std::size_t i = 0; i < seen.size(); ++i) {
        if (i + kAhead < seen.size()) image.prefetch(keyOf(seen[i + kAhead]));
        image.add(keyOf(seen[i]), firsts[seen[i]], counts[seen[i]]);
      }
    }
  }

  ScratchBuffer<std::uint64_t> records;
  std::vector<std::uint32_t> counts, firsts;
  std::vector<std::uint16_t> seen;
};

}  // namespace

template <PixelLayout Layout>
ColorCounter countPixels(const std::uint8_t* bytes, std::size_t w, std::size_t h, std::size_t bytesPerRow) {
  if (w * h < kSmallImagePixels) {
    // Too few pixels to repay a band's tables: each one goes straight to the counter.
    ColorCounter counts;
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* p = bytes + y * bytesPerRow;
      for (std::size_t x = 0; x < w; ++x, p += 4) {
        if (!BandCounter<Layout>::counted(p)) continue;
        counts.add(PackedColor::fromChannels(p[Layout.red], p[Layout.green], p[Layout.blue]).value,
                   static_cast<std::uint32_t>(x * h + y));
      }
    }
    return counts;
  }
  // Room for a colour in every other pixel up to half a million colours: most pictures
  // never grow it, and a large one grows it with its colours, not its pixels.
  ColorCounter counts;
  const std::size_t rowsPerBand = std::max<std::size_t>(1, kBandPixels / w);
  BandCounter<Layout>& band = BandCounter<Layout>::forThread(std::min(h, rowsPerBand) * w);
  for (std::size_t y0 = 0; y0 < h; y0 += rowsPerBand) {
    band.count(bytes, bytesPerRow, w, h, y0, std::min(h, y0 + rowsPerBand), counts);
  }
  return counts;
}

template ColorCounter countPixels<kVisibleBGRA>(const std::uint8_t*, std::size_t, std::size_t, std::size_t);
template ColorCounter countPixels<kEveryBGRA>(const std::uint8_t*, std::size_t, std::size_t, std::size_t);

ColorCounter countVisiblePixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes) {
  return countPixels<kVisibleBGRA>(bytes.data(), image.width(), image.height(), image.bytesPerRow());
}

}  // namespace kp::imaging_internal
