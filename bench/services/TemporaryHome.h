// A fresh home folder for a benchmark, removed with everything in it afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace kp_bench {

struct TemporaryHome {
  TemporaryHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kp-bench-XXXXXX").string();
    path = ::mkdtemp(pattern.data()) ? pattern : "/tmp";
  }
  ~TemporaryHome() {
    std::error_code ec;
    if (path != "/tmp") std::filesystem::remove_all(path, ec);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  std::string path;
};

}  // namespace kp_bench
