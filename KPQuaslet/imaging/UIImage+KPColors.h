// File: KPQuaslet/imaging/UIImage+KPColors.h
//
// The edge-colour palette: a background colour from a band of columns near the image's
// left edge, and primary, secondary and detail colours from the whole image that
// contrast with it and differ from one another.
//
//   kp::EdgeColors palette = kp::colors(cover, std::nullopt);
//   label.textColor = palette.primary;
//
// The image is redrawn at scale 2 (250 points wide unless a size is given) and every
// pixel is counted by its colour, transparent pixels as black. See also KPImageColors.h,
// a second extractor with different rules.
#pragma once

#include <optional>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// The four colours colors(scaleDownSize:) picks.
struct EdgeColors {
  ios::UIColor background = ios::UIColor::black();
  ios::UIColor primary = ios::UIColor::white();
  ios::UIColor secondary = ios::UIColor::white();
  ios::UIColor detail = ios::UIColor::white();
};

// colors()
//
// The palette of `image`, drawn first at `scaleDownSize` points (or 250 points wide with
// its aspect ratio) at scale 2. Runs on the caller's thread and draws in an image
// context of its own.
//
// - Background: among the colours of pixel columns 5 to 10 that occur at least
//   height × 0.01 times (height in pixels), the least frequent; when that one is
//   near black or white, the first other colour that is neither (or it stays).
//   Black when no edge colour is frequent enough.
// - Primary, secondary, detail: the image's colours, each raised to saturation 0.15
//   when below it, whose darkness differs from the background's, taken in increasing
//   order of pixel count; each must contrast with the background and be distinct from
//   the ones already taken.
// - A colour left unset is white on a dark background and black on a light one.
//
// Colours with equal counts keep the order in which their first pixel was met (columns
// left to right, each top to bottom). An image that cannot be drawn gives black and
// three whites. The cost follows the pixels counted and the distinct colours among them;
// like getColors(), the calling thread keeps its counting tables (at most 2.5 MiB) for
// its next image.
[[nodiscard]] EdgeColors colors(const ios::UIImage& image, std::optional<ios::CGSize> scaleDownSize);

}  // namespace kp
