// File: bench/imaging/Photo.h
//
// The photo-like picture the imaging benchmarks share, made once per size.
//
//   const ios::UIImage& image = kp_bench::photo(4000, 3000);
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIImage.h"

namespace kp_bench {

// A photo-like picture: smooth gradients with a little noise (B,G,R,A, opaque).
inline const ios::UIImage& photo(std::size_t w, std::size_t h) {
  static std::vector<std::pair<std::pair<std::size_t, std::size_t>, ios::UIImage>> cache;
  for (const auto& [size, image] : cache) {
    if (size == std::pair(w, h)) return image;
  }
  std::vector<std::uint8_t> bytes(w * h * 4);
  std::uint32_t seed = 12345;
  for (std::size_t y = 0; y < h; ++y) {
    for (std::size_t x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      std::uint8_t* p = &bytes[(y * w + x) * 4];
      p[0] = static_cast<std::uint8_t>((x * 200 / w + y * 55 / h) + ((seed >> 28) & 3));
      p[1] = static_cast<std::uint8_t>(y * 255 / h);
      p[2] = static_cast<std::uint8_t>(x * 255 / w);
      p[3] = 255;
    }
  }
  auto cg = ios::CGImage::make(w, h, 8, 32, w * 4, ios::CGColorSpaceCreateDeviceRGB(),
                               ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little,
                               std::move(bytes));
  cache.emplace_back(std::pair(w, h), ios::UIImage(cg));
  return cache.back().second;
}

}  // namespace kp_bench
