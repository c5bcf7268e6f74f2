// Counting in two steps that keep memory access local: the visible pixels are first
// split by their red byte into 256 groups (256 sequential output streams), then each
// group is counted in a table indexed by its green and blue bytes, small enough to stay
// in the processor's cache.
#include "KPQuaslet/imaging/internal/PixelCounting.h"

#include <algorithm>
#include <array>

#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "KPQuaslet/imaging/internal/ScratchBuffer.h"

namespace kp::imaging_internal {

std::uint32_t PixelCounts::count(std::uint32_t key) const {
  const auto it = std::lower_bound(byKey_.begin(), byKey_.end(), key,
                                   [](const ColorCounter::Entry& e, std::uint32_t k) { return e.key < k; });
  return it != byKey_.end() && it->key == key ? it->count : 0;
}

std::vector<ColorCounter::Entry> PixelCounts::entries() const {
  std::vector<ColorCounter::Entry> out = byKey_;
  sortByFirstPosition(out);
  return out;
}

void sortByFirstPosition(std::vector<ColorCounter::Entry>& entries) {
  std::vector<ColorCounter::Entry> scratch(entries.size());
  for (unsigned shift = 0; shift < 33; shift += 11) {
    std::array<std::size_t, 2049> starts{};
    for (const auto& e : entries) ++starts[((e.firstPosition >> shift) & 2047) + 1];
    for (std::size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
    for (const auto& e : entries) scratch[starts[(e.firstPosition >> shift) & 2047]++] = e;
    entries.swap(scratch);
  }
}

PixelCounts countVisiblePixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes) {
  const std::size_t w = image.width(), h = image.height(), bytesPerRow = image.bytesPerRow();
  // Group sizes, then each visible pixel as (position << 16 | green << 8 | blue) in its
  // red byte's group.
  std::array<std::size_t, 257> starts{};
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* p = bytes.data() + y * bytesPerRow;
    for (std::size_t x = 0; x < w; ++x, p += 4) {
      if (p[3] >= 127) ++starts[p[2] + 1];
    }
  }
  for (std::size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
  ScratchBuffer<std::uint64_t> records(starts[256]);
  std::array<std::size_t, 256> next{};
  std::copy(starts.begin(), starts.end() - 1, next.begin());
  auto record = [h](const std::uint8_t* p, std::size_t x, std::size_t y) {
    return (static_cast<std::uint64_t>(x * h + y) << 16) | (static_cast<std::uint64_t>(p[1]) << 8) | p[0];
  };
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* p = bytes.data() + y * bytesPerRow;
    std::size_t x = 0;
    // Two neighbours of one red byte (the common case) take one step of the group's
    // write position instead of two dependent ones.
    for (; x + 1 < w; x += 2, p += 8) {
      if (p[3] >= 127 && p[7] >= 127 && p[2] == p[6]) {
        std::size_t& at = next[p[2]];
        records[at] = record(p, x, y);
        records[at + 1] = record(p + 4, x + 1, y);
        at += 2;
        continue;
      }
      if (p[3] >= 127) records[next[p[2]]++] = record(p, x, y);
      if (p[7] >= 127) records[next[p[6]]++] = record(p + 4, x + 1, y);
    }
    if (x < w && p[3] >= 127) records[next[p[2]]++] = record(p, x, y);
  }
  std::vector<std::uint32_t> counts(65536, 0), firsts(65536, 0);
  std::vector<ColorCounter::Entry> byKey;
  std::vector<std::uint16_t> seen;
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
    // Keys ascend with green and blue inside one red group.
    std::sort(seen.begin(), seen.end());
    for (std::uint16_t index : seen) {
      byKey.push_back({PackedColor::fromChannels(red, index >> 8, index & 255).value, counts[index], firsts[index]});
      counts[index] = 0;
    }
  }
  return PixelCounts(std::move(byKey));
}

}  // namespace kp::imaging_internal
