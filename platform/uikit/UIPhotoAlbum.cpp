#include "platform/uikit/UIPhotoAlbum.h"

#include <mutex>

namespace ios {
namespace {

std::mutex albumLock;
std::vector<testing::SavedPhoto>& album() {
  static std::vector<testing::SavedPhoto> photos;
  return photos;
}

}  // namespace

void UIImageWriteToSavedPhotosAlbum(const UIImage& image, const std::shared_ptr<NSObject>& completionTarget,
                                    SEL completionSelector, void* contextInfo) {
  std::lock_guard lock(albumLock);
  album().push_back({image, completionTarget, completionSelector, contextInfo});
}

namespace testing {

std::vector<SavedPhoto> savedPhotos() {
  std::lock_guard lock(albumLock);
  return album();
}

void resetPhotoAlbum() {
  std::lock_guard lock(albumLock);
  album().clear();
}

}  // namespace testing
}  // namespace ios
