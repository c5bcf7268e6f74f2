// File: KPQuaslet/imaging/internal/PixelCounting.h
//
// KPImageColors' counting step: every pixel of a rendered image whose alpha is 127 or
// more, counted by its packed colour.
//
//   auto counts = kp::imaging_internal::countVisiblePixels(*image.cgImage(), bytes);
//   counts.count(PackedColor::fromChannels(255, 0, 0).value);
#pragma once

#include <cstdint>
#include <vector>

#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "platform/coregraphics/CGImage.h"

namespace kp::imaging_internal {

// The distinct colours of an image with their pixel counts.
class PixelCounts {
 public:
  explicit PixelCounts(std::vector<ColorCounter::Entry> byKey) : byKey_(std::move(byKey)) {}

  // How many pixels have `key` (0 when none).
  [[nodiscard]] std::uint32_t count(std::uint32_t key) const;
  [[nodiscard]] std::size_t size() const { return byKey_.size(); }
  // Every colour with its count, in the order its first pixel was met.
  [[nodiscard]] std::vector<ColorCounter::Entry> entries() const;

 private:
  std::vector<ColorCounter::Entry> byKey_;  // ascending keys
};

// Counts the pixels of `image` (B,G,R,A premultiplied, its rows in `bytes`) whose alpha
// is 127 or more, keyed by PackedColor values; "first met" follows a column-by-column
// visit (columns left to right, each top to bottom).
[[nodiscard]] PixelCounts countVisiblePixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes);

// Orders entries by their first position (positions are distinct).
void sortByFirstPosition(std::vector<ColorCounter::Entry>& entries);

}  // namespace kp::imaging_internal
