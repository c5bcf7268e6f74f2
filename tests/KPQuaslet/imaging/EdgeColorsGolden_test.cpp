// The edge-colour extractor against the way it counted before it kept its colours
// compactly: the same four colours, component for component, on varied pictures and
// sizes. The reference below is that earlier form, kept as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "KPQuaslet/imaging/UIImage+KPColors.h"
#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "tests/support/ImageFixtures.h"

namespace reference {

using namespace kp;

namespace {

using imaging_internal::ColorCounter;
using ios::CGFloat;
using ios::UIColor;

constexpr CGFloat kMinimumSaturation = 0.15;

struct CountedColor {
  UIColor color;
  std::uint32_t count;
};

// Smallest count first; equal counts keep their order.
using ByCount = imaging_internal::CountOrder<CountedColor>;

UIColor colorOfKey(std::uint32_t key) {
  return UIColor::colorWithRed(static_cast<CGFloat>((key >> 16) & 255) / 255,
                               static_cast<CGFloat>((key >> 8) & 255) / 255, static_cast<CGFloat>(key & 255) / 255, 1);
}

// The pixel count of `color`: colours counted from pixels are exact k/255 components at
// alpha 1, so any other colour (most raised ones) counts 0.
std::uint32_t countOf(const ColorCounter& counter, const UIColor& color) {
  const auto c = color.cgColor().components();
  if (color.cgColor().colorSpace().model() != ios::CGColorSpaceModel::rgb || c[3] != 1) return 0;
  std::uint32_t key = 0;
  for (int i = 0; i < 3; ++i) {
    const CGFloat scaled = std::round(c[i] * 255);
    if (!(scaled >= 0 && scaled <= 255) || static_cast<CGFloat>(scaled) / 255 != c[i]) return 0;
    key = (key << 8) | static_cast<std::uint32_t>(scaled);
  }
  return counter.count(key);
}

// The image redrawn at `size` points, scale 2, and its pixels as A,R,G,B bytes.
struct Pixels {
  std::size_t width = 0, height = 0;
  std::vector<std::uint8_t> argb;
};

std::optional<Pixels> render(const ios::UIImage& image, ios::CGSize size) {
  std::optional<ios::UIImage> scaled;
  {
    ios::UIGraphicsBeginImageContextWithOptions(size, false, 2.0);
    const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
    image.draw(ios::CGRect{{0, 0}, size});
    scaled = ios::UIGraphicsGetImageFromCurrentImageContext();
  }
  if (!scaled || !scaled->cgImage()) return std::nullopt;
  Pixels pixels;
  pixels.width = scaled->cgImage()->width();
  pixels.height = scaled->cgImage()->height();
  // A zeroed buffer: transparent pixels read as black.
  pixels.argb.assign(pixels.width * 4 * pixels.height, 0);
  auto context = ios::CGContext::make(pixels.argb.data(), pixels.width, pixels.height, 8, pixels.width * 4,
                                      ios::CGColorSpaceCreateDeviceRGB(), ios::kCGImageAlphaPremultipliedFirst);
  if (!context) return std::nullopt;
  context->draw(*scaled->cgImage(),
                {{0, 0}, {static_cast<CGFloat>(pixels.width), static_cast<CGFloat>(pixels.height)}});
  return pixels;
}

UIColor fallbackFor(const UIColor& background) {
  return luminosity(background) < 0.5 ? UIColor::colorWithRed(1, 1, 1, 1) : UIColor::colorWithRed(0, 0, 0, 1);
}

}  // namespace

kp::EdgeColors referenceColors(const ios::UIImage& image, std::optional<ios::CGSize> scaleDownSize) {
  const ios::CGSize pointSize = image.size();
  const ios::CGSize size = scaleDownSize.value_or(ios::CGSize{250, 250 * pointSize.height / pointSize.width});
  kp::EdgeColors result;
  result.background = UIColor::colorWithRed(0, 0, 0, 1);
  const std::optional<Pixels> pixels = render(image, size);
  if (!pixels) {
    result.primary = result.secondary = result.detail = fallbackFor(result.background);
    return result;
  }
  const std::size_t w = pixels->width, h = pixels->height;
  const auto threshold = static_cast<std::uint32_t>(static_cast<double>(h) * 0.01);

  // Count every pixel, and those of columns 5 to 10 once more as edge colours. Positions
  // follow the visiting order: columns left to right, each top to bottom.
  ColorCounter imageColors(4096), edgeColors(256);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = pixels->argb.data() + w * y * 4;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* p = row + x * 4;
      const std::uint32_t key = (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
      const auto position = static_cast<std::uint32_t>(x * h + y);
      imageColors.add(key, position);
      if (x >= 5 && x <= 10) edgeColors.add(key, position);
    }
  }

  std::vector<CountedColor> edges;
  for (const auto& entry : edgeColors.entries()) {
    if (entry.count >= threshold) edges.push_back({colorOfKey(entry.key), entry.count});
  }
  ByCount edgeOrder(std::move(edges), false);

