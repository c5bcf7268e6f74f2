// The image extensions on odd inputs: a small bitmap of any kept layout, scale and
// orientation (or the empty image), then resizing, scaling, rendering, cropping,
// orientation fixing, decoding, rounded corners, solid and tinted images, gradients
// and JPEG compression, with sizes that are 0, 1, fractional, negative, NaN, infinite,
// huge within the limits or beyond them.
// Invariants: every image context opened is ended; each result is the receiver (or no
// image) exactly when the documented rules say no bitmap can be made, and otherwise has
// the pixel size, scale and orientation those rules give.
#include <cmath>
#include <optional>
#include <vector>

#include "KPQuaslet/imaging/Gradient.h"
#include "KPQuaslet/imaging/RoundedCorners.h"
#include "KPQuaslet/imaging/UIImage+KPCreation.h"
#include "KPQuaslet/imaging/UIImage+KPEncoding.h"
#include "KPQuaslet/imaging/UIImage+KPGeometry.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "tests/fuzz/support/FuzzImages.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::CGFloat;
using ios::CGSize;
using ios::UIImage;

// The harness keeps every bitmap it asks for below this many pixels, so that one input
// stays well inside the fuzzer's memory limit; larger requests are skipped.
constexpr double kPixelBudget = 1 << 22;
// The widest and tallest bitmap a context can have.
constexpr double kMaximumSide = 32767;

struct Pixels {
  std::size_t width = 0, height = 0;
  friend bool operator==(const Pixels&, const Pixels&) = default;
};

Pixels pixelsOf(const UIImage& image) {
  return image.cgImage() ? Pixels{image.cgImage()->width(), image.cgImage()->height()} : Pixels{};
}

// What the documented rule of an image context (ceil(points × scale) pixels a side,
// none when that is not finite, not above 0 or above 32767) gives for one side: the
// pixel count, 0 for no context, or -1 when the product is so close above a whole
// number (or 0) that rounding could go either way (the harness then checks less).
double sideFor(double points, double scale) {
  const double x = points * scale;
  if (!std::isfinite(x) || x <= 0) return 0;
  const double low = std::ceil(x - 1e-6), high = std::ceil(x);
  if (low > kMaximumSide) return 0;
  if (low != high || low < 1) return -1;
  return high;
}

// The expected bitmap of a context of `points` at `scale`: nothing when none can be
// made; `ambiguous` is set when rounding leaves the size open.
struct Expected {
  bool made = false;
  bool ambiguous = false;
  Pixels pixels;
};

Expected contextFor(CGSize points, double scale) {
  const double w = sideFor(points.width, scale), h = sideFor(points.height, scale);
  Expected e;
  if (w == 0 || h == 0) return e;
  e.made = true;
  e.ambiguous = w < 0 || h < 0;
  if (!e.ambiguous) e.pixels = {static_cast<std::size_t>(w), static_cast<std::size_t>(h)};
  return e;
}

bool affordable(CGSize points, double scale) {
  const double w = points.width * scale, h = points.height * scale;
  return !(std::isfinite(w) && std::isfinite(h) && std::abs(w) <= kMaximumSide + 1 && std::abs(h) <= kMaximumSide + 1 &&
           std::abs(w) * std::abs(h) > kPixelBudget);
}

// Checks a result against its expected bitmap; `fallback` is true when the result is
// the receiver (or no image) as the function answers without a bitmap.
void checkMade(const Expected& e, bool fallback, const Pixels& got, const char* what) {
  if (e.ambiguous) return;
  if (!e.made) {
    if (!fallback) kp_fuzz::invariantFailed(what, __FILE__, __LINE__);
    return;
  }
  if (fallback || !(got == e.pixels)) kp_fuzz::invariantFailed(what, __FILE__, __LINE__);
}

using Input = kp_fuzz::ImageInput;

CGFloat screenScale() { return ios::UIScreen::main().scale(); }

// The pixel size of the picture as the image shows it.
Pixels uprightPixels(const UIImage& image) {
  const Pixels p = pixelsOf(image);
  using O = ios::UIImageOrientation;
  const O o = image.imageOrientation();
  const bool turned = o == O::left || o == O::right || o == O::leftMirrored || o == O::rightMirrored;
  return turned ? Pixels{p.height, p.width} : p;
}

// A re-encoded image comes back at the receiver's scale or at scale 1 (the library has
// documented both).
bool keepsOrResetsScale(const UIImage& result, const UIImage& receiver) {
  return result.scale() == receiver.scale() || result.scale() == 1;
}

