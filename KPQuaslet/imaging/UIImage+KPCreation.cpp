#include "KPQuaslet/imaging/UIImage+KPCreation.h"

#include "KPQuaslet/imaging/internal/DrawingSupport.h"
#include "platform/uikit/UIGraphics.h"

namespace kp {

using ios::CGRect;
using ios::UIImage;

UIImage makeImage(const ios::UIColor& color, ios::CGSize size) {
  imaging_internal::ImageContext context(size, false, 1);
  if (!context) return UIImage();
  color.setFill();
  ios::UIRectFill(CGRect{{0, 0}, size});
  auto image = context.image();
  if (!image || !image->cgImage()) return UIImage();
  return UIImage(image->cgImage());
}

UIImage imageWithColor(const ios::UIColor& color) {
  imaging_internal::ImageContext context({1, 1}, false, 1);
  if (!context) return UIImage();
  context->setFillColor(color.cgColor());
  context->fill(CGRect{{0, 0}, {1, 1}});
  return context.image().value_or(UIImage());
}

UIImage pixelOfColor(const ios::UIColor& color) { return imageWithColor(color); }

UIImage original(const UIImage& image) { return image.withRenderingMode(ios::UIImageRenderingMode::alwaysOriginal); }

UIImage template_(const UIImage& image) { return image.withRenderingMode(ios::UIImageRenderingMode::alwaysTemplate); }

UIImage filled(const UIImage& image, const ios::UIColor& color) {
  if (!image.cgImage()) return image;
  // The mask is the picture as it shows, so that a turned or mirrored image keeps its
  // shape upright.
  const ios::CGImageRef mask = imaging_internal::uprightBitmap(image);
  if (!mask) return image;
  const ios::CGSize size = image.size();
  imaging_internal::ImageContext context(size, false, image.scale());
  if (!context) return image;
  color.setFill();
  context->translateBy(0, size.height);
  context->scaleBy(1, -1);
  context->setBlendMode(ios::CGBlendMode::normal);
  const CGRect rect{{0, 0}, size};
  context->clip(rect, *mask);
  context->fill(rect);
  return context.image().value_or(image);
}

UIImage imageWithTintColor(const UIImage& image, const ios::UIColor& color, ios::CGBlendMode blendMode) {
  const ios::CGSize size = image.size();
  imaging_internal::ImageContext context(size, false, 0);
  if (!context) return image;
  const CGRect rect{{0, 0}, size};
  color.setFill();
  ios::UIRectFill(rect);
  image.draw(rect, blendMode, 1);
  if (blendMode != ios::CGBlendMode::destinationIn) image.draw(rect, ios::CGBlendMode::destinationIn, 1);
  return context.image().value_or(image);
}

UIImage imageWithGradientTintColor(const UIImage& image, const ios::UIColor& color) {
  return imageWithTintColor(image, color, ios::CGBlendMode::overlay);
}

}  // namespace kp
