// PNG files through libpng's simplified interface.
#include <png.h>

#include <algorithm>
#include <cstring>

#include "platform/imageio/internal/Codecs.h"

namespace ios::imageio_internal {

std::optional<std::vector<std::uint8_t>> encodePNG(const CGImage& image) {
  std::vector<std::uint8_t> rgba = rgbaPixels(image);
  // PNG keeps straight alpha: undo the premultiplication.
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    const unsigned a = rgba[i + 3];
    if (a == 0 || a == 255) continue;
    for (int c = 0; c < 3; ++c) rgba[i + c] = static_cast<std::uint8_t>(std::min(255u, (rgba[i + c] * 255u + a / 2) / a));
  }
  png_image info;
  std::memset(&info, 0, sizeof info);
  info.version = PNG_IMAGE_VERSION;
  info.width = static_cast<png_uint_32>(image.width());
  info.height = static_cast<png_uint_32>(image.height());
  info.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&info, nullptr, &size, 0, rgba.data(), 0, nullptr)) return std::nullopt;
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&info, out.data(), &size, 0, rgba.data(), 0, nullptr)) return std::nullopt;
  out.resize(size);
  return out;
}

CGImageRef decodePNG(std::span<const std::uint8_t> data) {
  png_image info;
  std::memset(&info, 0, sizeof info);
  info.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&info, data.data(), data.size())) return nullptr;
  info.format = PNG_FORMAT_RGBA;
  // The header's size is checked before the pixels are allocated from it.
  if (!isDecodableSize(info.width, info.height)) {
    png_image_free(&info);
    return nullptr;
  }
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(info));
  if (!png_image_finish_read(&info, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&info);
    return nullptr;
  }
  const std::size_t width = info.width, height = info.height;
  return CGImage::make(width, height, 8, 32, width * 4, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaLast,
                       std::move(pixels));
}

std::optional<CGImageSourceProperties> readPNGProperties(std::span<const std::uint8_t> data) {
  png_image info;
  std::memset(&info, 0, sizeof info);
  info.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&info, data.data(), data.size())) return std::nullopt;
  CGImageSourceProperties properties;
  properties.pixelWidth = info.width, properties.pixelHeight = info.height;
  png_image_free(&info);
  return properties;
}

}  // namespace ios::imageio_internal
