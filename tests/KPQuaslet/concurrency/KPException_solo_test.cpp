// An uncaught exception in a child process reaches the crash log before the process
// ends; the parent reads the log back and removes it. A process of its own, so that the
// fork happens before any helper thread exists.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "KPQuaslet/concurrency/KPException.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::PropertyList;

[[noreturn]] void failLogin() noexcept {
  ios::NSException("LoginFailed", "no network", PropertyList::Dictionary{{"attempt", 3}}).raise();
}

TEST(KPExceptionSolo, AnUncaughtExceptionIsLoggedBeforeTheProcessEnds) {
  kp_test::TemporaryDirectory home;
  ios::testing::ScopedHomeDirectory scopedHome(home.path());

  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    kp::KPException::enableException();
    ios::UserDefaults::standard()->setInteger(1, "crashedOnce");  // not yet written
    failLogin();
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGABRT);

  const auto text = kp::KPException::getCrashLog();
  ASSERT_TRUE(text.has_value());
  const PropertyList log = ios::JSONSerialization::jsonObject(*text);
  const auto& entries = *log.dictionaryValue();
  EXPECT_EQ(entries.at("name"), PropertyList("LoginFailed"));
  EXPECT_EQ(entries.at("reason"), PropertyList("no network"));
  EXPECT_EQ(entries.at("useInfo"), PropertyList(PropertyList::Dictionary{{"attempt", 3}}));
  ASSERT_NE(entries.at("callStackSymbols").arrayValue(), nullptr);
  EXPECT_FALSE(entries.at("callStackSymbols").arrayValue()->empty());
  EXPECT_EQ(ios::UserDefaults::standard()->integer("crashedOnce"), 1) << "pending defaults are written on the way out";

  EXPECT_TRUE(kp::KPException::removeCrashLog());
  EXPECT_EQ(kp::KPException::getCrashLog(), std::nullopt);
  ios::testing::resetUserDefaults();
}

}  // namespace
