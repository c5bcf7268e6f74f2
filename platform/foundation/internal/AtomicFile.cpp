#include "platform/foundation/internal/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace ios::foundation_internal {
namespace {

std::string describeErrno(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool makeParentFolders(const std::string& path, mode_t fileMode, std::string* error) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  if (std::filesystem::is_directory(parent, ec)) return true;
  // Folders holding owner-only files are owner-only themselves.
  const bool privateFiles = (fileMode & 077) == 0;
  std::filesystem::path partial;
  for (const auto& component : parent) {
    partial /= component;
    if (std::filesystem::is_directory(partial, ec)) continue;
    if (::mkdir(partial.c_str(), privateFiles ? 0700 : 0755) != 0 && errno != EEXIST) {
      if (error) *error = describeErrno("cannot create folder", partial.string());
      return false;
    }
  }
  return true;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string* error, bool* missing) {
  if (missing) *missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (missing) *missing = errno == ENOENT;
    if (error) *error = describeErrno("cannot open", path);
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = describeErrno("cannot read", path);
      ::close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool writeAtomically(const std::string& path, std::string_view bytes, mode_t mode, std::string* error) {
  return makeParentFolders(path, mode, error) && replaceFile(path, bytes, mode, error);
}

bool replaceFile(const std::string& path, std::string_view bytes, mode_t mode, std::string* error,
                 struct stat* written) {
  static thread_local std::mt19937_64 names{std::random_device{}()};
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = path + ".tmp-" + std::to_string(names());
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) *error = describeErrno("cannot create", temporary);
    return false;
  }
  // The process's umask may have narrowed the bits; set exactly what was asked for.
  bool ok = ::fchmod(fd, mode) == 0;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  // The file's status is the same once renamed (same inode, size and times).
  if (ok && written) ok = ::fstat(fd, written) == 0;
  if (!ok && error) *error = describeErrno("cannot write", temporary);
  if (::close(fd) != 0 && ok) {
    ok = false;
    if (error) *error = describeErrno("cannot write", temporary);
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    if (error) *error = describeErrno("cannot replace", path);
  }
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

bool moveAsideWithoutReplacing(const std::string& path, const std::string& suffix, std::string* movedTo) {
  for (int n = 0; n < 1000; ++n) {
    const std::string target = path + suffix + (n == 0 ? "" : "-" + std::to_string(n));
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) continue;
    // link + unlink never replaces an existing file, unlike rename.
    if (::link(path.c_str(), target.c_str()) != 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    ::unlink(path.c_str());
    if (movedTo) *movedTo = target;
    return true;
  }
  return false;
}

bool preserveUnreadableFile(const std::string& path, std::string* movedTo) {
  return moveAsideWithoutReplacing(path, ".corrupt", movedTo);
}

std::optional<std::string> loadStoreFile(const std::string& path,
                                         const std::function<void(const std::string&)>& parse) {
  std::string error;
  bool missing = false;
  const auto bytes = readWholeFile(path, &error, &missing);
  if (!bytes) {
    if (missing) return std::nullopt;
    return error;
  }
  try {
    parse(*bytes);
    return std::nullopt;
  } catch (const std::exception& e) {
    return path + ": " + e.what();
  }
}

bool writeStoreFile(const std::string& path, std::string_view bytes, bool& keepUnreadableAside, std::string* error,
                    std::string* note, struct stat* written) {
  if (keepUnreadableAside) {
    std::string movedTo;
    bool missing = false;
    // Nothing to keep when the unreadable file has gone meanwhile.
    if (!readWholeFile(path, nullptr, &missing) && missing) {
      keepUnreadableAside = false;
    } else if (!preserveUnreadableFile(path, &movedTo)) {
      if (error) *error = "cannot move the unreadable " + path + " aside; not overwriting it";
      return false;
    } else {
      if (note) *note = "kept the unreadable file as " + movedTo;
      keepUnreadableAside = false;
    }
  }
  return replaceFile(path, bytes, 0600, error, written);
}

}  // namespace ios::foundation_internal
