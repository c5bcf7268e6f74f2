#include "tests/fuzz/support/FuzzSupport.h"

#include <stdlib.h>

#include <cmath>
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

ios::PropertyList propertyList(FuzzedDataProvider& in, int depth) {
  using ios::PropertyList;
  switch (in.ConsumeIntegralInRange<int>(0, depth >= 3 ? 6 : 8)) {
    case 0: return nullptr;
    case 1: return in.ConsumeBool();
    case 2: return in.ConsumeIntegral<std::int64_t>();
    case 3: return doubleFromBits(in.ConsumeIntegral<std::uint64_t>());
    case 4: return in.ConsumeRandomLengthString(32);
    case 5: {
      const std::string bytes = in.ConsumeRandomLengthString(16);
      return PropertyList::fromData(PropertyList::Data(bytes.begin(), bytes.end()));
    }
    case 6: {
      const double seconds = in.ConsumeBool() ? doubleFromBits(in.ConsumeIntegral<std::uint64_t>())
                                              : in.ConsumeFloatingPointInRange<double>(-1e10, 1e10);
      return ios::Date::fromTimeIntervalSinceReferenceDate(seconds);
    }
    case 7: {
      PropertyList::Array elements;
      const int count = in.ConsumeIntegralInRange<int>(0, 3);
      for (int i = 0; i < count; ++i) elements.push_back(propertyList(in, depth + 1));
      return elements;
    }
    default: {
      PropertyList::Dictionary entries;
      const int count = in.ConsumeIntegralInRange<int>(0, 3);
      for (int i = 0; i < count; ++i) entries.insert_or_assign(in.ConsumeRandomLengthString(16), propertyList(in, depth + 1));
      return entries;
    }
  }
}

bool holdsFarDate(const ios::PropertyList& value) {
  if (const auto date = value.dateValue()) return !(std::fabs(date->timeIntervalSinceReferenceDate()) < 1e11);
  if (const auto* elements = value.arrayValue()) {
    for (const ios::PropertyList& element : *elements) {
      if (holdsFarDate(element)) return true;
    }
  }
  if (const auto* entries = value.dictionaryValue()) {
    for (const auto& [key, element] : *entries) {
      if (holdsFarDate(element)) return true;
    }
  }
  return false;
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
