// File: platform/uikit/UIPhotoAlbum.h
//
// Saving images to the user's photo album.
//
//   ios::UIImageWriteToSavedPhotosAlbum(image, nullptr, nullptr, nullptr);
//   ios::testing::savedPhotos().size();                      // 1
//
// Fidelity: the album is a list in the process that keeps every image it receives,
// with the completion target, selector and context it was given; the completion
// message is not sent and no permission is asked. Reading the library is absent.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIImage.h"

namespace ios {

// UIImageWriteToSavedPhotosAlbum()
//
// Adds `image` to the photo album.
void UIImageWriteToSavedPhotosAlbum(const UIImage& image, const std::shared_ptr<NSObject>& completionTarget,
                                    SEL completionSelector, void* contextInfo);

namespace testing {

struct SavedPhoto {
  UIImage image;
  std::weak_ptr<NSObject> completionTarget;
  SEL completionSelector = nullptr;
  void* contextInfo = nullptr;
};

// The images saved since the last reset, in order.
[[nodiscard]] std::vector<SavedPhoto> savedPhotos();
// Empties the album.
void resetPhotoAlbum();

}  // namespace testing
}  // namespace ios
