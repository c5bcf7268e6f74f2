// The one place that talks to FFmpeg: decoding a single video frame of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ios::av_internal {

struct Frame {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<std::uint8_t> rgbx;  // R, G, B, unused; rows of width * 4 bytes
  double seconds = 0;              // the frame's presentation time
};

// The frame of the file at `path` shown at `seconds`. Throws AVFoundationError when the
// file is not media, has no video stream, or the time is outside the video.
[[nodiscard]] Frame frameAt(const std::string& path, double seconds);

}  // namespace ios::av_internal
