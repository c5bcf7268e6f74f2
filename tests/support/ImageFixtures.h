// Images built pixel by pixel for drawing and palette tests, and a reader of single
// pixels that decodes the common 32-bit layouts on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>

#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIImage.h"

namespace kp_test {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Rgba& c) {
    return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a) << ")";
  }
};

inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kGreen{0, 255, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};
inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kBlack{0, 0, 0, 255};
inline constexpr Rgba kClear{0, 0, 0, 0};

// A w × h CGImage in B,G,R,A premultiplied (the layout of UIKit image contexts); `pixel`
// gives premultiplied values for each column x and row y (row 0 at the top).
ios::CGImageRef makeBGRAImage(std::size_t w, std::size_t h, const std::function<Rgba(std::size_t, std::size_t)>& pixel);

// The same as a UIImage at `scale`.
ios::UIImage makeImage(std::size_t w, std::size_t h, const std::function<Rgba(std::size_t, std::size_t)>& pixel,
                       double scale = 1);

// The pixel at column x, row y (row 0 at the top of memory), read from 32-bit R,G,B,A,
// A,R,G,B, B,G,R,A or R,G,B,X layouts; values as stored (premultiplied when the layout is).
Rgba pixelAt(const ios::CGImage& image, std::size_t x, std::size_t y);

// The pixel at column x, row y of the picture as `image` shows it: its stored bitmap
// turned and mirrored by the image's orientation (up as stored; down turned by a half;
// left turned a quarter counter-clockwise, right a quarter clockwise; the mirrored ones
// flipped left to right first).
Rgba shownPixel(const ios::UIImage& image, std::size_t x, std::size_t y);

// A pixel different for every column and row of images up to 50 pixels a side.
Rgba distinctPixel(std::size_t x, std::size_t y);

// Whether the colour channels and alpha of `a` and `b` differ by at most `tolerance`.
bool near(Rgba a, Rgba b, int tolerance);

}  // namespace kp_test
