// JPEG files through libjpeg-turbo: errors come back through longjmp, so every object
// with a destructor is made before setjmp.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <algorithm>
#include <cmath>

#include "platform/imageio/internal/Codecs.h"

namespace ios::imageio_internal {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr /*info*/) {}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeJPEG(const CGImage& image,
                                                    const CGImageDestinationProperties& properties) {
  const std::vector<std::uint8_t> rgba = rgbaPixels(image);
  std::vector<std::uint8_t> row(image.width() * 3);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_compress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = onMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return std::nullopt;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  double quality = properties.lossyCompressionQuality.value_or(0.75);
  if (std::isnan(quality)) quality = 0.75;
  quality = std::clamp(quality, 0.0, 1.0);
  jpeg_set_quality(&info, std::clamp(static_cast<int>(std::lround(quality * 100)), 1, 100), TRUE);
  if (properties.isProgressive) jpeg_simple_progression(&info);
  info.write_JFIF_header = TRUE;
  if (properties.densityUnit) info.density_unit = static_cast<UINT8>(std::clamp(*properties.densityUnit, 0, 2));
  if (properties.xDensity) info.X_density = static_cast<UINT16>(std::clamp(*properties.xDensity, 1, 65535));
  if (properties.yDensity) info.Y_density = static_cast<UINT16>(std::clamp(*properties.yDensity, 1, 65535));
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const std::uint8_t* src = rgba.data() + static_cast<std::size_t>(info.next_scanline) * image.width() * 4;
    for (std::size_t x = 0; x < image.width(); ++x) {
      row[x * 3] = src[x * 4], row[x * 3 + 1] = src[x * 4 + 1], row[x * 3 + 2] = src[x * 4 + 2];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

CGImageRef decodeJPEG(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> pixels;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = onMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
      (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
       info.jpeg_color_space != JCS_RGB)) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  info.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  const std::size_t width = info.output_width, height = info.output_height;
  if (width == 0 || height == 0 || width > 32767 || height > 32767) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  pixels.resize(width * height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {pixels.data() + static_cast<std::size_t>(info.output_scanline) * width * 4};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return CGImage::make(width, height, 8, 32, width * 4, CGColorSpaceCreateDeviceRGB(), kCGImageAlphaNoneSkipLast,
                       std::move(pixels));
}

}  // namespace ios::imageio_internal
