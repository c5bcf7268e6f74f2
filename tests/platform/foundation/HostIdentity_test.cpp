// What the process and the host answer about themselves: the process identifier (kept
// between calls, so a child made by fork() must see its own) and the host's time zone
// (kept between calls, so a change of TZ must be seen).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/TimeZone.h"
#include "platform/testing/PlatformFixture.h"

namespace ios {
namespace {

class HostIdentityTest : public testing::PlatformFixture {};

TEST_F(HostIdentityTest, AChildMadeByForkAnswersItsOwnProcessIdentifier) {
  ASSERT_EQ(ProcessInfo::processInfo().processIdentifier(), ::getpid());  // known before the fork
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(ProcessInfo::processInfo().processIdentifier() == ::getpid() ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child answered its parent's identifier";
  EXPECT_EQ(ProcessInfo::processInfo().processIdentifier(), ::getpid());
}

// Restores TZ when the test ends.
class ScopedTZ {
 public:
  explicit ScopedTZ(const char* value) {
    if (const char* saved = std::getenv("TZ")) saved_ = saved;
    ::setenv("TZ", value, 1);
  }
  ~ScopedTZ() {
    if (saved_) ::setenv("TZ", saved_->c_str(), 1);
    else ::unsetenv("TZ");
  }
  ScopedTZ(const ScopedTZ&) = delete;
  ScopedTZ& operator=(const ScopedTZ&) = delete;

 private:
  std::optional<std::string> saved_;
};

TEST_F(HostIdentityTest, TheHostZoneFollowsEachChangeOfTZ) {
  for (const char* zone : {"Asia/Tokyo", "Europe/Paris", "Asia/Tokyo", "America/New_York"}) {
    ScopedTZ tz(zone);
    EXPECT_EQ(TimeZone::current().identifier(), zone);
    EXPECT_EQ(TimeZone::current().identifier(), zone) << "asked again";
  }
}

}  // namespace
}  // namespace ios
