#include "platform/foundation/FileManager.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/foundation/Bundle.h"

namespace ios {
namespace {

namespace fs = std::filesystem;

struct Substitutes {
  std::mutex mutex;
  std::optional<std::string> home;
  bool volumeSubstituted = false;
  std::optional<FileSystemAttributes> volume;
  std::string volumeError;
};

Substitutes& substitutes() {
  static Substitutes s;
  return s;
}

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

void listInto(const std::string& root, const std::string& prefix, std::vector<std::string>& out) {
  auto names = FileManager::defaultManager().contentsOfDirectory(prefix.empty() ? root : root + "/" + prefix);
  if (!names) return;
  for (const auto& name : *names) {
    const std::string relative = prefix.empty() ? name : prefix + "/" + name;
    out.push_back(relative);
    struct stat info {};
    if (::lstat((root + "/" + relative).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      listInto(root, relative, out);
    }
  }
}

}  // namespace

std::string userHomeDirectory() {
  {
    auto& s = substitutes();
    std::lock_guard lock(s.mutex);
    if (s.home) return *s.home;
  }
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

std::string applicationContainersDirectory() {
  std::string dataHome;
  bool substituted = false;
  {
    auto& s = substitutes();
    std::lock_guard lock(s.mutex);
    substituted = s.home.has_value();
  }
  const std::string home = userHomeDirectory();
  if (home.empty()) return {};
  // A substituted home is a whole user's worth of folders: the environment's data folder
  // belongs to the real user and is not used then.
  const char* xdg = substituted ? nullptr : std::getenv("XDG_DATA_HOME");
  dataHome = xdg && xdg[0] == '/' ? std::string(xdg) : home + "/.local/share";
  return dataHome + "/kpquaslet/containers";
}

std::string NSHomeDirectory() {
  const std::string containers = applicationContainersDirectory();
  if (containers.empty()) return {};
  const std::string container = containers + "/" + applicationIdentifier();
  // The platform's container always exists; this one is made on first use, owner-only,
  // but only inside an existing home folder (a missing one is never made up).
  struct stat info {};
  if (::stat(container.c_str(), &info) != 0 && ::stat(userHomeDirectory().c_str(), &info) == 0 &&
      S_ISDIR(info.st_mode)) {
    fs::path partial;
    for (const auto& component : fs::path(container)) {
      partial /= component;
      if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) break;
    }
  }
  return container;
}

FileManager& FileManager::defaultManager() {
  static FileManager manager;
  return manager;
}

bool FileManager::fileExists(const std::string& path) const {
  bool isDirectory = false;
  return fileExists(path, isDirectory);
}

bool FileManager::fileExists(const std::string& path, bool& isDirectory) const {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;
  isDirectory = S_ISDIR(info.st_mode);
  return true;
}

std::optional<FileAttributes> FileManager::attributesOfItem(const std::string& path, std::string* error) const {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    setError(error, std::strerror(errno));
    return std::nullopt;
  }
  return FileAttributes{static_cast<std::uint64_t>(info.st_size), S_ISDIR(info.st_mode)};
}

std::optional<FileSystemAttributes> FileManager::attributesOfFileSystem(const std::string& path,
                                                                        std::string* error) const {
  {
    auto& s = substitutes();
    std::lock_guard lock(s.mutex);
    if (s.volumeSubstituted) {
      if (!s.volume) setError(error, s.volumeError);
      return s.volume;
    }
  }
  struct statvfs info {};
  if (::statvfs(path.c_str(), &info) != 0) {
    setError(error, std::strerror(errno));
    return std::nullopt;
  }
  return FileSystemAttributes{
      static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize,
      static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize,
      static_cast<std::uint64_t>(info.f_files),
      static_cast<std::uint64_t>(info.f_ffree),
  };
}

std::optional<std::vector<std::string>> FileManager::contentsOfDirectory(const std::string& path) const {
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return std::nullopt;
    names.push_back(it->path().filename().string());
  }
  if (ec) return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::vector<std::string>> FileManager::subpathsOfDirectory(const std::string& path) const {
  if (!contentsOfDirectory(path)) return std::nullopt;
  std::vector<std::string> out;
  listInto(path, "", out);
  return out;
}

bool FileManager::removeItem(const std::string& path, std::string* error, bool* missing) const {
  if (missing) *missing = false;
  std::error_code ec;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (missing) *missing = (errno == ENOENT || errno == ENOTDIR);
    setError(error, std::strerror(errno));
    return false;
  }
  fs::remove_all(path, ec);
  if (ec) {
    setError(error, ec.message());
    return false;
  }
  return true;
}

bool FileManager::createDirectory(const std::string& path, std::string* error) const {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) {
    setError(error, ec.message());
    return false;
  }
  return true;
}

std::vector<std::string> FileManager::urls(SearchPathDirectory directory) const {
  const std::string home = NSHomeDirectory();
  if (home.empty()) return {};
  switch (directory) {
    case SearchPathDirectory::documentDirectory: return {home + "/Documents"};
    case SearchPathDirectory::cachesDirectory: return {home + "/Library/Caches"};
    case SearchPathDirectory::libraryDirectory: return {home + "/Library"};
  }
  return {};
}

std::string FileManager::currentDirectoryPath() const {
  std::error_code error;
  const auto path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

namespace testing {

ScopedHomeDirectory::ScopedHomeDirectory(std::string path) {
  auto& s = substitutes();
  std::lock_guard lock(s.mutex);
  previous_ = std::exchange(s.home, std::move(path));
}

ScopedHomeDirectory::~ScopedHomeDirectory() {
  auto& s = substitutes();
  std::lock_guard lock(s.mutex);
  s.home = std::move(previous_);
}

ScopedFileSystemAttributes::ScopedFileSystemAttributes(std::optional<FileSystemAttributes> attributes,
                                                       std::string error) {
  auto& s = substitutes();
  std::lock_guard lock(s.mutex);
  s.volumeSubstituted = true;
  s.volume = attributes;
  s.volumeError = std::move(error);
}

ScopedFileSystemAttributes::~ScopedFileSystemAttributes() {
  auto& s = substitutes();
  std::lock_guard lock(s.mutex);
  s.volumeSubstituted = false;
  s.volume.reset();
}

void resetFileSystem() {
  auto& s = substitutes();
  std::lock_guard lock(s.mutex);
  s.home.reset();
  s.volumeSubstituted = false;
  s.volume.reset();
}

}  // namespace testing
}  // namespace ios
