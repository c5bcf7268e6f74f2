// File: platform/uikit/UIPhotoAlbum.h
//
// Saving images to the user's photo album.
//
//   ios::UIImageWriteToSavedPhotosAlbum(image, nullptr, nullptr, nullptr);
//   // ~/Pictures/<application identifier>/IMG_20261209_111500_123.png
//
// Fidelity: the album is the folder the desktop names for the user's pictures
// (XDG_PICTURES_DIR in "$XDG_CONFIG_HOME/user-dirs.dirs", as `xdg-user-dir PICTURES`
// answers it; "<home>/Pictures" when the file names none), in a subfolder named after
// ios::applicationIdentifier(). Every image is written as a PNG file (lossless, with its
// alpha), so a picture saved by a program is still there after it exits. No permission
// is asked. Reading the library is absent.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NSError.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIImage.h"

namespace ios {

// UIImageWriteToSavedPhotosAlbum()
//
// Writes `image` to the album as a new PNG file, before returning. The file is named
// after the local time of the save ("IMG_yyyyMMdd_HHmmss_SSS.png", with "_2", "_3", ...
// added when that name is taken) and never replaces an earlier picture; it is written
// under a hidden temporary name and only then given its final one, so a partly written
// picture is never seen, and nothing is left behind when the write fails. The file is
// readable and writable by its owner only.
//
// When `completionTarget` and `completionSelector` are both given, the main queue later
// sends `completionSelector` (conventionally "image:didFinishSavingWithError:contextInfo:")
// to the target, which is kept alive until then, with the arguments
// (UIImage image, std::optional<NSError> error, void* contextInfo): no error after a
// save, else an "NSCocoaErrorDomain" error: 640 when the disk is full or the file-size
// limit is reached, 513 when the folder may not be written, 4 when there is no home
// folder, 512 for any other failure (an image without pixels among them).
void UIImageWriteToSavedPhotosAlbum(const UIImage& image, const std::shared_ptr<NSObject>& completionTarget,
                                    SEL completionSelector, void* contextInfo);

namespace testing {

// Where the album saves: a test's own folder (`folder`), or the user's real album when
// nothing. ios::testing::resetPlatform() points the album at a private temporary folder
// of the process (removed when the process ends), so that no test reaches the user's
// pictures unless it asks for that with setPhotoAlbumFolder(std::nullopt).
void setPhotoAlbumFolder(std::optional<std::string> folder);

// The folder the next save goes to.
[[nodiscard]] std::string photoAlbumFolder();

struct SavedPhoto {
  std::string path;
  UIImage image;
};

// The pictures in the album folder, read back from their files, oldest first.
[[nodiscard]] std::vector<SavedPhoto> savedPhotos();

// Points the album at the process's temporary album folder and empties it.
void resetPhotoAlbum();

}  // namespace testing
}  // namespace ios
