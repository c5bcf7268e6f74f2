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

// The image's pixels as premultiplied R,G,B,A bytes, rows packed.
[[nodiscard]] std::vector<std::uint8_t> rgbaPixels(const CGImage& image);

[[nodiscard]] std::optional<std::vector<std::uint8_t>> encodeJPEG(const CGImage& image,
                                                                  const CGImageDestinationProperties& properties);
[[nodiscard]] CGImageRef decodeJPEG(std::span<const std::uint8_t> data);

[[nodiscard]] std::optional<std::vector<std::uint8_t>> encodePNG(const CGImage& image);
[[nodiscard]] CGImageRef decodePNG(std::span<const std::uint8_t> data);

}  // namespace ios::imageio_internal
