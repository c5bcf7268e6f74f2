// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kp_test {

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kpquaslet-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TemporaryDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  [[nodiscard]] const std::string& path() const { return path_; }

  // Writes a file of `size` bytes at `relative` (creating its folders) and returns its path.
  std::string writeFile(const std::string& relative, std::size_t size) const {
    const auto full = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << std::string(size, 'x');
    return full.string();
  }

  // Creates a folder at `relative` and returns its path.
  std::string makeFolder(const std::string& relative) const {
    const auto full = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(full);
    return full.string();
  }

 private:
  std::string path_;
};

}  // namespace kp_test
