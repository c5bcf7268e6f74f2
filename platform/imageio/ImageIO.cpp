#include "platform/imageio/ImageIO.h"

#include <atomic>
#include <string>

#include "platform/coregraphics/internal/PixelFormat.h"
#include "platform/imageio/internal/Codecs.h"

namespace ios {

class CGImageDestination {
 public:
  std::shared_ptr<std::vector<std::uint8_t>> data;
  bool jpeg = true;
  CGImageRef image;
  CGImageDestinationProperties properties;
};

class CGImageSource {
 public:
  std::vector<std::uint8_t> data;
  bool jpeg = true;
};

namespace {

std::atomic<std::size_t>& encodeCount() {
  static std::atomic<std::size_t> count{0};
  return count;
}

std::atomic<int>& pendingEncodeFailures() {
  static std::atomic<int> count{0};
  return count;
}

bool takeEncodeFailure() {
  int pending = pendingEncodeFailures().load();
  while (pending > 0) {
    if (pendingEncodeFailures().compare_exchange_weak(pending, pending - 1)) return true;
  }
  return false;
}

}  // namespace

namespace imageio_internal {

bool isDecodableSize(std::size_t width, std::size_t height) {
  constexpr std::size_t kMaximumSide = 32767;
  return width >= 1 && height >= 1 && width <= kMaximumSide && height <= kMaximumSide &&
         width * height <= kMaximumImagePixelCount;
}

std::vector<std::uint8_t> rgbaPixels(const CGImage& image) {
  const auto layout = cg_internal::layoutFor(image.bitsPerPixel(), image.colorSpace(), image.bitmapInfo());
  std::vector<std::uint8_t> out(image.width() * image.height() * 4);
  if (!layout) return out;
  const auto bytes = image.dataProvider()->bytes();
  std::uint8_t* o = out.data();
  for (std::size_t y = 0; y < image.height(); ++y) {
    const std::uint8_t* p = bytes.data() + y * image.bytesPerRow();
    for (std::size_t x = 0; x < image.width(); ++x, p += layout->bytesPerPixel, o += 4) {
      const std::uint32_t argb = cg_internal::loadPixel(p, *layout);
      o[0] = static_cast<std::uint8_t>(argb >> 16), o[1] = static_cast<std::uint8_t>(argb >> 8);
      o[2] = static_cast<std::uint8_t>(argb), o[3] = static_cast<std::uint8_t>(argb >> 24);
    }
  }
  return out;
}

}  // namespace imageio_internal

CGImageDestinationRef CGImageDestinationCreateWithData(std::shared_ptr<std::vector<std::uint8_t>> data,
                                                       std::string_view type, std::size_t count) {
  if (!data || count != 1 || (type != kUTTypeJPEG && type != kUTTypePNG)) return nullptr;
  auto destination = std::make_shared<CGImageDestination>();
  destination->data = std::move(data);
  destination->jpeg = type == kUTTypeJPEG;
  return destination;
}

void CGImageDestinationAddImage(const CGImageDestinationRef& destination, CGImageRef image,
                                const CGImageDestinationProperties& properties) {
  if (!destination) return;
  destination->image = std::move(image);
  destination->properties = properties;
}

bool CGImageDestinationFinalize(const CGImageDestinationRef& destination) {
  if (!destination || !destination->image) return false;
  if (destination->jpeg) {
    ++encodeCount();
    if (takeEncodeFailure()) return false;
  }
  auto bytes = destination->jpeg ? imageio_internal::encodeJPEG(*destination->image, destination->properties)
                                 : imageio_internal::encodePNG(*destination->image);
  if (!bytes) return false;
  *destination->data = std::move(*bytes);
  return true;
}

CGImageSourceRef CGImageSourceCreateWithData(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kPNG[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  auto source = std::make_shared<CGImageSource>();
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
    source->jpeg = true;
  } else if (data.size() >= sizeof kPNG && std::equal(std::begin(kPNG), std::end(kPNG), data.begin())) {
    source->jpeg = false;
  } else {
    return nullptr;
  }
  source->data.assign(data.begin(), data.end());
  return source;
}

CGImageRef CGImageSourceCreateImageAtIndex(const CGImageSourceRef& source, std::size_t index) {
  if (!source || index != 0) return nullptr;
  return source->jpeg ? imageio_internal::decodeJPEG(source->data) : imageio_internal::decodePNG(source->data);
}

std::optional<CGImageSourceProperties> CGImageSourceCopyPropertiesAtIndex(const CGImageSourceRef& source,
                                                                          std::size_t index) {
  if (!source || index != 0) return std::nullopt;
  return source->jpeg ? imageio_internal::readJPEGProperties(source->data)
                      : imageio_internal::readPNGProperties(source->data);
}

namespace testing {

std::size_t jpegEncodeCount() { return encodeCount().load(); }
void failNextJPEGEncode(int count) { pendingEncodeFailures().store(count); }
void resetImageIO() {
  encodeCount().store(0);
  pendingEncodeFailures().store(0);
}

}  // namespace testing

}  // namespace ios
