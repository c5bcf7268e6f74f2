// File: platform/uikit/UIImageNamed.h
//
// Images by name from the main bundle: UIImage(named:).
//
//   ios::testing::registerNamedImage("bg", image);
//   ios::imageNamed("bg");      // the image
//   ios::imageNamed("missing"); // nothing
//
// Fidelity: a Linux program has no asset catalogue, so the main bundle's images are the
// ones the embedding application (or a test) registers by name. Scale variants and
// trait collections are absent.
#pragma once

#include <optional>
#include <string>

#include "platform/uikit/UIImage.h"

namespace ios {

// The main bundle's image with this name, or nothing.
[[nodiscard]] std::optional<UIImage> imageNamed(const std::string& name);

namespace testing {
// Makes `image` the main bundle's image named `name`.
void registerNamedImage(const std::string& name, UIImage image);
// Forgets every registered image.
void resetNamedImages();
}  // namespace testing

}  // namespace ios
