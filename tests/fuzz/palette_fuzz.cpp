// Both palette extractors, colors(scaleDownSize:) and getColors(quality:), on images
// decoded from the input and on bitmaps built from it, at every screen scale.
// Invariants: every colour either extractor answers is an opaque RGB colour with
// components in 0...1, getColors() answers all four, and both answer the same palette
// when asked twice about the same image.
#include <cmath>
#include <optional>

#include "KPQuaslet/imaging/KPImageColors.h"
#include "KPQuaslet/imaging/UIImage+KPColors.h"
#include "platform/uikit/UIScreen.h"
#include "tests/fuzz/support/FuzzImages.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::CGFloat;
using ios::CGSize;

// The harness keeps every bitmap the extractors draw below this many pixels (a 500 ×
// 500 bitmap, what colors() draws for a square image by default, fits), so that one
// input stays fast and well inside the fuzzer's memory limit; the second extraction,
// for determinism, only runs on bitmaps of up to kRepeatBudget pixels.
constexpr double kPixelBudget = 1 << 18;
constexpr double kRepeatBudget = 1 << 14;

void checkColor(const ios::UIColor& color, const char* what) {
  CGFloat r = -1, g = -1, b = -1, a = -1;
  KP_FUZZ_CHECK(color.getRed(r, g, b, a), what);
  for (const CGFloat c : {r, g, b}) KP_FUZZ_CHECK(c >= 0 && c <= 1, what);
  KP_FUZZ_CHECK(a == 1, what);
}

bool sameColor(const ios::UIColor& x, const ios::UIColor& y) {
  CGFloat a[4], b[4];
  return x.getRed(a[0], a[1], a[2], a[3]) && y.getRed(b[0], b[1], b[2], b[3]) && a[0] == b[0] && a[1] == b[1] &&
         a[2] == b[2] && a[3] == b[3];
}

// Whether a bitmap of `points` at `scale` stays within `budget` pixels (one that cannot
// be made at all costs nothing).
bool affordable(CGSize points, double scale, double budget = kPixelBudget) {
  const double w = points.width * scale, h = points.height * scale;
  return !(std::isfinite(w) && std::isfinite(h) && std::abs(w * h) > budget);
}

void edgeColors(const ios::UIImage& image, std::optional<CGSize> scaleDownSize) {
  const CGSize own = image.size();
  const CGSize drawn = scaleDownSize.value_or(CGSize{250, 250 * own.height / own.width});
  if (!affordable(drawn, 2)) return;
  const kp::EdgeColors first = kp::colors(image, scaleDownSize);
  checkColor(first.background, "colors(): background");
  checkColor(first.primary, "colors(): primary");
  checkColor(first.secondary, "colors(): secondary");
  checkColor(first.detail, "colors(): detail");
  if (!affordable(drawn, 2, kRepeatBudget)) return;
  const kp::EdgeColors second = kp::colors(image, scaleDownSize);
  KP_FUZZ_CHECK(sameColor(first.background, second.background) && sameColor(first.primary, second.primary) &&
                    sameColor(first.secondary, second.secondary) && sameColor(first.detail, second.detail),
                "colors(): two answers for one image");
}

void qualityColors(const ios::UIImage& image, kp::KPImageColorsQuality quality) {
  // getColors() stops the process for an image it cannot draw (documented): only
  // images with pixels are asked, at a size that an image context can have.
  if (!image.cgImage()) return;
  const CGSize own = image.size();
  const CGFloat q = kp::rawValue(quality);
  const CGSize drawn = quality == kp::KPImageColorsQuality::highest ? own
                       : own.width < own.height                    ? CGSize{q * own.width / own.height, q}
                                                                   : CGSize{q, q * own.height / own.width};
  const CGFloat screen = ios::UIScreen::main().scale();
  if (!affordable(drawn, screen) || drawn.width * screen > 32767 || drawn.height * screen > 32767) return;
  const kp::KPImageColors first = kp::getColors(image, quality);
  KP_FUZZ_CHECK(first.background && first.primary && first.secondary && first.detail, "getColors(): a colour unset");
  checkColor(*first.background, "getColors(): background");
  checkColor(*first.primary, "getColors(): primary");
  checkColor(*first.secondary, "getColors(): secondary");
  checkColor(*first.detail, "getColors(): detail");
  if (!affordable(drawn, screen, kRepeatBudget)) return;
  const kp::KPImageColors second = kp::getColors(image, quality);
  KP_FUZZ_CHECK(sameColor(*first.background, *second.background) && sameColor(*first.primary, *second.primary) &&
                    sameColor(*first.secondary, *second.secondary) && sameColor(*first.detail, *second.detail),
                "getColors(): two answers for one image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  kp_fuzz::ImageInput in(data, size);
  constexpr CGFloat kScreens[] = {1, 2, 3};
  ios::testing::setMainScreenScale(kScreens[in.pick(2)]);
  // The settings first: a decoded image takes all the bytes left.
  const bool edge = in.flag();
  const auto quality = static_cast<kp::KPImageColorsQuality>(in.pick(3));
  std::optional<CGSize> scaleDownSize;
  if (in.flag()) scaleDownSize = in.size();
  std::optional<ios::UIImage> image;
  if (in.flag()) {
    image = ios::UIImage::fromData(in.rest());
    if (!image) return 0;
  } else {
    image = in.image(64);
  }
  if (edge) {
    edgeColors(*image, scaleDownSize);
  } else {
    qualityColors(*image, quality);
  }
  return 0;
}
