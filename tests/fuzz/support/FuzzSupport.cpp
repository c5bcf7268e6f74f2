#include "tests/fuzz/support/FuzzSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "platform/foundation/Data.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"

namespace kp_fuzz {
namespace {

// The scratch home folder and the pinned settings, alive until the process ends.
struct Setting {
  Setting() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kpquaslet-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    home = pattern;
    homeOverride = std::make_unique<ios::testing::ScopedHomeDirectory>(home);
    timeZone = std::make_unique<ios::testing::ScopedTimeZone>("Asia/Shanghai");
    locale = std::make_unique<ios::testing::ScopedLocale>("en_US");
  }
  ~Setting() {
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
  }
  std::string home;
  std::unique_ptr<ios::testing::ScopedHomeDirectory> homeOverride;
  std::unique_ptr<ios::testing::ScopedTimeZone> timeZone;
  std::unique_ptr<ios::testing::ScopedLocale> locale;
};

Setting& setting() {
  static Setting value;
  return value;
}

}  // namespace

void setUp() { (void)setting(); }

const std::string& homeFolder() { return setting().home; }

std::string writeScratchFile(std::string_view name, std::string_view bytes) {
  const auto path = std::filesystem::path(homeFolder()) / std::string(name);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

bool isUTF8(std::string_view text) { return ios::isValidUTF8(text); }

double doubleFromBits(std::uint64_t bits) {
  double value = 0;
  static_assert(sizeof value == sizeof bits);
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool skipping(std::string_view fault) {
  static const std::string list = [] {
    const char* value = std::getenv("KP_FUZZ_SKIP");
    return value ? "," + std::string(value) + "," : std::string();
  }();
  return list.find("," + std::string(fault) + ",") != std::string::npos;
}

void invariantFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace kp_fuzz
