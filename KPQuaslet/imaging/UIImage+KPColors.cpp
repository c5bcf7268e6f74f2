#include "KPQuaslet/imaging/UIImage+KPColors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "KPQuaslet/imaging/UIColor+KPExt.h"
#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "KPQuaslet/imaging/internal/PixelCounting.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/uikit/UIGraphics.h"

namespace kp {
namespace {

using imaging_internal::ColorCounter;
using imaging_internal::PackedColor;
using ios::CGFloat;
using ios::UIColor;

constexpr CGFloat kMinimumSaturation = 0.15;

struct CountedColor {
  UIColor color;
  std::uint32_t count;
  std::uint32_t firstPosition;
};

// A candidate for the primary, secondary and detail colours, in 12 bytes (an image may
// have as many colours as pixels): the counted colour it is raised from, the pixel count
// of the raised colour and where the counted colour was first met. The raised colour is
// made again only when the choice reaches it.
struct Candidate {
  std::uint32_t key;
  std::uint32_t count;
  std::uint32_t firstPosition;
};

// Smallest count first; equal counts in the order their colours were first met.
using ByCount = imaging_internal::CountOrder<CountedColor>;

// Colours are counted under PackedColor keys of their red, green and blue bytes.
UIColor colorOfKey(std::uint32_t key) {
  const PackedColor c{key};
  return UIColor::colorWithRed(static_cast<CGFloat>(c.red()) / 255, static_cast<CGFloat>(c.green()) / 255,
                               static_cast<CGFloat>(c.blue()) / 255, 1);
}

// The pixel count of `color`: colours counted from pixels are exact k/255 components at
// alpha 1, so any other colour (most raised ones) counts 0.
std::uint32_t countOf(const ColorCounter& counter, const UIColor& color) {
  const auto c = color.cgColor().components();
  if (color.cgColor().colorSpace().model() != ios::CGColorSpaceModel::rgb || c[3] != 1) return 0;
  std::uint32_t bytes[3];
  for (int i = 0; i < 3; ++i) {
    const CGFloat scaled = std::round(c[i] * 255);
    if (!(scaled >= 0 && scaled <= 255) || static_cast<CGFloat>(scaled) / 255 != c[i]) return 0;
    bytes[i] = static_cast<std::uint32_t>(scaled);
  }
  return counter.count(PackedColor::fromChannels(bytes[0], bytes[1], bytes[2]).value);
}

// The image redrawn at `size` points, scale 2, and its pixels as premultiplied B,G,R,A
// bytes: the image context's own bitmap, which has that layout, read where it is.
// Drawing it once more into a bitmap of its own size and of the same bytes in another
// order (alpha, red, green, blue) would give the same colour bytes, transparent pixels
// as black, at the cost of two more copies.
struct Pixels {
  ios::CGImageRef image;                    // holds the bytes
  std::vector<std::uint8_t> redrawn;        // the bytes, when the bitmap had another layout
  const std::uint8_t* bytes = nullptr;
  std::size_t width = 0, height = 0, bytesPerRow = 0;
};

constexpr ios::CGBitmapInfo kPremultipliedBGRA =
    ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little;

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
  pixels.image = scaled->cgImage();
  const ios::CGImage& bitmap = *pixels.image;
  pixels.width = bitmap.width();
  pixels.height = bitmap.height();
  if (bitmap.bitsPerPixel() == 32 && bitmap.bitmapInfo() == kPremultipliedBGRA) {
    pixels.bytes = bitmap.dataProvider()->bytes().data();
    pixels.bytesPerRow = bitmap.bytesPerRow();
    return pixels;
  }
  // A zeroed buffer: transparent pixels read as black.
  pixels.bytesPerRow = pixels.width * 4;
  pixels.redrawn.assign(pixels.bytesPerRow * pixels.height, 0);
  auto context = ios::CGContext::make(pixels.redrawn.data(), pixels.width, pixels.height, 8, pixels.bytesPerRow,
                                      ios::CGColorSpaceCreateDeviceRGB(), kPremultipliedBGRA);
  if (!context) return std::nullopt;
  context->draw(bitmap, {{0, 0}, {static_cast<CGFloat>(pixels.width), static_cast<CGFloat>(pixels.height)}});
  pixels.bytes = pixels.redrawn.data();
  return pixels;
}

UIColor fallbackFor(const UIColor& background) {
  return luminosity(background) < 0.5 ? UIColor::colorWithRed(1, 1, 1, 1) : UIColor::colorWithRed(0, 0, 0, 1);
}

}  // namespace

EdgeColors colors(const ios::UIImage& image, std::optional<ios::CGSize> scaleDownSize) {
  const ios::CGSize pointSize = image.size();
  const ios::CGSize size = scaleDownSize.value_or(ios::CGSize{250, 250 * pointSize.height / pointSize.width});
  EdgeColors result;
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
  const ColorCounter imageColors =
      imaging_internal::countPixels<imaging_internal::kEveryBGRA>(pixels->bytes, w, h, pixels->bytesPerRow);
  ColorCounter edgeColors(256);
  for (std::size_t x = 5; x <= 10 && x < w; ++x) {
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* p = pixels->bytes + pixels->bytesPerRow * y + x * 4;
      edgeColors.add(PackedColor::fromChannels(p[2], p[1], p[0]).value, static_cast<std::uint32_t>(x * h + y));
    }
  }

  std::vector<CountedColor> edges;
  edgeColors.forEach([&](const ColorCounter::Entry& entry) {
    if (entry.count >= threshold) edges.push_back({colorOfKey(entry.key), entry.count, entry.firstPosition});
  });
  ByCount edgeOrder(std::move(edges), false);

  CountedColor candidate{UIColor::colorWithRed(0, 0, 0, 1), 1, 0};
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
  auto raised = [](std::uint32_t key) { return colorWithMinimumSaturation(colorOfKey(key), kMinimumSaturation); };
  std::vector<Candidate> candidates;
  imageColors.forEach([&](const ColorCounter::Entry& entry) {
    const UIColor c = raised(entry.key);
    if ((luminosity(c) < 0.5) == backgroundIsDark) return;
    // A colour saturated enough is its own candidate, with its own count.
    const std::uint32_t count = c == colorOfKey(entry.key) ? entry.count : countOf(imageColors, c);
    candidates.push_back({entry.key, count, entry.firstPosition});
  });
  imaging_internal::CountOrder<Candidate> ordered(std::move(candidates), false);

  std::optional<UIColor> primary, secondary, detail;
  while (!ordered.empty()) {
    const UIColor c = raised(ordered.next().key);
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

}  // namespace kp
