// File: KPQuaslet/imaging/internal/PackedColor.h
//
// KPImageColors' colour: 8-bit channels packed in decimal, R × 1,000,000 + G × 1,000 + B
// (white is 255,255,255), with the tests the extractor applies to it.
//
//   auto grey = kp::imaging_internal::PackedColor::fromChannels(128, 128, 128);
//   grey.withMinSaturation(0.15).red();                        // 128 (green, blue 108)
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/uikit/UIColor.h"

namespace kp::imaging_internal {

struct PackedColor {
  std::uint32_t value = 0;

  [[nodiscard]] static constexpr PackedColor fromChannels(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return PackedColor{r * 1000000u + g * 1000u + b};
  }

  [[nodiscard]] constexpr std::uint32_t red() const { return value / 1000000u; }
  [[nodiscard]] constexpr std::uint32_t green() const { return (value / 1000u) % 1000u; }
  [[nodiscard]] constexpr std::uint32_t blue() const { return value % 1000u; }

  // 0.2126 R + 0.7152 G + 0.0722 B, on the 0...255 scale.
  [[nodiscard]] double luminance() const {
    return 0.2126 * static_cast<double>(red()) + 0.7152 * static_cast<double>(green()) +
           0.0722 * static_cast<double>(blue());
  }

  [[nodiscard]] bool isDark() const { return luminance() < 127.5; }

  // All channels above 232, or all below 23.
  [[nodiscard]] bool isBlackOrWhite() const {
    const std::uint32_t r = red(), g = green(), b = blue();
    return (r > 232 && g > 232 && b > 232) || (r < 23 && g < 23 && b < 23);
  }

  // (max L + 12.75) / (min L + 12.75) above 1.6.
  [[nodiscard]] bool isContrasting(PackedColor other) const {
    const double a = luminance(), b = other.luminance();
    return (std::max(a, b) + 12.75) / (std::min(a, b) + 12.75) > 1.6;
  }

  // Some channel differs by more than 63.75, unless both colours are near grey.
  [[nodiscard]] bool isDistinct(PackedColor other) const {
    const double r1 = red(), g1 = green(), b1 = blue();
    const double r2 = other.red(), g2 = other.green(), b2 = other.blue();
    const bool apart = std::fabs(r1 - r2) > 63.75 || std::fabs(g1 - g2) > 63.75 || std::fabs(b1 - b2) > 63.75;
    const bool bothGrey = std::fabs(r1 - g1) < 7.65 && std::fabs(r1 - b1) < 7.65 && std::fabs(r2 - g2) < 7.65 &&
                          std::fabs(r2 - b2) < 7.65;
    return apart && !bothGrey;
  }

  // The colour with saturation `s` and the same brightness when its saturation is
  // below `s` (a grey gets hue 0, red); channels are floored to 8 bits.
  [[nodiscard]] PackedColor withMinSaturation(double s) const {
    const double r = red() / 255.0, g = green() / 255.0, b = blue() / 255.0;
    const double maximum = std::max({r, g, b}), minimum = std::min({r, g, b}), delta = maximum - minimum;
    if ((maximum > 0 && delta / maximum >= s) || (maximum == 0 && !(s > 0))) return *this;
    double h = 0;
    if (delta != 0) {
      if (r == maximum) {
        h = std::fmod((g - b) / delta, 6.0);
      } else if (g == maximum) {
        h = (b - r) / delta + 2;
      } else {
        h = (r - g) / delta + 4;
      }
      if (h < 0) h += 6;
    }
    const double c = maximum * s;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    const double m = maximum - c;
    double r1 = 0, g1 = 0, b1 = 0;
    if (h >= 0 && h <= 1) {
      r1 = c, g1 = x;
    } else if (h > 1 && h <= 2) {
      r1 = x, g1 = c;
    } else if (h > 2 && h <= 3) {
      g1 = c, b1 = x;
    } else if (h > 3 && h <= 4) {
      g1 = x, b1 = c;
    } else if (h > 4 && h <= 5) {
      r1 = x, b1 = c;
    } else if (h > 5 && h < 6) {
      r1 = c, b1 = x;
    }
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::clamp(std::floor(v * 255), 0.0, 255.0)); };
    return fromChannels(channel(r1 + m), channel(g1 + m), channel(b1 + m));
  }

  // The opaque UIColor of the channels, each /255.
  [[nodiscard]] ios::UIColor uiColor() const {
    return ios::UIColor::colorWithRed(red() / 255.0, green() / 255.0, blue() / 255.0, 1);
  }

  friend constexpr bool operator==(PackedColor, PackedColor) = default;
};

}  // namespace kp::imaging_internal
