// Saving crash logs on file systems that lack features: no hard links, and renames that
// cannot refuse to replace. A process of its own, because the C library's link() and
// renameat2() are replaced here (the library's calls reach these definitions first) to
// fail the way such a file system does.
#include <dlfcn.h>
#include <stdio.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "KPQuaslet/concurrency/KPException.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/foundation/TimeZone.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::atomic<bool> noHardLinks{false};
std::atomic<bool> noRenameWithoutReplace{false};

template <class F>
F real(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int link(const char* from, const char* to) noexcept {
  if (noHardLinks.load()) {
    errno = EPERM;  // what a file system without hard links answers
    return -1;
  }
  static const auto next = real<int (*)(const char*, const char*)>("link");
  return next(from, to);
}

extern "C" int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to,
                         unsigned int flags) noexcept {
  if (noRenameWithoutReplace.load() && (flags & RENAME_NOREPLACE) != 0) {
    errno = EINVAL;
    return -1;
  }
  static const auto next = real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  return next(fromDirectory, from, toDirectory, to, flags);
}

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class KPExceptionFileSystem : public ::testing::Test {
 protected:
  ~KPExceptionFileSystem() override {
    noHardLinks = false;
    noRenameWithoutReplace = false;
  }
  static std::string folder() { return ios::NSHomeDirectory() + "/Documents/crash/.Exception"; }
  std::vector<std::string> entries() const {
    return ios::FileManager::defaultManager().contentsOfDirectory(folder()).value_or(std::vector<std::string>{});
  }
  std::string read(const std::string& name) const {
    std::ifstream in(folder() + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedTimeZone zone_{"UTC"};
  ios::testing::ScopedLocale locale_{"en_US"};
  ios::testing::ManualClock clock_{757263845};  // 2024-12-30 15:04:05 UTC
  ios::testing::CapturedOutput output_;
};

TEST_F(KPExceptionFileSystem, LogsAreSavedWithoutHardLinks) {
  noHardLinks = true;
  ASSERT_EQ(::link("/dev/null", (home_.path() + "/x").c_str()), -1) << "the replacement is in effect";
  kp::exceptionHandler(ios::NSException("NoLinks", "a"));
  kp::exceptionHandler(ios::NSException("NoLinksAgain", "b"));
  EXPECT_EQ(output_.text().find("崩溃日志保存失败"), std::string::npos) << output_.text();
  EXPECT_THAT(entries(), ElementsAre("20251230030405-1.log", "20251230030405.log"));
  EXPECT_THAT(read("20251230030405.log"), HasSubstr("\"name\" : \"NoLinks\""));
}

TEST_F(KPExceptionFileSystem, WithoutARenameThatRefusesToReplaceTheNameIsClaimedFirst) {
  noHardLinks = true;
  noRenameWithoutReplace = true;
  for (const char* name : {"First", "Second", "Third"}) kp::exceptionHandler(ios::NSException(name, "x"));
  EXPECT_EQ(output_.text().find("崩溃日志保存失败"), std::string::npos) << output_.text();
  EXPECT_THAT(entries(), ElementsAre("20251230030405-1.log", "20251230030405-2.log", "20251230030405.log"))
      << "no log replaced, no temporary file left";
  EXPECT_THAT(read("20251230030405.log"), HasSubstr("\"name\" : \"First\""));
  EXPECT_THAT(read("20251230030405-1.log"), HasSubstr("\"name\" : \"Second\""));
  EXPECT_THAT(read("20251230030405-2.log"), HasSubstr("\"name\" : \"Third\""));
  EXPECT_THAT(kp::KPException::getCrashLog().value_or(""), HasSubstr("\"name\" : \"Second\""));
}

}  // namespace
