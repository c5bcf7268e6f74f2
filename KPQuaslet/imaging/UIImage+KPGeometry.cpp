#include "KPQuaslet/imaging/UIImage+KPGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "platform/uikit/UIBezierPath.h"
#include "platform/uikit/UIScreen.h"

namespace kp {

using ios::CGFloat;
using ios::CGRect;
using ios::CGSize;
using ios::UIImage;
using ios::UIImageOrientation;
using imaging_internal::ImageContext;

namespace {

CGFloat screenScale() { return ios::UIScreen::main().scale(); }

// Draws `image` stretched to `drawn` in a context of `size`; the context's image.
std::optional<UIImage> redraw(const UIImage& image, CGSize size, bool opaque, CGFloat scale, CGSize drawn) {
  ImageContext context(size, opaque, scale);
  if (!context) return std::nullopt;
  image.draw(CGRect{{0, 0}, drawn});
  return context.image();
}

// The same image at scale 1, so that its point size is its pixel size.
std::optional<UIImage> atScaleOne(const std::optional<UIImage>& image) {
  if (!image || !image->cgImage()) return std::nullopt;
  return UIImage(image->cgImage());
}

// A side in whole pixels for a bitmap context, or 0 when no bitmap can have it.
std::size_t pixelCount(CGFloat value) {
  const auto whole = imaging_internal::truncated(value);
  return whole && *whole > 0 ? static_cast<std::size_t>(*whole) : 0;
}

// The pixel size of the picture as it shows (the bitmap's, turned for the quarter turns).
CGSize uprightPixels(const UIImage& image, const ios::CGImage& bitmap) {
  const auto w = static_cast<CGFloat>(bitmap.width()), h = static_cast<CGFloat>(bitmap.height());
  return imaging_internal::isTurned(image.imageOrientation()) ? CGSize{h, w} : CGSize{w, h};
}

std::optional<UIImage> rounded(const UIImage& image, CGFloat radius) {
  const CGSize size = image.size();
  ImageContext context(size, false, image.scale());
  if (!context) return std::nullopt;
  const CGRect rect{{0, 0}, size};
  ios::UIBezierPath::make(rect, radius)->addClip();
  image.draw(rect);
  return context.image();
}

}  // namespace

UIImage resizeTo(const UIImage& image, CGSize size) {
  const CGSize own = image.size();
  const CGFloat r = std::min(size.width / own.width, size.height / own.height);
  const CGFloat w = std::floor(own.width * r), h = std::floor(own.height * r);
  const CGFloat s = screenScale();
  auto result = redraw(image, {s * w, s * h}, false, 1, {std::floor(s * w), std::floor(s * h)});
  return result ? *result : image;
}

std::optional<UIImage> scaledToHeight(const UIImage& image, CGFloat height, bool opaque) {
  const CGSize own = image.size();
  const CGSize size{height * (own.width / own.height), height};
  return redraw(image, size, opaque, 0, size);
}

std::optional<UIImage> scaledToWidth(const UIImage& image, CGFloat width, bool opaque) {
  const CGSize own = image.size();
  const CGSize size{width, width * (own.height / own.width)};
  return redraw(image, size, opaque, 0, size);
}

UIImage scaleToMinSideLength(const UIImage& image, CGFloat length) {
  const CGFloat screen = screenScale();
  const CGFloat target = length * screen;
  const CGSize own = image.size();
  const CGFloat w = own.width * image.scale(), h = own.height * image.scale();
  CGSize pixels;
  if (h < w) {
    if (!(target < h)) return image;
    pixels = {w * target / h, target};
  } else {
    if (!(target < w)) return image;
    pixels = {target, target / w * h};
  }
  pixels = {std::floor(pixels.width), std::floor(pixels.height)};
  std::optional<UIImage> result;
  if (image.scale() == screen) {
    const CGSize size{std::floor(pixels.width / image.scale()), std::floor(pixels.height / image.scale())};
    result = redraw(image, size, false, image.scale(), size);
  } else {
    result = redraw(image, pixels, false, 1, pixels);
  }
  return result ? *result : image;
}

UIImage renderAtSize(const UIImage& image, CGSize size) {
  const CGSize whole{std::ceil(size.width), std::ceil(size.height)};
  return atScaleOne(redraw(image, whole, false, 0, whole)).value_or(image);
}

UIImage cropped(const UIImage& image, CGRect rect) {
  const auto& bitmap = image.cgImage();
  if (!bitmap) return image;
  // The rect is in pixels, so it is measured against the bitmap, not the point size.
  if (!(static_cast<CGFloat>(bitmap->width()) > rect.size.width &&
        static_cast<CGFloat>(bitmap->height()) > rect.size.height)) {
    return image;
  }
  auto part = bitmap->cropping(rect);
  if (!part) return image;
  return UIImage(std::move(part));
}

UIImage largestCenteredSquareImage(const UIImage& image) {
  const auto& bitmap = image.cgImage();
  if (!bitmap) return image;
  const std::size_t w = bitmap->width(), h = bitmap->height(), side = std::min(w, h);
  // Whole-pixel offsets keep the square square when the difference is odd.
  const CGRect square{{static_cast<CGFloat>((w - side) / 2), static_cast<CGFloat>((h - side) / 2)},
                      {static_cast<CGFloat>(side), static_cast<CGFloat>(side)}};
  auto part = bitmap->cropping(square);
  if (!part) return image;
  return UIImage(std::move(part), image.scale(), image.imageOrientation());
}

UIImage cropToAspectRatio(const UIImage& image, CGFloat ratio) {
  const auto& bitmap = image.cgImage();
  if (!bitmap || !(ratio > 0) || !std::isfinite(ratio)) return image;
  const CGSize own = image.size();
  const CGFloat current = own.width / own.height;
  if (current == ratio) return image;
  // The centred rect in pixels of the picture as it shows...
  const CGSize shown = uprightPixels(image, *bitmap);
  CGRect rect;
  if (current > ratio) {
    const CGFloat width = std::max<CGFloat>(1, std::round(shown.height * ratio));
    rect = {{std::floor((shown.width - width) / 2), 0}, {width, shown.height}};
  } else {
    const CGFloat height = std::max<CGFloat>(1, std::round(shown.width / ratio));
    rect = {{0, std::floor((shown.height - height) / 2)}, {shown.width, height}};
  }
  // ...is, being centred, the same rect in the bitmap once the quarter turns swap the axes.
  if (imaging_internal::isTurned(image.imageOrientation())) {
    rect = {{rect.origin.y, rect.origin.x}, {rect.size.height, rect.size.width}};
  }
  auto part = bitmap->cropping(rect);
  if (!part) return image;
  return UIImage(std::move(part), 1, image.imageOrientation());
}

ios::CGAffineTransform transformForOrientation(const UIImage& image, CGSize size) {
  constexpr CGFloat pi = std::numbers::pi;
  const CGFloat w = size.width, h = size.height;
  ios::CGAffineTransform t = ios::CGAffineTransform::identity;
  switch (image.imageOrientation()) {
    case UIImageOrientation::down:
    case UIImageOrientation::downMirrored: t = t.translatedBy(w, h).rotated(pi); break;
    case UIImageOrientation::left:
    case UIImageOrientation::leftMirrored: t = t.translatedBy(w, 0).rotated(pi / 2); break;
    case UIImageOrientation::right:
    case UIImageOrientation::rightMirrored: t = t.translatedBy(0, h).rotated(-pi / 2); break;
    default: break;
  }
  switch (image.imageOrientation()) {
    case UIImageOrientation::upMirrored:
    case UIImageOrientation::downMirrored: t = t.translatedBy(w, 0).scaledBy(-1, 1); break;
    case UIImageOrientation::leftMirrored:
    case UIImageOrientation::rightMirrored: t = t.translatedBy(h, 0).scaledBy(-1, 1); break;
    default: break;
  }
  return t;
}

std::optional<UIImage> adjustOrientation(const UIImage& image) {
  if (image.imageOrientation() == UIImageOrientation::up) return image;
  const auto& bitmap = image.cgImage();
  if (!bitmap) return std::nullopt;
  // The point size is the new bitmap's pixel size: a 2× or 3× image is drawn down to it.
  const CGSize own = image.size();
  auto context = imaging_internal::contextLike(*bitmap, pixelCount(own.width), pixelCount(own.height));
  if (!context) return std::nullopt;
  context->concatenate(transformForOrientation(image, own));
  const CGSize drawn = imaging_internal::isTurned(image.imageOrientation()) ? CGSize{own.height, own.width} : own;
  context->draw(*bitmap, CGRect{{0, 0}, drawn});
  auto upright = context->makeImage();
  if (!upright) return std::nullopt;
  return UIImage(std::move(upright));
}

std::optional<UIImage> resizeTo(const UIImage& image, CGSize size, const ios::CGAffineTransform& transform,
                                bool drawTransposed, ios::CGInterpolationQuality quality) {
  const auto& bitmap = image.cgImage();
  if (!bitmap) return std::nullopt;
  // (0, 0, size) made integral: its far edges rounded up.
  const CGRect integral{{0, 0}, {std::ceil(size.width), std::ceil(size.height)}};
  auto context =
      imaging_internal::contextLike(*bitmap, pixelCount(integral.size.width), pixelCount(integral.size.height));
  if (!context) return std::nullopt;
  context->concatenate(transform);
  context->setInterpolationQuality(quality);
  context->draw(*bitmap, drawTransposed ? CGRect{{0, 0}, {size.height, size.width}} : integral);
  auto result = context->makeImage();
  if (!result) return std::nullopt;
  return UIImage(std::move(result));
}

std::optional<UIImage> resizeTo(const UIImage& image, CGSize size, ios::CGInterpolationQuality quality) {
  return resizeTo(image, size, transformForOrientation(image, size),
                  imaging_internal::isTurned(image.imageOrientation()), quality);
}

UIImage decoded(const UIImage& image) { return decodedWith(image, image.scale()); }

UIImage decodedWith(const UIImage& image, CGFloat scale) {
  const auto& bitmap = image.cgImage();
  if (!bitmap) return image;
  auto context = ios::CGContext::make(nullptr, bitmap->width(), bitmap->height(), 8, 0,
                                      ios::CGColorSpaceCreateDeviceRGB(), ios::kCGImageAlphaPremultipliedLast);
  if (!context) return image;
  context->draw(*bitmap, CGRect{{0, 0}, {static_cast<CGFloat>(bitmap->width()), static_cast<CGFloat>(bitmap->height())}});
  auto result = context->makeImage();
  if (!result) return image;
  return UIImage(std::move(result), scale, image.imageOrientation());
}

UIImage imageByRoundingCornersTo(const UIImage& image, CGFloat radius) {
  auto result = rounded(image, radius);
  return result ? result->resizableImage({0, radius, 0, radius}) : image;
}

std::optional<UIImage> withRoundedCorners(const UIImage& image, std::optional<CGFloat> radius) {
  const CGSize size = image.size();
  const CGFloat half = std::min(size.width, size.height) / 2;
  return rounded(image, radius && *radius > 0 && *radius <= half ? *radius : half);
}

}  // namespace kp
