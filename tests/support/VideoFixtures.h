// Short videos made with libavcodec for the frame tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kp_test {

struct Rgb {
  std::uint8_t r, g, b;
};

// Writes a 64 x 48 MPEG-4 video in a Matroska file at `path`, at 5 frames a second:
// one second of each colour of `secondsOfColour`, in order. Throws std::runtime_error
// when the encoder or the file cannot be set up.
void writeColourClip(const std::string& path, const std::vector<Rgb>& secondsOfColour);

// Writes one second of one frame, `width` × `height` pixels of `colour`, in a losslessly
// coded (FFV1) Matroska file at `path`; for sizes that MPEG-4 cannot code. Throws
// std::runtime_error as writeColourClip() does.
void writeLargeFrameClip(const std::string& path, int width, int height, Rgb colour);

}  // namespace kp_test