  CountedColor candidate{UIColor::colorWithRed(0, 0, 0, 1), 1};
  if (!edgeOrder.empty()) {
    candidate = edgeOrder.next();
    // The visit starts at the candidate itself, which is passed over as black or white.
    while (isBlackOrWhite(candidate.color) && !edgeOrder.empty()) {
      const CountedColor entry = edgeOrder.next();
      if (entry.count / candidate.count > 0 && !isBlackOrWhite(entry.color)) {
        candidate = entry;
        break;
      }
    }
  }
  result.background = candidate.color;

  const bool backgroundIsDark = luminosity(result.background) < 0.5;
  std::vector<CountedColor> candidates;
  for (const auto& entry : imageColors.entries()) {
    const UIColor c = colorWithMinimumSaturation(colorOfKey(entry.key), kMinimumSaturation);
    if ((luminosity(c) < 0.5) != backgroundIsDark) candidates.push_back({c, countOf(imageColors, c)});
  }
  ByCount ordered(std::move(candidates), false);

  std::optional<UIColor> primary, secondary, detail;
  while (!ordered.empty()) {
    const UIColor c = ordered.next().color;
    if (!primary) {
      if (isContrasting(c, result.background)) primary = c;
    } else if (!secondary) {
      if (isDistinct(c, *primary) && isContrasting(c, result.background)) secondary = c;
    } else if (isDistinct(c, *secondary) && isDistinct(c, *primary) && isContrasting(c, result.background)) {
      detail = c;
      break;
    }
  }
  const UIColor fallback = fallbackFor(result.background);
  result.primary = primary.value_or(fallback);
  result.secondary = secondary.value_or(fallback);
  result.detail = detail.value_or(fallback);
  return result;
}


}  // namespace reference

namespace {

using kp_test::Rgba;

std::uint8_t byte(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

struct Picture {
  const char* name;
  std::size_t w, h;
  std::function<Rgba(std::size_t, std::size_t)> pixel;
};

std::vector<Picture> pictures() {
  auto noise = [](unsigned seed, bool translucent) {
    return [seed, translucent](std::size_t x, std::size_t y) {
      std::uint32_t v = static_cast<std::uint32_t>(x * 73856093u ^ y * 19349663u ^ seed);
      v = v * 2654435761u;
      const std::uint8_t a = translucent ? static_cast<std::uint8_t>(v >> 24) : 255;
      auto c = [a](std::uint32_t k) { return static_cast<std::uint8_t>(a == 0 ? 0 : k % (a + 1u)); };
      return Rgba{c(v & 255), c((v >> 8) & 255), c((v >> 16) & 255), a};
    };
  };
  return {
      {"photo-like gradient", 160, 120,
       [](std::size_t x, std::size_t y) { return Rgba{byte(x * 1.6), byte(y * 2.1), byte(90 + (x + y) % 7), 255}; }},
      {"noise", 97, 61, noise(1, false)},
      {"translucent noise", 64, 64, noise(2, true)},
      {"greys", 80, 40, [](std::size_t x, std::size_t y) { auto g = byte((x * 3 + y) % 256); return Rgba{g, g, g, 255}; }},
      {"few flat colours", 120, 90,
       [](std::size_t x, std::size_t y) {
         static const Rgba palette[] = {{250, 250, 250, 255}, {200, 30, 40, 255}, {20, 20, 25, 255},
                                        {30, 160, 60, 255},   {240, 200, 20, 255}, {10, 40, 200, 255}};
         return palette[(x / 17 + y / 13) % 6];
       }},
      {"dark with a light band", 50, 200,
       [](std::size_t x, std::size_t y) { return y > 80 && y < 100 ? Rgba{230, 220, byte(x * 5), 255} : Rgba{15, 10, byte(y), 255}; }},
      {"narrow", 5, 30, [](std::size_t x, std::size_t y) { return Rgba{byte(x * 50), byte(y * 8), 100, 255}; }},
  };
}

class EdgeColorsGolden : public ios::testing::PlatformFixture {};

TEST_F(EdgeColorsGolden, SameColoursAsTheEarlierCounting) {
  for (const Picture& p : pictures()) {
    for (double scale : {1.0, 2.0}) {
      const ios::UIImage image = kp_test::makeImage(p.w, p.h, p.pixel, scale);
      const std::optional<ios::CGSize> sizes[] = {std::nullopt, image.size(), ios::CGSize(33, 21)};
      for (const auto& size : sizes) {
        SCOPED_TRACE(::testing::Message() << p.name << " scale " << scale << " size "
                                          << (size ? std::to_string(size->width) : std::string("default")));
        const kp::EdgeColors expected = reference::referenceColors(image, size);
        const kp::EdgeColors actual = kp::colors(image, size);
        EXPECT_EQ(actual.background, expected.background);
        EXPECT_EQ(actual.primary, expected.primary);
        EXPECT_EQ(actual.secondary, expected.secondary);
        EXPECT_EQ(actual.detail, expected.detail);
      }
    }
  }
}

}  // namespace