bool within(const Pixels& part, const Pixels& whole) {
  return part.width >= 1 && part.height >= 1 && part.width <= whole.width && part.height <= whole.height;
}

void resizing(Input& in, const UIImage& image) {
  const CGSize target = in.size();
  const CGSize own = image.size();
  const double r = std::min(target.width / own.width, target.height / own.height);
  const CGSize fitted{std::floor(own.width * r), std::floor(own.height * r)};
  const double s = screenScale();
  const CGSize context{s * fitted.width, s * fitted.height};
  if (!affordable(context, 1)) return;
  const UIImage result = kp::resizeTo(image, target);
  checkMade(contextFor(context, 1), result == image, pixelsOf(result), "resizeTo: size");
  if (!(result == image)) KP_FUZZ_CHECK(result.scale() == 1, "resizeTo: scale");
}

void scaling(Input& in, const UIImage& image) {
  const CGSize own = image.size();
  const bool byHeight = in.flag(), opaque = in.flag();
  const CGFloat side = in.length();
  const CGSize size = byHeight ? CGSize{side * (own.width / own.height), side} : CGSize{side, side * (own.height / own.width)};
  if (!affordable(size, screenScale())) return;
  const auto result = byHeight ? kp::scaledToHeight(image, side, opaque) : kp::scaledToWidth(image, side, opaque);
  checkMade(contextFor(size, screenScale()), !result, result ? pixelsOf(*result) : Pixels{}, "scaled: size");
  if (result) KP_FUZZ_CHECK(result->scale() == screenScale(), "scaled: scale");
}

void rendering(Input& in, const UIImage& image) {
  const CGSize size = in.size();
  const CGSize whole{std::ceil(size.width), std::ceil(size.height)};
  if (!affordable(whole, screenScale())) return;
  const UIImage result = kp::renderAtSize(image, size);
  checkMade(contextFor(whole, screenScale()), result == image, pixelsOf(result), "renderAtSize: size");
  if (!(result == image)) KP_FUZZ_CHECK(result.scale() == 1, "renderAtSize: scale");
}

void shrinking(Input& in, const UIImage& image) {
  const UIImage result = kp::scaleToMinSideLength(image, in.length());
  if (result == image) return;
  KP_FUZZ_CHECK(within(pixelsOf(result), uprightPixels(image)), "scaleToMinSideLength grew the image");
}

void cropping(Input& in, const UIImage& image) {
  const Pixels own = pixelsOf(image);
  const UIImage part = kp::cropped(image, in.rect());
  if (!(part == image)) KP_FUZZ_CHECK(within(pixelsOf(part), own), "cropped: not inside the bitmap");
  const UIImage square = kp::largestCenteredSquareImage(image);
  if (image.cgImage()) {
    const std::size_t side = std::min(own.width, own.height);
    KP_FUZZ_CHECK(pixelsOf(square) == (Pixels{side, side}), "largestCenteredSquareImage: not the largest square");
    KP_FUZZ_CHECK(square.scale() == image.scale() && square.imageOrientation() == image.imageOrientation(),
                  "largestCenteredSquareImage: scale or orientation");
  }
  const UIImage ratio = kp::cropToAspectRatio(image, in.anyNumber());
  if (!(ratio == image)) {
    KP_FUZZ_CHECK(within(pixelsOf(ratio), own), "cropToAspectRatio: not inside the bitmap");
    KP_FUZZ_CHECK(ratio.imageOrientation() == image.imageOrientation(), "cropToAspectRatio: orientation");
  }
}

