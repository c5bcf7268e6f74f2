#include "KPQuaslet/imaging/UIImage+KPEncoding.h"

#include <memory>

#include "KPQuaslet/imaging/internal/Encoding.h"
#include "platform/imageio/ImageIO.h"

namespace kp {
namespace {

// The compression loop: the first encoding below the budget, if any.
std::optional<std::vector<std::uint8_t>> firstUnder(const ios::UIImage& image, std::int64_t budget) {
  for (double quality = 1.0; quality > 0; quality -= 0.1) {
    auto data = ios::UIImageJPEGRepresentation(image, quality);
    // An encoding that fails counts as too large: the loop goes on with a lower quality.
    if (data && static_cast<std::int64_t>(data->size()) < budget) return data;
  }
  return std::nullopt;
}

}  // namespace

std::int64_t bytesSize(const ios::UIImage& image) {
  auto data = ios::UIImageJPEGRepresentation(image, 1.0);
  return data ? static_cast<std::int64_t>(data->size()) : 0;
}

std::int64_t kilobytesSize(const ios::UIImage& image) { return bytesSize(image) / 1024; }

ios::UIImage compressTo(const ios::UIImage& image, std::int64_t expectedSizeInBytes) {
  auto data = firstUnder(image, expectedSizeInBytes);
  if (!data) return image;
  return ios::UIImage::fromData(*data).value_or(image);
}

std::vector<std::uint8_t> dataWithCompressTo(const ios::UIImage& image, std::int64_t expectedSizeInBytes) {
  if (auto data = firstUnder(image, expectedSizeInBytes)) return std::move(*data);
  return ios::UIImageJPEGRepresentation(image, 0.9).value_or(std::vector<std::uint8_t>{});
}

namespace imaging_internal {

std::optional<std::vector<std::uint8_t>> progressiveJPEG(const ios::UIImage& image) {
  if (!image.cgImage()) return std::nullopt;
  auto data = std::make_shared<std::vector<std::uint8_t>>();
  auto destination = ios::CGImageDestinationCreateWithData(data, ios::kUTTypeJPEG, 1);
  if (!destination) return std::nullopt;
  ios::CGImageDestinationProperties properties;
  properties.lossyCompressionQuality = 0.9;
  properties.isProgressive = true;
  properties.xDensity = 72, properties.yDensity = 72, properties.densityUnit = 1;
  ios::CGImageDestinationAddImage(destination, image.cgImage(), properties);
  if (!ios::CGImageDestinationFinalize(destination) || data->empty()) return std::nullopt;
  return std::move(*data);
}

}  // namespace imaging_internal

std::optional<ios::UIImage> kp_progressiveImage(const ios::UIImage& image) {
  auto data = imaging_internal::progressiveJPEG(image);
  if (!data) return std::nullopt;
  // The file holds the bitmap only; the decoded bitmap takes the receiver's orientation
  // back, so that a photo stored sideways does not come back sideways.
  auto decoded = ios::UIImage::fromData(*data);
  if (!decoded) return std::nullopt;
  return ios::UIImage(decoded->cgImage(), 1, image.imageOrientation());
}

}  // namespace kp
