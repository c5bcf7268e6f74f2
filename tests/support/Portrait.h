// The real photograph the face-detection tests run on: the 512 × 512 astronaut portrait
// that scripts/setup.sh takes out of Debian's python3-skimage package into
// build/testdata. One face, upright and seen from the front; its nose is at about
// (222, 125) from the top-left corner.
#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIImage.h"

namespace kp_test {

// The portrait; throws std::runtime_error naming the missing file when the setup step
// has not fetched it.
[[nodiscard]] ios::UIImage portrait();

// A point on the portrait's face (the tip of the nose), from the top-left corner.
inline constexpr ios::CGPoint kPortraitNose{222, 125};

}  // namespace kp_test
