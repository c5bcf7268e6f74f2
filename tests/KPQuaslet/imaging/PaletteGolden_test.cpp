// Both palette extractors against plain forms of their rules that count with an ordered
// map and a stable sort, as they were first written: the same four colours, component
// for component, on varied pictures (few and many colours, greys, ties, translucency)
// and sizes (one band of rows or several). The references below are those plain forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <random>
#include <vector>

#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/imaging/UIImage+KPColors.h"
#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace reference {

using namespace kp;

namespace {

using ios::CGFloat;
using ios::UIColor;

constexpr CGFloat kMinimumSaturation = 0.15;

// Colour keys counted in the order of a visit: how often, and where first seen.
class Counts {
 public:
  void add(std::uint32_t key, std::uint32_t position) {
    auto [it, inserted] = counts_.try_emplace(key, Seen{0, position});
    ++it->second.count;
    (void)inserted;
  }
  [[nodiscard]] std::uint32_t count(std::uint32_t key) const {
    const auto it = counts_.find(key);
    return it == counts_.end() ? 0 : it->second.count;
  }
  // Every key with its count, in the order first seen.
  [[nodiscard]] std::vector<std::pair<std::uint32_t, std::uint32_t>> inFirstSeenOrder() const {
    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> all;
    for (const auto& [key, seen] : counts_) all.emplace_back(seen.first, key, seen.count);
    std::sort(all.begin(), all.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const auto& [first, key, count] : all) out.emplace_back(key, count);
    return out;
  }

