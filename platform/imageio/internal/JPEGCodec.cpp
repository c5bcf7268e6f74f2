// JPEG files through libjpeg-turbo: errors come back through longjmp, so every object
// with a destructor is made before setjmp.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/coregraphics/internal/PixelFormat.h"
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

// Routes libjpeg's errors to `errors`' jump buffer and silences its warnings.
jpeg_error_mgr* attach(ErrorManager& errors) {
  jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = onMessage;
  return &errors.base;
}

constexpr std::uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kOrientationTag = 0x0112;

// An EXIF block holding only the orientation: big-endian TIFF header, one IFD with one
// SHORT entry, no next IFD.
std::vector<std::uint8_t> exifBlock(int orientation) {
  std::vector<std::uint8_t> block(std::begin(kExifHeader), std::end(kExifHeader));
  const std::uint8_t tiff[] = {
      'M', 'M', 0, 42, 0, 0, 0, 8,                // byte order, magic, IFD0 at offset 8
      0, 1,                                       // one entry
      kOrientationTag >> 8, kOrientationTag & 0xFF, 0, 3, 0, 0, 0, 1,  // tag, SHORT, count 1
      0, static_cast<std::uint8_t>(orientation), 0, 0,                 // the value, padded
      0, 0, 0, 0,                                 // no next IFD
  };
  block.insert(block.end(), std::begin(tiff), std::end(tiff));
  return block;
}

// Reads the orientation from the saved APP1 markers of a decompressor.
std::optional<int> orientationFromMarkers(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data_length < sizeof kExifHeader) continue;
    if (!std::equal(std::begin(kExifHeader), std::end(kExifHeader), m->data)) continue;
    return exifOrientation({m->data + sizeof kExifHeader, m->data_length - sizeof kExifHeader});
  }
  return std::nullopt;
}

// The libjpeg input space that reads `image`'s bytes as they are, or JCS_UNKNOWN.
J_COLOR_SPACE directInput(const CGImage& image) {
  const auto layout = cg_internal::layoutFor(image.bitsPerPixel(), image.colorSpace(), image.bitmapInfo());
  if (!layout || layout->gray || layout->red < 0) return JCS_UNKNOWN;
  if (layout->bytesPerPixel == 3) return JCS_RGB;
  if (layout->bytesPerPixel != 4 || !(layout->premultiplied || layout->skipsAlpha)) return JCS_UNKNOWN;
  const int r = layout->red, g = layout->green, b = layout->blue;
  if (r == 0 && g == 1 && b == 2) return JCS_EXT_RGBX;
  if (r == 2 && g == 1 && b == 0) return JCS_EXT_BGRX;
  if (r == 1 && g == 2 && b == 3) return JCS_EXT_XRGB;
  if (r == 3 && g == 2 && b == 1) return JCS_EXT_XBGR;
  return JCS_UNKNOWN;
}

}  // namespace

std::optional<int> exifOrientation(std::span<const std::uint8_t> tiff) {
  if (tiff.size() < 8) return std::nullopt;
  bool big = false;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    big = true;
  } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
    return std::nullopt;
  }
  auto u16 = [&](std::size_t at) -> std::uint32_t {
    return big ? (tiff[at] << 8) | tiff[at + 1] : (tiff[at + 1] << 8) | tiff[at];
  };
  auto u32 = [&](std::size_t at) -> std::uint32_t { return big ? (u16(at) << 16) | u16(at + 2) : (u16(at + 2) << 16) | u16(at); };
  if (u16(2) != 42) return std::nullopt;
  const std::size_t ifd = u32(4);
  if (ifd > tiff.size() || tiff.size() - ifd < 2) return std::nullopt;
  const std::size_t entries = u16(ifd);
  if ((tiff.size() - ifd - 2) / 12 < entries) return std::nullopt;
  for (std::size_t i = 0; i < entries; ++i) {
    const std::size_t e = ifd + 2 + i * 12;
    if (u16(e) != kOrientationTag) continue;
    if (u16(e + 2) != 3 || u32(e + 4) != 1) return std::nullopt;  // one SHORT
    const std::uint32_t value = u16(e + 8);
    if (value < 1 || value > 8) return std::nullopt;
    return static_cast<int>(value);
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> encodeJPEG(const CGImage& image,
                                                    const CGImageDestinationProperties& properties) {
  // Layouts whose colour bytes already are the colour over black go to libjpeg as they
  // are; the others are converted to R,G,B,A first.
  const J_COLOR_SPACE direct = directInput(image);
  std::vector<std::uint8_t> rgba;
  if (direct == JCS_UNKNOWN) rgba = rgbaPixels(image);
  // Kept in memory, out of reach of the longjmp below.
  const std::vector<std::uint8_t*> rows = [&] {
    const std::uint8_t* pixels = direct == JCS_UNKNOWN ? rgba.data() : image.dataProvider()->bytes().data();
    const std::size_t stride = direct == JCS_UNKNOWN ? image.width() * 4 : image.bytesPerRow();
    std::vector<std::uint8_t*> pointers(image.height());
    // libjpeg only reads the rows it is given.
    for (std::size_t y = 0; y < pointers.size(); ++y) pointers[y] = const_cast<std::uint8_t*>(pixels + y * stride);
    return pointers;
  }();
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_compress_struct info{};
  ErrorManager errors{};
  info.err = attach(errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return std::nullopt;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = direct == JCS_RGB ? 3 : 4;
  info.in_color_space = direct == JCS_UNKNOWN ? JCS_EXT_RGBX : direct;
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
  if (properties.orientation && *properties.orientation >= 1 && *properties.orientation <= 8) {
    const auto block = exifBlock(*properties.orientation);
    jpeg_write_marker(&info, JPEG_APP0 + 1, block.data(), static_cast<unsigned int>(block.size()));
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW row[1] = {rows[info.next_scanline]};
    jpeg_write_scanlines(&info, row, 1);
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
  info.err = attach(errors);
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
  // The header's size is checked before anything is allocated from it (starting the
  // decompressor allocates whole-image buffers for progressive files).
  if (!isDecodableSize(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  info.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  const std::size_t width = info.output_width, height = info.output_height;
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

std::optional<CGImageSourceProperties> readJPEGProperties(std::span<const std::uint8_t> data) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = attach(errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  CGImageSourceProperties properties;
  properties.pixelWidth = info.image_width, properties.pixelHeight = info.image_height;
  properties.orientation = orientationFromMarkers(info).value_or(1);
  properties.isProgressive = info.progressive_mode != 0;
  if (info.saw_JFIF_marker) {
    properties.densityUnit = info.density_unit;
    properties.xDensity = info.X_density, properties.yDensity = info.Y_density;
  }
  jpeg_destroy_decompress(&info);
  return properties;
}

}  // namespace ios::imageio_internal
