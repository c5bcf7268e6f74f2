#include "KPQuaslet/imaging/KPImageColors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/imaging/internal/ColorCounter.h"
#include "KPQuaslet/imaging/internal/PackedColor.h"
#include "KPQuaslet/imaging/internal/PixelCounting.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/uikit/UIGraphics.h"

namespace kp {
namespace {

using imaging_internal::PackedColor;
using ios::CGFloat;

struct Counter {
  PackedColor color;
  std::uint32_t count;
  std::uint32_t firstPosition;  // of the counted colour it comes from
};

// Largest count first; equal counts in the order their colours were first met.
using ByCount = imaging_internal::CountOrder<Counter>;

ios::CGSize scaledSize(ios::CGSize size, KPImageColorsQuality quality) {
  if (quality == KPImageColorsQuality::highest) return size;
  const CGFloat q = rawValue(quality);
  if (size.width < size.height) return {q * size.width / size.height, q};
  return {q, q * size.height / size.width};
}

ios::UIImage resizeForKPImageColors(const ios::UIImage& image, ios::CGSize size) {
  ios::UIGraphicsBeginImageContextWithOptions(size, false, 0);
  const ios::ScopeExit endContext([] { ios::UIGraphicsEndImageContext(); });
  image.draw(ios::CGRect{{0, 0}, size});
  std::optional<ios::UIImage> result = ios::UIGraphicsGetImageFromCurrentImageContext();
  if (!result) {
    ios::fatalError(
        "KPImageColors.resizeForKPImageColors failed: UIGraphicsGetImageFromCurrentImageContext returned nil.");
  }
  return *result;
}

}  // namespace

KPImageColors getColors(const ios::UIImage& image, KPImageColorsQuality quality) {
  const ios::UIImage scaled = resizeForKPImageColors(image, scaledSize(image.size(), quality));
  // An image without a bitmap has no bytes to read, like one whose bytes cannot be copied.
  const ios::CGImageRef& bitmap = scaled.cgImage();
  const std::optional<std::vector<std::uint8_t>> bytes =
      bitmap ? ios::CGDataProviderCopyData(bitmap->dataProvider()) : std::nullopt;
  if (!bytes) ios::fatalError("KPImageColors.getColors failed: could not get cgImage data.");
  const ios::CGImage& cgImage = *bitmap;
  const auto threshold = static_cast<std::uint64_t>(static_cast<double>(cgImage.height()) * 0.01);
  const imaging_internal::ColorCounter counter = imaging_internal::countVisiblePixels(cgImage, *bytes);

  std::vector<Counter> frequent;
  counter.forEach([&](const imaging_internal::ColorCounter::Entry& entry) {
    if (entry.count > threshold) frequent.push_back({PackedColor{entry.key}, entry.count, entry.firstPosition});
  });
  ByCount byCount(std::move(frequent), true);

  Counter candidate = byCount.empty() ? Counter{PackedColor{0}, 1, 0} : byCount.next();
  if (candidate.color.isBlackOrWhite()) {
    while (!byCount.empty()) {
      const Counter next = byCount.next();
      const double ratio = static_cast<double>(next.count) / static_cast<double>(candidate.count);
      if (!(ratio > 0.3)) break;
      candidate = next;
      if (!candidate.color.isBlackOrWhite()) break;
    }
  }
  const PackedColor background = candidate.color;
  const bool backgroundIsDark = background.isDark();

  std::vector<Counter> candidates;
  counter.forEach([&](const imaging_internal::ColorCounter::Entry& entry) {
    const PackedColor raised = PackedColor{entry.key}.withMinSaturation(0.15);
    if (raised.isDark() == backgroundIsDark) return;
    // A colour saturated enough is its own candidate, with its own count.
    const std::uint32_t count = raised.value == entry.key ? entry.count : counter.count(raised.value);
    candidates.push_back({raised, count, entry.firstPosition});
  });
  ByCount ordered(std::move(candidates), true);

  std::optional<PackedColor> primary, secondary, detail;
  while (!ordered.empty()) {
    const PackedColor c = ordered.next().color;
    if (!primary) {
      if (c.isContrasting(background)) primary = c;
    } else if (!secondary) {
      if (c.isContrasting(background) && c.isDistinct(*primary)) secondary = c;
    } else if (c.isContrasting(background) && c.isDistinct(*secondary) && c.isDistinct(*primary)) {
      detail = c;
      break;
    }
  }
  const PackedColor fallback = backgroundIsDark ? PackedColor::fromChannels(255, 255, 255) : PackedColor{0};
  return KPImageColors{background.uiColor(), primary.value_or(fallback).uiColor(),
                       secondary.value_or(fallback).uiColor(), detail.value_or(fallback).uiColor()};
}

}  // namespace kp

namespace kp {

void getColors(const ios::UIImage& image, KPImageColorsQuality quality, std::function<void(KPImageColors)> completion) {
  ios::DispatchQueue::global(ios::DispatchQoS::default_).async(
      [image, quality, completion = std::move(completion)]() mutable {
        KPImageColors colors = getColors(image, quality);
        ios::DispatchQueue::main().async(
            [colors = std::move(colors), completion = std::move(completion)] { completion(colors); });
      });
}

std::string ios_describe(KPImageColorsQuality value) {
  switch (value) {
    case KPImageColorsQuality::lowest: return "lowest";
    case KPImageColorsQuality::low: return "low";
    case KPImageColorsQuality::high: return "high";
    case KPImageColorsQuality::highest: return "highest";
  }
  notACase("KPImageColorsQuality", static_cast<std::int64_t>(value));
}

}  // namespace kp
