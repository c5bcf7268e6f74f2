#include "KPQuaslet/imaging/UIImage+KPEncoding.h"

#include <memory>

#include "KPQuaslet/imaging/internal/Encoding.h"
#include "platform/imageio/ImageIO.h"

namespace kp {
namespace {

// What the compression loop found: the first encoding under the budget, if any, and
// the attempt at quality 0.9 (the fallback of dataWithCompressTo()).
struct BudgetSearch {
  std::optional<std::vector<std::uint8_t>> accepted;
  std::optional<std::vector<std::uint8_t>> atPointNine;
};

constexpr double kFallbackQuality = 0.9;

BudgetSearch searchBudget(const ios::UIImage& image, std::int64_t budget) {
  BudgetSearch found;
  // No encoding is smaller than zero bytes, so a budget of 0 or less is never met and
  // the attempts could only fail.
  if (budget <= 0) return found;
  for (double quality = 1.0; quality > 0; quality -= 0.1) {
    auto data = ios::UIImageJPEGRepresentation(image, quality);
    // An encoding that fails counts as too large: the loop goes on with a lower quality.
    if (data && static_cast<std::int64_t>(data->size()) < budget) {
      found.accepted = std::move(data);
      return found;
    }
    // The second step is exactly 0.9 (1.0 - 0.1 rounds to it): the same encoding.
    if (quality == kFallbackQuality) found.atPointNine = std::move(data);
  }
  return found;
}

}  // namespace

std::int64_t bytesSize(const ios::UIImage& image) {
  auto data = ios::UIImageJPEGRepresentation(image, 1.0);
  return data ? static_cast<std::int64_t>(data->size()) : 0;
}

std::int64_t kilobytesSize(const ios::UIImage& image) { return bytesSize(image) / 1024; }

ios::UIImage compressTo(const ios::UIImage& image, std::int64_t expectedSizeInBytes) {
  auto data = searchBudget(image, expectedSizeInBytes).accepted;
  if (!data) return image;
  return ios::UIImage::fromData(*data).value_or(image);
}

std::vector<std::uint8_t> dataWithCompressTo(const ios::UIImage& image, std::int64_t expectedSizeInBytes) {
  BudgetSearch found = searchBudget(image, expectedSizeInBytes);
  if (found.accepted) return std::move(*found.accepted);
  if (found.atPointNine) return std::move(*found.atPointNine);
  return ios::UIImageJPEGRepresentation(image, kFallbackQuality).value_or(std::vector<std::uint8_t>{});
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
