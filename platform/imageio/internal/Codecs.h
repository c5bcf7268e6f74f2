// File: platform/imageio/internal/Codecs.h
//
// The JPEG and PNG codecs behind ImageIO.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "platform/imageio/ImageIO.h"

namespace ios::imageio_internal {

// Whether an image of `width` × `height` pixels may be decoded: both sides 1...32767
// and at most kMaximumImagePixelCount pixels.
[[nodiscard]] bool isDecodableSize(std::size_t width, std::size_t height);

// The image's pixels as premultiplied R,G,B,A bytes, rows packed.
[[nodiscard]] std::vector<std::uint8_t> rgbaPixels(const CGImage& image);

[[nodiscard]] std::optional<std::vector<std::uint8_t>> encodeJPEG(const CGImage& image,
                                                                  const CGImageDestinationProperties& properties);
[[nodiscard]] CGImageRef decodeJPEG(std::span<const std::uint8_t> data);
// The headers of a JPEG file, without decoding its pixels.
[[nodiscard]] std::optional<CGImageSourceProperties> readJPEGProperties(std::span<const std::uint8_t> data);
// The orientation tag (1...8) of an EXIF block (the APP1 payload after "Exif\0\0"), or
// nothing when it has none or the block is malformed.
[[nodiscard]] std::optional<int> exifOrientation(std::span<const std::uint8_t> tiff);

[[nodiscard]] std::optional<std::vector<std::uint8_t>> encodePNG(const CGImage& image);
[[nodiscard]] CGImageRef decodePNG(std::span<const std::uint8_t> data);
// The size of a PNG file from its header, without decoding its pixels.
[[nodiscard]] std::optional<CGImageSourceProperties> readPNGProperties(std::span<const std::uint8_t> data);

}  // namespace ios::imageio_internal
