#include "platform/uikit/UIPhotoAlbum.h"

#include <stdio.h>
#include <stdlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/internal/AtomicFile.h"
#include "platform/runtime/Send.h"

namespace ios {
namespace {

// Foundation's file-writing error codes.
constexpr std::int64_t kNoSuchFile = 4;
constexpr std::int64_t kWriteUnknown = 512;
constexpr std::int64_t kWriteNoPermission = 513;
constexpr std::int64_t kWriteOutOfSpace = 640;

NSError cocoaError(std::int64_t code) { return NSError{"NSCocoaErrorDomain", code}; }

NSError writeError(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return cocoaError(kWriteOutOfSpace);
    case EACCES:
    case EPERM:
    case EROFS: return cocoaError(kWriteNoPermission);
    default: return cocoaError(kWriteUnknown);
  }
}

// Where saves go: the user's album, a folder a test chose, or the process's scratch album.
struct AlbumPlace {
  enum class Kind { user, folder, scratch };
  std::mutex mutex;
  Kind kind = Kind::user;
  std::string folder;
  std::string scratch;  // made on first use

  ~AlbumPlace() { removeScratch(); }
  void removeScratch() {
    if (scratch.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    scratch.clear();
  }
};

AlbumPlace& place() {
  static AlbumPlace p;
  return p;
}

// The value of XDG_PICTURES_DIR in a user-dirs.dirs text: "$HOME/..." or an absolute
// path, quoted; the last assignment holds, as when the shell reads the file.
std::optional<std::string> picturesEntry(std::string_view text, const std::string& home) {
  std::optional<std::string> found;
  constexpr std::string_view key = "XDG_PICTURES_DIR=";
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
    if (!line.starts_with(key)) continue;
    line.remove_prefix(key.size());
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    if (line == "$HOME" || line.starts_with("$HOME/")) {
      found = home + std::string(line.substr(5));
    } else if (line.starts_with("/")) {
      found = std::string(line);
    }
  }
  return found;
}

// The user's pictures folder, or nothing without a home folder.
std::optional<std::string> userPicturesFolder() {
  const std::string home = userHomeDirectory();
  if (home.empty()) return std::nullopt;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::string config = configHome && configHome[0] == '/' ? configHome : home + "/.config";
  if (auto text = foundation_internal::readWholeFile(config + "/user-dirs.dirs")) {
    if (auto entry = picturesEntry(*text, home)) return entry;
  }
  return home + "/Pictures";
}

std::optional<std::string> albumFolder() {
  AlbumPlace& p = place();
  std::unique_lock lock(p.mutex);
  switch (p.kind) {
    case AlbumPlace::Kind::folder: return p.folder;
    case AlbumPlace::Kind::scratch:
      if (p.scratch.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kpquaslet-album-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
        p.scratch = pattern;
      }
      return p.scratch;
    case AlbumPlace::Kind::user: break;
  }
  lock.unlock();
  auto pictures = userPicturesFolder();
  if (!pictures) return std::nullopt;
  return *pictures + "/" + applicationIdentifier();
}

// "IMG_yyyyMMdd_HHmmss_SSS" in the current time zone.
std::string pictureStem() {
  const Date now = Date::now();
  const double local = now.timeIntervalSince1970() + static_cast<double>(TimeZone::current().secondsFromGMT(now));
  const double seconds = std::floor(local);
  const int milliseconds = std::clamp(static_cast<int>((local - seconds) * 1000), 0, 999);
  const auto whole = static_cast<std::time_t>(seconds);
  std::tm parts{};
  ::gmtime_r(&whole, &parts);
  char stem[40];
  std::snprintf(stem, sizeof stem, "IMG_%04d%02d%02d_%02d%02d%02d_%03d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, milliseconds);
  return stem;
}

// Gives the written file `from` the name `to` unless a file already has it; errno tells
// why not. Falls back to link + unlink where the file system cannot rename that way.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

std::optional<NSError> savePicture(const UIImage& image) {
  const auto png = UIImagePNGRepresentation(image);
  if (!png) return cocoaError(kWriteUnknown);
  const auto folder = albumFolder();
  if (!folder) return cocoaError(kNoSuchFile);

  static std::atomic<unsigned> saves{0};
  const std::string stem = pictureStem();
  const std::string hidden =
      *folder + "/." + stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(saves++) + ".saving";
  const std::string_view bytes(reinterpret_cast<const char*>(png->data()), png->size());
  if (!foundation_internal::writeAtomically(hidden, bytes, 0600)) return writeError(errno);
  for (int n = 1; n < 100000; ++n) {
    const std::string name = *folder + "/" + stem + (n == 1 ? "" : "_" + std::to_string(n)) + ".png";
    if (renameWithoutReplacing(hidden, name)) return std::nullopt;
    if (errno != EEXIST) break;
  }
  const NSError failure = writeError(errno);
  ::unlink(hidden.c_str());
  return failure;
}

}  // namespace

void UIImageWriteToSavedPhotosAlbum(const UIImage& image, const std::shared_ptr<NSObject>& completionTarget,
                                    SEL completionSelector, void* contextInfo) {
  std::optional<NSError> error = savePicture(image);
  if (!completionTarget || completionSelector == nullptr) return;
  DispatchQueue::main().async(
      [target = completionTarget, completionSelector, image, error = std::move(error), contextInfo] {
        send<void>(target, completionSelector, image, error, contextInfo);
      });
}

namespace testing {

void setPhotoAlbumFolder(std::optional<std::string> folder) {
  AlbumPlace& p = place();
  std::lock_guard lock(p.mutex);
  p.kind = folder ? AlbumPlace::Kind::folder : AlbumPlace::Kind::user;
  p.folder = folder.value_or(std::string());
}

std::string photoAlbumFolder() { return albumFolder().value_or(std::string()); }

std::vector<SavedPhoto> savedPhotos() {
  std::vector<SavedPhoto> photos;
  const std::string folder = photoAlbumFolder();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".") || !name.ends_with(".png")) continue;
    const auto bytes = foundation_internal::readWholeFile(entry.path().string());
    if (!bytes) continue;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
    photos.push_back({entry.path().string(), UIImage::fromData({data, bytes->size()}).value_or(UIImage())});
  }
  // Names sort by time; a counter ("_2", "_10") follows the first picture of its instant.
  const auto order = [](const SavedPhoto& photo) {
    const std::string name = std::filesystem::path(photo.path).stem().string();
    const std::size_t stemLength = std::string_view("IMG_yyyyMMdd_HHmmss_SSS").size();
    const std::string counter = name.size() > stemLength + 1 ? name.substr(stemLength + 1) : "1";
    return std::make_pair(name.substr(0, stemLength), std::strtol(counter.c_str(), nullptr, 10));
  };
  std::sort(photos.begin(), photos.end(),
            [&](const SavedPhoto& a, const SavedPhoto& b) { return order(a) < order(b); });
  return photos;
}

void resetPhotoAlbum() {
  AlbumPlace& p = place();
  std::lock_guard lock(p.mutex);
  p.kind = AlbumPlace::Kind::scratch;
  p.folder.clear();
  p.removeScratch();
}

}  // namespace testing
}  // namespace ios
