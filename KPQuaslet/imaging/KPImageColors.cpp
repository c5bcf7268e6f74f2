#include "KPQuaslet/imaging/KPImageColors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/Precondition.h"
#include "platform/uikit/UIGraphics.h"

namespace kp {
namespace {

using imaging_internal::ColorCounter;
using imaging_internal::PackedColor;
using ios::CGFloat;

struct Counter {
  PackedColor color;
  std::uint64_t count;
};

// Descending by count; equal counts keep their order.
void sortDescending(std::vector<Counter>& counters) {
  std::stable_sort(counters.begin(), counters.end(), [](const Counter& a, const Counter& b) { return a.count > b.count; });
}

ios::CGSize scaledSize(ios::CGSize size, KPImageColorsQuality quality) {
  if (quality == KPImageColorsQuality::highest) return size;
  const CGFloat q = rawValue(quality);
  if (size.width < size.height) return {q * size.width / size.height, q};
  return {q, q * size.height / size.width};
}

ios::UIImage resizeForKPImageColors(const ios::UIImage& image, ios::CGSize size) {
  ios::UIGraphicsBeginImageContextWithOptions(size, false, 0);
  image.draw(ios::CGRect{{0, 0}, size});
  std::optional<ios::UIImage> result = ios::UIGraphicsGetImageFromCurrentImageContext();
  if (!result) {
    ios::UIGraphicsEndImageContext();
    ios::fatalError(
        "KPImageColors.resizeForKPImageColors failed: UIGraphicsGetImageFromCurrentImageContext returned nil.");
  }
  ios::UIGraphicsEndImageContext();
  return *result;
}

// Counts the pixels of `image` (B,G,R,A premultiplied) whose alpha is 127 or more.
ColorCounter countPixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes) {
  const std::size_t w = image.width(), h = image.height(), bytesPerRow = image.bytesPerRow();
  ColorCounter counter(4096);
  // Rows are read in memory order; runs of one colour are counted at once. Positions
  // are those of the column-by-column visit, so first-seen order does not depend on it.
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = bytes.data() + y * bytesPerRow;
    std::size_t x = 0;
    while (x < w) {
      const std::uint8_t* p = row + 4 * x;
      if (p[3] < 127) {
        ++x;
        continue;
      }
      const std::uint32_t word = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                 (static_cast<std::uint32_t>(p[2]) << 16);
      std::size_t end = x + 1;
      while (end < w) {
        const std::uint8_t* q = row + 4 * end;
        if (q[3] < 127 || q[0] != p[0] || q[1] != p[1] || q[2] != p[2]) break;
        ++end;
      }
      const PackedColor color = PackedColor::fromChannels((word >> 16) & 255, (word >> 8) & 255, word & 255);
      counter.add(color.value, static_cast<std::uint64_t>(x) * h + y, end - x);
      x = end;
    }
  }
  return counter;
}

}  // namespace

KPImageColors getColors(const ios::UIImage& image, KPImageColorsQuality quality) {
  const ios::UIImage scaled = resizeForKPImageColors(image, scaledSize(image.size(), quality));
  const ios::CGImage& cgImage = *scaled.cgImage();
  const auto threshold = static_cast<std::uint64_t>(static_cast<double>(cgImage.height()) * 0.01);
  const std::optional<std::vector<std::uint8_t>> bytes = ios::CGDataProviderCopyData(cgImage.dataProvider());
  if (!bytes) ios::fatalError("KPImageColors.getColors failed: could not get cgImage data.");
  const ColorCounter counter = countPixels(cgImage, *bytes);
  const auto entries = counter.entries();

  std::vector<Counter> frequent;
  for (const auto& entry : entries) {
    if (entry.count > threshold) frequent.push_back({PackedColor{entry.key}, entry.count});
  }
  sortDescending(frequent);

  Counter candidate = frequent.empty() ? Counter{PackedColor{0}, 1} : frequent.front();
  if (candidate.color.isBlackOrWhite()) {
    for (std::size_t i = 1; i < frequent.size(); ++i) {
      const double ratio = static_cast<double>(frequent[i].count) / static_cast<double>(candidate.count);
      if (!(ratio > 0.3)) break;
      candidate = frequent[i];
      if (!candidate.color.isBlackOrWhite()) break;
    }
  }
  const PackedColor background = candidate.color;
  const bool backgroundIsDark = background.isDark();

  std::vector<Counter> candidates;
  for (const auto& entry : entries) {
    const PackedColor raised = PackedColor{entry.key}.withMinSaturation(0.15);
    if (raised.isDark() != backgroundIsDark) candidates.push_back({raised, counter.count(raised.value)});
  }
  sortDescending(candidates);

  std::optional<PackedColor> primary, secondary, detail;
  for (const Counter& entry : candidates) {
    const PackedColor c = entry.color;
    if (!primary) {
      if (c.isContrasting(background)) primary = c;
    } else if (!secondary) {
      if (c.isContrasting(background) && c.isDistinct(*primary)) secondary = c;
    } else if (c.isContrasting(background) && c.isDistinct(*secondary) && c.isDistinct(*primary)) {
      detail = c;
      break;
    }
  }
  const PackedColor fallback = backgroundIsDark ? PackedColor::fromChannels(255, 255, 255) : PackedColor{0};
  return KPImageColors{background.uiColor(), primary.value_or(fallback).uiColor(),
                       secondary.value_or(fallback).uiColor(), detail.value_or(fallback).uiColor()};
}

}  // namespace kp
