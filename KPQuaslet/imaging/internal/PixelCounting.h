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

// Counts the pixels of `image` (B,G,R,A premultiplied, its rows in `bytes`) whose alpha
// is 127 or more, keyed by PackedColor values; "first met" follows a column-by-column
// visit (columns left to right, each top to bottom).
// The memory it takes grows with the number of distinct colours, not with the number of
// pixels: the image is counted in bands of rows of at most kBandPixels pixels, whose
// working memory is reused band after band.
[[nodiscard]] ColorCounter countVisiblePixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes);

// The most pixels a band counted at once holds (8 bytes of working memory each).
inline constexpr std::size_t kBandPixels = std::size_t{1} << 18;

// Orders entries by their first position (positions are distinct).
void sortByFirstPosition(std::vector<ColorCounter::Entry>& entries);

}  // namespace kp::imaging_internal
