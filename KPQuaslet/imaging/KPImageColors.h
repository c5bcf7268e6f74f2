// File: KPQuaslet/imaging/KPImageColors.h
//
// The quality-stepped palette: a background colour (the most frequent colour among the
// image's visible pixels, preferring a chromatic one over near black and near white) and
// primary, secondary and detail colours that contrast with it and differ from one
// another.
//
//   kp::KPImageColors colors = kp::getColors(cover, kp::KPImageColorsQuality::high);
//   view.backgroundColor = *colors.background;
//
// All colour arithmetic works on 8-bit channels. See also UIImage+KPColors.h, an older
// extractor with different rules.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <type_traits>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// The four colours of a palette; a palette returned by getColors() has all four.
struct KPImageColors {
  std::optional<ios::UIColor> background;
  std::optional<ios::UIColor> primary;
  std::optional<ios::UIColor> secondary;
  std::optional<ios::UIColor> detail;

  friend bool operator==(const KPImageColors&, const KPImageColors&) = default;
};

// How far the image is scaled down before its pixels are counted: the longer side
// becomes 50 (lowest), 100 (low) or 250 (high) points; highest keeps the image's size.
enum class KPImageColorsQuality { lowest, low, high, highest };
// The four qualities, in declaration order.
[[nodiscard]] inline std::span<const KPImageColorsQuality> allCases(std::type_identity<KPImageColorsQuality>) {
  static constexpr KPImageColorsQuality cases[] = {KPImageColorsQuality::lowest, KPImageColorsQuality::low, KPImageColorsQuality::high, KPImageColorsQuality::highest};
  return cases;
}
// The case name, as the value is printed.
[[nodiscard]] std::string ios_describe(KPImageColorsQuality value);

// rawValue()
//
// The quality's raw value: 50, 100, 250, or 0 for highest.
[[nodiscard]] constexpr ios::CGFloat rawValue(KPImageColorsQuality quality) {
  switch (quality) {
    case KPImageColorsQuality::lowest: return 50;
    case KPImageColorsQuality::low: return 100;
    case KPImageColorsQuality::high: return 250;
    case KPImageColorsQuality::highest: return 0;
  }
  return 0;
}

// fromRawValue()
//
// The quality whose raw value equals `raw` exactly, or nothing
// (kp::fromRawValue<KPImageColorsQuality>(100.0) is low).
[[nodiscard]] constexpr std::optional<KPImageColorsQuality> fromRawValue(std::type_identity<KPImageColorsQuality>,
                                                                        ios::CGFloat raw) {
  for (auto q : {KPImageColorsQuality::lowest, KPImageColorsQuality::low, KPImageColorsQuality::high,
                 KPImageColorsQuality::highest}) {
    if (rawValue(q) == raw) return q;
  }
  return std::nullopt;
}

// getColors()
//
// The palette of `image`, on the caller's thread:
// 1. The image is drawn at the quality's size in an image context at the main screen's
//    scale; pixels with alpha below 127 are skipped, the others counted by their
//    (premultiplied) colour.
// 2. Background: among the colours counted more than height × 0.01 times (height in
//    pixels), the most frequent. When it is near black or white, each following colour
//    with more than 0.3 times its count takes its place, until one that is neither;
//    the first at or below 0.3 ends the scan. Black when no colour is frequent enough.
// 3. Primary, secondary, detail: every counted colour, raised to saturation 0.15 when
//    below it, whose darkness differs from the background's, taken by decreasing pixel
//    count; each must contrast with the background and be distinct from those taken.
// 4. A colour left unset is white on a dark background, black on a light one.
// Colours with equal counts keep the order in which their first pixel was met (columns
// left to right, each top to bottom). Counting takes memory in proportion to the number
// of distinct colours, not to the number of pixels: at highest quality a 12-megapixel
// photo on a 2× screen (48 million pixels) needs little beyond its two bitmaps. The
// calling thread keeps the counting tables of its first image of 32,768 pixels or more
// (at most 2.5 MiB) for the next one, so that a call neither allocates nor clears them.
//
// Stops the process with "KPImageColors.resizeForKPImageColors failed:
// UIGraphicsGetImageFromCurrentImageContext returned nil." when the image cannot be
// drawn (an empty image or a zero size), and with "KPImageColors.getColors failed: could
// not get cgImage data." when its pixels cannot be read, the drawn image having no
// bitmap included (checked, never read through).
[[nodiscard]] KPImageColors getColors(const ios::UIImage& image, KPImageColorsQuality quality);

// getColors() (asynchronous)
//
// Returns at once; extracts the palette as above on the global queue of default quality
// of service (keeping the image alive meanwhile) and hands it to `completion` on the main
// queue. There is no cancellation.
void getColors(const ios::UIImage& image, KPImageColorsQuality quality,
               std::function<void(KPImageColors)> completion);

}  // namespace kp