 private:
  struct Seen {
    std::uint32_t count, first;
  };
  std::map<std::uint32_t, Seen> counts_;
};

// `items` ordered by count (smallest or largest first), equal counts in their order.
template <class Item>
std::vector<Item> byCount(std::vector<Item> items, bool largestFirst) {
  std::stable_sort(items.begin(), items.end(), [largestFirst](const Item& a, const Item& b) {
    return largestFirst ? a.count > b.count : a.count < b.count;
  });
  return items;
}

struct CountedColor {
  UIColor color;
  std::uint32_t count;
};

UIColor colorOfKey(std::uint32_t key) {
  return UIColor::colorWithRed(static_cast<CGFloat>((key >> 16) & 255) / 255,
                               static_cast<CGFloat>((key >> 8) & 255) / 255, static_cast<CGFloat>(key & 255) / 255, 1);
}

// The pixel count of `color`: colours counted from pixels are exact k/255 components at
// alpha 1, so any other colour (most raised ones) counts 0.
std::uint32_t countOf(const Counts& counter, const UIColor& color) {
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
  Counts imageColors, edgeColors;
  for (std::size_t x = 0; x < w; ++x) {
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* p = pixels->argb.data() + (w * y + x) * 4;
      const std::uint32_t key = (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
      const auto position = static_cast<std::uint32_t>(x * h + y);
      imageColors.add(key, position);
      if (x >= 5 && x <= 10) edgeColors.add(key, position);
    }
  }

  std::vector<CountedColor> edges;
  for (const auto& [key, count] : edgeColors.inFirstSeenOrder()) {
    if (count >= threshold) edges.push_back({colorOfKey(key), count});
  }
  edges = byCount(std::move(edges), false);

  CountedColor candidate{UIColor::colorWithRed(0, 0, 0, 1), 1};
  if (!edges.empty()) {
    candidate = edges[0];
    // The visit starts at the candidate itself, which is passed over as black or white.
    if (isBlackOrWhite(candidate.color)) {
      for (const CountedColor& entry : edges) {
        if (entry.count / candidate.count > 0 && !isBlackOrWhite(entry.color)) {
          candidate = entry;
          break;
        }
      }
    }
  }
  result.background = candidate.color;

  const bool backgroundIsDark = luminosity(result.background) < 0.5;
  std::vector<CountedColor> candidates;
  for (const auto& [key, count] : imageColors.inFirstSeenOrder()) {
    const UIColor c = colorWithMinimumSaturation(colorOfKey(key), kMinimumSaturation);
    if ((luminosity(c) < 0.5) != backgroundIsDark) candidates.push_back({c, countOf(imageColors, c)});
  }

  std::optional<UIColor> primary, secondary, detail;
  for (const CountedColor& next : byCount(std::move(candidates), false)) {
    const UIColor c = next.color;
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

struct Counter {
  imaging_internal::PackedColor color;
  std::uint32_t count;
};

kp::KPImageColors referenceGetColors(const ios::UIImage& image, kp::KPImageColorsQuality quality) {
  using imaging_internal::PackedColor;
  ios::CGSize size = image.size();
  if (quality != kp::KPImageColorsQuality::highest) {
    const CGFloat q = kp::rawValue(quality);
    size = size.width < size.height ? ios::CGSize{q * size.width / size.height, q}
                                    : ios::CGSize{q, q * size.height / size.width};
  }
  std::optional<ios::UIImage> scaled;
  {
    ios::UIGraphicsBeginImageContextWithOptions(size, false, 0);
    const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
    image.draw(ios::CGRect{{0, 0}, size});
    scaled = ios::UIGraphicsGetImageFromCurrentImageContext();
  }
  const ios::CGImage& bitmap = *scaled->cgImage();
  const auto bytes = *ios::CGDataProviderCopyData(bitmap.dataProvider());
  const std::size_t w = bitmap.width(), h = bitmap.height();
  const auto threshold = static_cast<std::uint32_t>(static_cast<double>(h) * 0.01);
  Counts counts;
  for (std::size_t x = 0; x < w; ++x) {
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* p = bytes.data() + y * bitmap.bytesPerRow() + 4 * x;
      if (p[3] < 127) continue;
      counts.add(PackedColor::fromChannels(p[2], p[1], p[0]).value, static_cast<std::uint32_t>(x * h + y));
    }
  }
  const auto entries = counts.inFirstSeenOrder();
  std::vector<Counter> frequent;
  for (const auto& [key, count] : entries) {
    if (count > threshold) frequent.push_back({PackedColor{key}, count});
  }
  frequent = byCount(std::move(frequent), true);
  Counter candidate = frequent.empty() ? Counter{PackedColor{0}, 1} : frequent[0];
  if (candidate.color.isBlackOrWhite()) {
    for (std::size_t i = 1; i < frequent.size(); ++i) {
      if (!(static_cast<double>(frequent[i].count) / static_cast<double>(candidate.count) > 0.3)) break;
      candidate = frequent[i];
      if (!candidate.color.isBlackOrWhite()) break;
    }
  }
  const PackedColor background = candidate.color;
  std::vector<Counter> candidates;
  for (const auto& [key, count] : entries) {
    const PackedColor raised = PackedColor{key}.withMinSaturation(0.15);
    if (raised.isDark() != background.isDark()) candidates.push_back({raised, counts.count(raised.value)});
  }
  std::optional<PackedColor> primary, secondary, detail;
  for (const Counter& next : byCount(std::move(candidates), true)) {
    const PackedColor c = next.color;
    if (!primary) {
      if (c.isContrasting(background)) primary = c;
    } else if (!secondary) {
      if (c.isContrasting(background) && c.isDistinct(*primary)) secondary = c;
    } else if (c.isContrasting(background) && c.isDistinct(*secondary) && c.isDistinct(*primary)) {
      detail = c;
      break;
    }
  }
  const PackedColor fallback = background.isDark() ? PackedColor::fromChannels(255, 255, 255) : PackedColor{0};
  return {background.uiColor(), primary.value_or(fallback).uiColor(), secondary.value_or(fallback).uiColor(),
          detail.value_or(fallback).uiColor()};
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
      {"four colours in equal counts", 64, 48,
       [](std::size_t x, std::size_t y) {
         static const Rgba palette[] = {
             {250, 10, 10, 255}, {10, 250, 10, 255}, {10, 10, 250, 255}, {240, 240, 240, 255}};
         return palette[(x + 2 * y) % 4];
       }},
      {"greys beside their raised twins", 90, 70,
       [](std::size_t x, std::size_t y) {
         const std::uint8_t g = static_cast<std::uint8_t>(20 * (1 + (x / 9) % 12));
         // 128,108,108 is grey 128 raised to saturation 0.15; 17/255 is 20/255 raised.
         if ((x + y) % 5 == 0) return Rgba{128, 108, 108, 255};
         if ((x + y) % 7 == 0) return Rgba{20, 17, 17, 255};
         return Rgba{g, g, g, 255};
       }},
      {"every pixel its own colour", 300, 200,
       [](std::size_t x, std::size_t y) {
         const auto v = static_cast<std::uint32_t>((x * 400 + y) * 40503u + 777u);
         auto byteAt = [v](int shift) { return static_cast<std::uint8_t>(v >> shift); };
         return Rgba{byteAt(16), byteAt(8), byteAt(0), 255};
       }},
  };
}

class PaletteGolden : public ios::testing::PlatformFixture {};

// The four colours of two palettes (EdgeColors or KPImageColors) are the same.
template <class Palette>
void expectSamePalette(const Palette& actual, const Palette& expected) {
  EXPECT_EQ(actual.background, expected.background);
  EXPECT_EQ(actual.primary, expected.primary);
  EXPECT_EQ(actual.secondary, expected.secondary);
  EXPECT_EQ(actual.detail, expected.detail);
}

TEST_F(PaletteGolden, EdgeColorsAsThePlainRules) {
  const std::vector<Picture> all = pictures();
  for (const Picture& p : all) {
    for (double scale : {1.0, 2.0}) {
      const ios::UIImage image = kp_test::makeImage(p.w, p.h, p.pixel, scale);
      // The image's own size at scale 2, and once a large one counted in several bands of rows.
      std::vector<std::optional<ios::CGSize>> sizes = {std::nullopt, image.size(), ios::CGSize(33, 21)};
      if (&p == &all.front()) sizes.push_back(ios::CGSize(700, 500));
      for (const auto& size : sizes) {
        SCOPED_TRACE(::testing::Message() << p.name << " scale " << scale << " size "
                                          << (size ? std::to_string(size->width) : std::string("default")));
        expectSamePalette(kp::colors(image, size), reference::referenceColors(image, size));
      }
    }
  }
}

TEST_F(PaletteGolden, GetColorsAsThePlainRules) {
  for (const Picture& p : pictures()) {
    for (double screenScale : {1.0, 2.0}) {
      ios::testing::setMainScreenScale(screenScale);
      const ios::UIImage image = kp_test::makeImage(p.w, p.h, p.pixel);
      for (auto quality : {kp::KPImageColorsQuality::lowest, kp::KPImageColorsQuality::low,
                           kp::KPImageColorsQuality::high, kp::KPImageColorsQuality::highest}) {
        SCOPED_TRACE(::testing::Message() << p.name << " screen scale " << screenScale << " quality "
                                          << kp::rawValue(quality));
        expectSamePalette(kp::getColors(image, quality), reference::referenceGetColors(image, quality));
      }
    }
  }
}

}  // namespace
