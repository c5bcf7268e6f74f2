#include "platform/uikit/UIImage.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "platform/coregraphics/internal/ImageDrawing.h"
#include "platform/foundation/ScopeExit.h"
#include "platform/imageio/ImageIO.h"
#include "platform/uikit/UIGraphics.h"

namespace ios {
namespace {

bool turned(UIImageOrientation o) {
  return o == UIImageOrientation::left || o == UIImageOrientation::right || o == UIImageOrientation::leftMirrored ||
         o == UIImageOrientation::rightMirrored;
}

// Maps stored pixels (u, v) of a w × h bitmap to the pixels of the upright picture.
cg_internal::AffineMatrix orientationMatrix(UIImageOrientation o, double w, double h) {
  using M = cg_internal::AffineMatrix;
  switch (o) {
    case UIImageOrientation::up: return M{1, 0, 0, 1, 0, 0};
    case UIImageOrientation::down: return M{-1, 0, 0, -1, w, h};
    case UIImageOrientation::left: return M{0, -1, 1, 0, 0, w};            // (v, w - u)
    case UIImageOrientation::right: return M{0, 1, -1, 0, h, 0};           // (h - v, u)
    case UIImageOrientation::upMirrored: return M{-1, 0, 0, 1, w, 0};
    case UIImageOrientation::downMirrored: return M{1, 0, 0, -1, 0, h};
    case UIImageOrientation::leftMirrored: return M{0, 1, 1, 0, 0, 0};     // (v, u)
    case UIImageOrientation::rightMirrored: return M{0, -1, -1, 0, h, w};  // (h - v, w - u)
  }
  return M{};
}

// The EXIF orientation values, in the order of UIImageOrientation.
constexpr int kExifOrientation[] = {1, 3, 8, 6, 2, 4, 5, 7};

}  // namespace

UIImage::UIImage(CGImageRef cgImage) : cgImage_(std::move(cgImage)) {}

UIImage::UIImage(CGImageRef cgImage, CGFloat scale, UIImageOrientation orientation)
    : cgImage_(std::move(cgImage)), scale_(scale > 0 && std::isfinite(scale) ? scale : 1), orientation_(orientation) {}

std::optional<UIImage> UIImage::fromFile(const std::string& path) {
  // A folder opens as a stream but throws when read.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return fromData(bytes);
}

std::optional<UIImage> UIImage::fromData(std::span<const std::uint8_t> data, CGFloat scale) {
  auto source = CGImageSourceCreateWithData(data);
  CGImageRef image = source ? CGImageSourceCreateImageAtIndex(source, 0) : nullptr;
  if (!image) return std::nullopt;
  UIImageOrientation orientation = UIImageOrientation::up;
  if (auto properties = CGImageSourceCopyPropertiesAtIndex(source, 0)) {
    for (int i = 0; i < 8; ++i) {
      if (kExifOrientation[i] == properties->orientation) orientation = static_cast<UIImageOrientation>(i);
    }
  }
  return UIImage(std::move(image), scale, orientation);
}

CGSize UIImage::size() const {
  if (!cgImage_) return {};
  const double w = static_cast<double>(cgImage_->width()) / scale_;
  const double h = static_cast<double>(cgImage_->height()) / scale_;
  return turned(orientation_) ? CGSize{h, w} : CGSize{w, h};
}

UIImage UIImage::withRenderingMode(UIImageRenderingMode mode) const {
  UIImage copy = *this;
  copy.renderingMode_ = mode;
  return copy;
}

UIImage UIImage::resizableImage(UIEdgeInsets capInsets) const {
  UIImage copy = *this;
  copy.capInsets_ = capInsets;
  return copy;
}

void UIImage::draw(CGRect in) const { draw(in, CGBlendMode::normal, 1); }

void UIImage::draw(CGPoint at) const { draw(CGRect{at, size()}); }

void UIImage::draw(CGRect in, CGBlendMode blendMode, CGFloat alpha) const {
  CGContextRef context = UIGraphicsGetCurrentContext();
  if (!context || !cgImage_) return;
  const double w = static_cast<double>(cgImage_->width()), h = static_cast<double>(cgImage_->height());
  const double uprightW = turned(orientation_) ? h : w, uprightH = turned(orientation_) ? w : h;
  const cg_internal::AffineMatrix o = orientationMatrix(orientation_, w, h);
  // Then the upright picture is stretched to the rect.
  const double sx = in.size.width / uprightW, sy = in.size.height / uprightH;
  const cg_internal::AffineMatrix m{sx * o.a, sy * o.b, sx * o.c, sy * o.d, sx * o.tx + in.origin.x,
                                    sy * o.ty + in.origin.y};
  context->saveGState();
  const ScopeExit restore([&context] { context->restoreGState(); });
  context->setBlendMode(blendMode);
  context->setAlpha(alpha);
  cg_internal::drawImageInContext(*context, *cgImage_, m);
}

std::optional<std::vector<std::uint8_t>> UIImageJPEGRepresentation(const UIImage& image, CGFloat compressionQuality) {
  if (!image.cgImage()) return std::nullopt;
  auto data = std::make_shared<std::vector<std::uint8_t>>();
  auto destination = CGImageDestinationCreateWithData(data, kUTTypeJPEG, 1);
  CGImageDestinationProperties properties;
  properties.lossyCompressionQuality = compressionQuality;
  if (image.imageOrientation() != UIImageOrientation::up) {
    properties.orientation = kExifOrientation[static_cast<int>(image.imageOrientation())];
  }
  CGImageDestinationAddImage(destination, image.cgImage(), properties);
  if (!CGImageDestinationFinalize(destination)) return std::nullopt;
  return std::move(*data);
}

std::optional<std::vector<std::uint8_t>> UIImagePNGRepresentation(const UIImage& image) {
  if (!image.cgImage()) return std::nullopt;
  auto data = std::make_shared<std::vector<std::uint8_t>>();
  auto destination = CGImageDestinationCreateWithData(data, kUTTypePNG, 1);
  CGImageDestinationAddImage(destination, image.cgImage(), {});
  if (!CGImageDestinationFinalize(destination)) return std::nullopt;
  return std::move(*data);
}

}  // namespace ios