void orienting(Input& in, const UIImage& image) {
  const auto upright = kp::adjustOrientation(image);
  if (image.imageOrientation() == ios::UIImageOrientation::up) {
    KP_FUZZ_CHECK(upright && *upright == image, "adjustOrientation: an upright image is not returned as it is");
  } else if (image.cgImage()) {
    // Upright, either at the bitmap's own pixels and scale or at its whole points and
    // scale 1 (the library has documented both); nothing only when a side has no whole
    // point.
    const CGSize points = image.size();
    const Pixels whole{static_cast<std::size_t>(points.width), static_cast<std::size_t>(points.height)};
    if (upright) {
      KP_FUZZ_CHECK(upright->imageOrientation() == ios::UIImageOrientation::up &&
                        ((pixelsOf(*upright) == uprightPixels(image) && upright->scale() == image.scale()) ||
                         (pixelsOf(*upright) == whole && upright->scale() == 1)),
                    "adjustOrientation: not the upright bitmap");
    } else {
      KP_FUZZ_CHECK(whole.width == 0 || whole.height == 0, "adjustOrientation: nothing for a drawable image");
    }
  } else {
    KP_FUZZ_CHECK(!upright, "adjustOrientation: an image from no bitmap");
  }
  const CGSize size = in.size();
  const CGSize whole{std::ceil(size.width), std::ceil(size.height)};
  if (!affordable(whole, 1)) return;
  const auto quality = static_cast<ios::CGInterpolationQuality>(in.pick(4));
  Expected e = contextFor(whole, 1);
  e.made = e.made && image.cgImage();
  if (in.flag()) {
    const auto resized = kp::resizeTo(image, size, quality);
    checkMade(e, !resized, resized ? pixelsOf(*resized) : Pixels{}, "resizeTo(quality): size");
    return;
  }
  // Any transform at all, singular and non-finite ones included.
  const CGFloat a = in.anyNumber(), b = in.anyNumber(), c = in.anyNumber(), d = in.anyNumber();
  const CGFloat tx = in.anyNumber(), ty = in.anyNumber();
  const auto drawn = kp::resizeTo(image, size, ios::CGAffineTransform{a, b, c, d, tx, ty}, in.flag(), quality);
  checkMade(e, !drawn, drawn ? pixelsOf(*drawn) : Pixels{}, "resizeTo(transform): size");
  if (drawn) KP_FUZZ_CHECK(drawn->scale() == 1 && drawn->imageOrientation() == ios::UIImageOrientation::up,
                           "resizeTo(transform): scale or orientation");
}

void decoding(Input& in, const UIImage& image) {
  const CGFloat scale = in.anyNumber();
  const UIImage result = kp::decodedWith(image, scale);
  if (!image.cgImage()) {
    KP_FUZZ_CHECK(result == image, "decodedWith: an image from no bitmap");
    return;
  }
  KP_FUZZ_CHECK(pixelsOf(result) == pixelsOf(image) && result.imageOrientation() == image.imageOrientation(),
                "decodedWith: size or orientation");
  KP_FUZZ_CHECK(result.scale() == (scale > 0 && std::isfinite(scale) ? scale : 1), "decodedWith: scale");
}

void rounding(Input& in, const UIImage& image) {
  const CGFloat radius = in.anyNumber();
  const Expected own = contextFor(image.size(), image.scale());
  const UIImage clipped = kp::imageByRoundingCornersTo(image, radius);
  checkMade(own, clipped == image, pixelsOf(clipped), "imageByRoundingCornersTo: size");
  if (!(clipped == image)) {
    KP_FUZZ_CHECK(clipped.scale() == image.scale(), "imageByRoundingCornersTo: scale");
    const auto insets = clipped.capInsets();
    KP_FUZZ_CHECK(insets.top == 0 && insets.bottom == 0 && (insets.left == radius || std::isnan(radius)),
                  "imageByRoundingCornersTo: cap insets");
  }
  const auto round = kp::withRoundedCorners(image, in.flag() ? std::optional<CGFloat>(radius) : std::nullopt);
  checkMade(own, !round, round ? pixelsOf(*round) : Pixels{}, "withRoundedCorners: size");
  const CGSize size = in.size();
  if (!affordable(size, screenScale())) return;
  const UIImage drawn = kp::kp_drawRectWithRoundedCorner(image, radius, size);
  checkMade(contextFor(size, screenScale()), !drawn.cgImage(), pixelsOf(drawn), "kp_drawRectWithRoundedCorner: size");
}

void creating(Input& in, const UIImage& image) {
  const ios::UIColor color = in.color();
  const CGSize size = in.size();
  if (affordable(size, 1)) {
    const UIImage solid = kp::makeImage(color, size);
    checkMade(contextFor(size, 1), !solid.cgImage(), pixelsOf(solid), "makeImage(color:size:): size");
  }
  KP_FUZZ_CHECK(pixelsOf(kp::imageWithColor(color)) == (Pixels{1, 1}), "imageWithColor: not one pixel");
  KP_FUZZ_CHECK(pixelsOf(kp::pixelOfColor(color)) == (Pixels{1, 1}), "pixelOfColor: not one pixel");
  const UIImage shape = kp::filled(image, color);
  if (!(shape == image)) {
    KP_FUZZ_CHECK(shape.scale() == image.scale(), "filled: scale");
    checkMade(contextFor(image.size(), image.scale()), false, pixelsOf(shape), "filled: size");
  }
  const UIImage tinted = kp::imageWithTintColor(image, color, static_cast<ios::CGBlendMode>(in.pick(27)));
  checkMade(contextFor(image.size(), screenScale()), tinted == image, pixelsOf(tinted), "imageWithTintColor: size");
}

