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

// Where the red, green, blue and alpha bytes of a 4-byte pixel sit, and the least alpha
// a counted pixel has (0: every pixel).
struct PixelLayout {
  std::uint8_t red, green, blue, alpha;
  std::uint8_t minimumAlpha;
};
// B,G,R,A pixels with alpha 127 or more (the rendered images' own layout).
inline constexpr PixelLayout kVisibleBGRA{2, 1, 0, 3, 127};
// B,G,R,A pixels, every one of them.
inline constexpr PixelLayout kEveryBGRA{2, 1, 0, 3, 0};

// Counts the pixels of a w × h bitmap (rows of `bytesPerRow` bytes) that `Layout` admits,
// keyed by PackedColor values of their bytes as they stand; "first met" follows a
// column-by-column visit (columns left to right, each top to bottom).
// The memory it takes grows with the number of distinct colours, not with the number of
// pixels: the bitmap is counted in bands of rows of at most kBandPixels pixels, whose
// working memory is reused band after band and kept by the calling thread for its next
// bitmap (at most 2.5 MiB a thread), so that a call neither allocates nor clears it.
template <PixelLayout Layout>
[[nodiscard]] ColorCounter countPixels(const std::uint8_t* bytes, std::size_t w, std::size_t h,
                                       std::size_t bytesPerRow);
extern template ColorCounter countPixels<kVisibleBGRA>(const std::uint8_t*, std::size_t, std::size_t, std::size_t);
extern template ColorCounter countPixels<kEveryBGRA>(const std::uint8_t*, std::size_t, std::size_t, std::size_t);

// countPixels<kVisibleBGRA> over a rendered image and the copy of its bytes.
[[nodiscard]] ColorCounter countVisiblePixels(const ios::CGImage& image, const std::vector<std::uint8_t>& bytes);

// The most pixels a band counted at once holds (8 bytes of working memory each).
inline constexpr std::size_t kBandPixels = std::size_t{1} << 18;
// Bitmaps with fewer pixels are counted one pixel at a time into the counter, whose size
// follows the pixels, instead of through a band's fixed tables.
inline constexpr std::size_t kSmallImagePixels = std::size_t{1} << 15;

}  // namespace kp::imaging_internal
