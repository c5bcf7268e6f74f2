// File: platform/foundation/FileManager.h
//
// The file system as the platform's file manager presents it: existence, item and
// volume attributes, listings and removal, over the real Linux file system.
//
//   auto& fm = ios::FileManager::defaultManager();
//   fm.fileExists("/tmp");                           // true
//   fm.attributesOfItem("/etc/hostname")->fileSize;  // bytes
//
// Fidelity: item attributes describe the entry itself (links are not followed); listings
// are sorted by name, so their order is stable; a recursive listing names a folder
// before its contents and does not descend into linked folders. Failures come back as
// an empty optional or false with an error description, never as an exception. Volume
// figures come from statvfs (a test may substitute them).
//
// Where an application's files live. Each application (named by
// ios::applicationIdentifier(), see Bundle.h) has a container folder of its own, and
// NSHomeDirectory() answers it, as on the platform:
//
//   $XDG_DATA_HOME/kpquaslet/containers/<application identifier>/
//       Documents/                    the application's documents (not the user's ~/Documents)
//       Documents/crash/.Exception/   crash logs
//       Library/Preferences/          settings, one "<suite>.json" per suite; the
//                                     application's own suite is "<identifier>.json"
//       Library/Caches/
//       tmp/                          files being written (crash logs before they are named)
//
// ($XDG_DATA_HOME when it is an absolute path, else ~/.local/share.) The keychain is the
// user's, shared by all applications as the platform's is, and scopes its items by
// access group (the application identifier): ~/Library/Keychains/keychain.db. The
// container's folders are owner-only (0700); nothing ever makes up the user's home
// folder itself. What earlier versions kept
// outside the containers (settings in ~/Library/Preferences, crash logs in
// ~/Documents/crash/.Exception, keychain items without an access group) is imported as
// each store's header says. A test substitutes the user's home folder with
// ios::testing::ScopedHomeDirectory; the containers then lie in its ".local/share".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ios {

// The application's container folder (see the banner), made (owner-only) when the
// user's home folder exists and it does not; "" when the user has no home folder (an
// empty one was substituted).
[[nodiscard]] std::string NSHomeDirectory();
// The user's own home folder ($HOME, else the password database's).
[[nodiscard]] std::string userHomeDirectory();
// The folder holding every application's container; "" when the user has no home folder.
[[nodiscard]] std::string applicationContainersDirectory();

struct FileAttributes {
  std::uint64_t fileSize = 0;
  bool isDirectory = false;
};

struct FileSystemAttributes {
  std::uint64_t systemSize = 0;
  std::uint64_t systemFreeSize = 0;
  std::uint64_t systemNodes = 0;
  std::uint64_t systemFreeNodes = 0;
};

enum class SearchPathDirectory { documentDirectory, cachesDirectory, libraryDirectory };

class FileManager {
 public:
  // The shared file manager.
  static FileManager& defaultManager();

  [[nodiscard]] bool fileExists(const std::string& path) const;
  [[nodiscard]] bool fileExists(const std::string& path, bool& isDirectory) const;
  // The entry's own attributes, or nothing (with `error` describing why).
  [[nodiscard]] std::optional<FileAttributes> attributesOfItem(const std::string& path,
                                                               std::string* error = nullptr) const;
  // The attributes of the volume holding `path`, or nothing (with `error`).
  [[nodiscard]] std::optional<FileSystemAttributes> attributesOfFileSystem(const std::string& path,
                                                                           std::string* error = nullptr) const;
  // Names of the folder's immediate entries, or nothing when it cannot be listed.
  [[nodiscard]] std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path) const;
  // Every path below the folder, relative to it, a folder before its contents; nothing
  // when the folder cannot be listed.
  [[nodiscard]] std::optional<std::vector<std::string>> subpathsOfDirectory(const std::string& path) const;
  // Removes the entry (a folder with everything in it). False with `error` on failure;
  // `missing` tells whether the failure was that nothing was there.
  bool removeItem(const std::string& path, std::string* error = nullptr, bool* missing = nullptr) const;
  // Creates the folder and any missing parents.
  bool createDirectory(const std::string& path, std::string* error = nullptr) const;
  // The user-domain folders of this kind ("<home>/Documents" for documents); none when
  // there is no home folder (an empty one was substituted).
  [[nodiscard]] std::vector<std::string> urls(SearchPathDirectory directory) const;
  // The process's current folder, or "" when it cannot be read (it was removed).
  [[nodiscard]] std::string currentDirectoryPath() const;

 private:
  FileManager() = default;
};

namespace testing {

// ScopedHomeDirectory
//
// While alive, the user's home folder is `path` (and the application's container lies in
// its ".local/share/kpquaslet/containers").
class ScopedHomeDirectory {
 public:
  explicit ScopedHomeDirectory(std::string path);
  ~ScopedHomeDirectory();
  ScopedHomeDirectory(const ScopedHomeDirectory&) = delete;
  ScopedHomeDirectory& operator=(const ScopedHomeDirectory&) = delete;

 private:
  std::optional<std::string> previous_;
};

// ScopedFileSystemAttributes
//
// While alive, attributesOfFileSystem() answers `attributes`, or fails with `error`
// when `attributes` is empty.
class ScopedFileSystemAttributes {
 public:
  ScopedFileSystemAttributes(std::optional<FileSystemAttributes> attributes, std::string error = "");
  ~ScopedFileSystemAttributes();
  ScopedFileSystemAttributes(const ScopedFileSystemAttributes&) = delete;
  ScopedFileSystemAttributes& operator=(const ScopedFileSystemAttributes&) = delete;
};

// Forgets the substituted home folder and volume figures.
void resetFileSystem();

}  // namespace testing
}  // namespace ios