void gradients(Input& in, const UIImage&) {
  const CGSize size = in.size();
  std::vector<ios::UIColor> colors;
  for (int n = in.pick(4); n > 0; --n) colors.push_back(in.color());
  constexpr kp::KPImageGradientDirection kDirections[] = {
      kp::KPImageGradientDirection::toLeft(),       kp::KPImageGradientDirection::toRight(),
      kp::KPImageGradientDirection::toTop(),        kp::KPImageGradientDirection::toBottom(),
      kp::KPImageGradientDirection::toBottomLeft(), kp::KPImageGradientDirection::toBottomRight(),
      kp::KPImageGradientDirection::toTopLeft(),    kp::KPImageGradientDirection::toTopRight(),
  };
  const auto direction = in.flag() ? kDirections[in.pick(7)] : kp::KPImageGradientDirection::degree(in.anyNumber());
  if (!affordable(size, screenScale())) return;
  const Expected e = contextFor(size, screenScale());
  const auto gradient = kp::makeImage(size, direction, colors);
  if (colors.empty()) {
    KP_FUZZ_CHECK(!gradient, "a gradient of no colours");
  } else {
    checkMade(e, !gradient, gradient ? pixelsOf(*gradient) : Pixels{}, "gradient image: size");
  }
  if (gradient) KP_FUZZ_CHECK(gradient->scale() == 1, "gradient image: scale");
  const auto solid = kp::makeImageFillColor(in.color(), size);
  checkMade(e, !solid, solid ? pixelsOf(*solid) : Pixels{}, "makeImageFillColor: size");
}

void compressing(Input& in, const UIImage& image) {
  const auto budget = static_cast<std::int64_t>(in.flag() ? in.pick(4000) : in.anyNumber() > 0 ? 1 << 20 : -1);
  const UIImage small = kp::compressTo(image, budget);
  if (!(small == image)) {
    KP_FUZZ_CHECK(pixelsOf(small) == pixelsOf(image) && keepsOrResetsScale(small, image) &&
                      small.imageOrientation() == image.imageOrientation(),
                  "compressTo: size, scale or orientation");
  }
  const std::vector<std::uint8_t> data = kp::dataWithCompressTo(image, budget);
  KP_FUZZ_CHECK(data.empty() == !image.cgImage(), "dataWithCompressTo: no data for a bitmap, or data for none");
  if (!data.empty()) {
    const auto decoded = UIImage::fromData(data);
    KP_FUZZ_CHECK(decoded && pixelsOf(*decoded) == pixelsOf(image), "dataWithCompressTo: not the image");
  }
  const std::int64_t bytes = kp::bytesSize(image);
  KP_FUZZ_CHECK(bytes >= 0 && kp::kilobytesSize(image) == bytes / 1024, "bytesSize / kilobytesSize");
  const auto progressive = kp::kp_progressiveImage(image);
  KP_FUZZ_CHECK(progressive.has_value() == static_cast<bool>(image.cgImage()), "kp_progressiveImage: presence");
  if (progressive) {
    KP_FUZZ_CHECK(pixelsOf(*progressive) == pixelsOf(image) && keepsOrResetsScale(*progressive, image) &&
                      progressive->imageOrientation() == image.imageOrientation(),
                  "kp_progressiveImage: size, scale or orientation");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  Input in(data, size);
  constexpr CGFloat kScreens[] = {1, 2, 3};
  ios::testing::setMainScreenScale(kScreens[in.pick(2)]);
  const UIImage image = in.image();
  using Operation = void (*)(Input&, const UIImage&);
  constexpr Operation kOperations[] = {resizing, scaling,  rendering, shrinking, cropping,  orienting,
                                       decoding, rounding, creating,  gradients, compressing};
  constexpr int kLast = static_cast<int>(std::size(kOperations)) - 1;
  for (int step = 0; step < 3 && in.more(); ++step) {
    kOperations[in.pick(kLast)](in, image);
    KP_FUZZ_CHECK(ios::testing::graphicsContextDepth() == 0, "an image context was left open");
  }
  return 0;
}
