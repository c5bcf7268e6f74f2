// File: KPQuaslet/imaging/internal/Encoding.h
//
// The JPEG file behind kp_progressiveImage(), for the code and tests that need the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/uikit/UIImage.h"

namespace kp::imaging_internal {

// The image's bitmap as a progressive JPEG at quality 0.9 with a JFIF density of 72 × 72
// dots an inch; nothing without a bitmap or when encoding fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> progressiveJPEG(const ios::UIImage& image);

}  // namespace kp::imaging_internal
