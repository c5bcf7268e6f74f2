// The keychain shared between processes: a process killed in the middle of its stores,
// two processes storing at once, and a child made by fork. A test executable of its own,
// so that it forks while it has a single thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>

#include "platform/foundation/FileManager.h"
#include "platform/security/SecItem.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/platform/security/KeychainQueries.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ::testing::IsEmpty;
using namespace kp_test::keychain;

using kp_test::exitStatusOf;
using kp_test::Pipe;
using kp_test::startChild;

std::string accountOf(std::uint32_t index) { return "k" + std::to_string(index); }

// A secret that tells which store wrote it, long enough to spread the items over pages.
ios::Data secretOf(std::uint32_t index) {
  ios::Data data(96, static_cast<std::uint8_t>(index));
  for (int b = 0; b < 4; ++b) data[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(index >> (8 * b));
  return data;
}

class SecItemProcessesTest : public ios::testing::PlatformFixture {
 protected:
  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
};

// Each round a child stores item after item from `first` on, reporting the index of
// every store that returned; the parent kills it once it has seen `killAfter` reports,
// then checks that every reported store is in the reopened database.
TEST_F(SecItemProcessesTest, AProcessKilledMidBurstLosesNoStoreThatReturned) {
  std::set<std::uint32_t> reported;
  std::uint32_t first = 0;
  for (const std::uint32_t killAfter : {150u, 700u, 1600u}) {
    SCOPED_TRACE(killAfter);
    const kp_test::KilledRun run = kp_test::runAndKill(killAfter, [&](int report) {
      for (std::uint32_t i = first;; ++i) {
        if (ios::SecItemAdd(item(accountOf(i), secretOf(i))) != ios::errSecSuccess) ::_exit(2);
        kp_test::acknowledge(report, i);
      }
    });
    ASSERT_TRUE(run.killed) << "the child stopped by itself";
    const auto seen = static_cast<std::uint32_t>(run.acknowledged.size());
    reported.insert(run.acknowledged.begin(), run.acknowledged.end());

    ios::testing::resetKeychain();  // what the next process sees
    EXPECT_THAT(ios::testing::keychainIntegrityProblems(), IsEmpty());
    std::set<std::string> stored;
    for (const auto& it : ios::testing::keychainItems()) stored.insert(it.account);
    for (const std::uint32_t i : reported) {
      ASSERT_TRUE(stored.contains(accountOf(i))) << "store " << i << " returned but is gone";
    }
    // The stores are in order, and at most the last one returned without the time to
    // report it.
    const auto thisRound = static_cast<std::uint32_t>(stored.size()) - first;
    EXPECT_TRUE(thisRound == seen || thisRound == seen + 1) << thisRound << " stored, " << seen << " reported";
    for (std::uint32_t i = 0; i < first + thisRound; ++i) EXPECT_TRUE(stored.contains(accountOf(i))) << i;
    EXPECT_EQ(read(accountOf(*reported.rbegin())), secretOf(*reported.rbegin()));
    first += thisRound;
    ios::testing::resetKeychain();
  }
}

TEST_F(SecItemProcessesTest, TwoProcessesStoringAtOnceLoseNothing) {
  constexpr int kEach = 400;
  Pipe go;
  std::vector<pid_t> children;
  for (const char* prefix : {"left.", "right."}) {
    children.push_back(startChild([&, prefix] {
      go.closeWriting();
      char byte;
      // Both children start when the parent closes its end.
      while (::read(go.ends[0], &byte, 1) < 0 && errno == EINTR) {
      }
      int failures = 0;
      for (int i = 0; i < kEach; ++i) {
        const std::string account = prefix + std::to_string(i);
        if (ios::SecItemAdd(item(account, {static_cast<std::uint8_t>(i)})) != ios::errSecSuccess) ++failures;
        if (read(account) != ios::Data{static_cast<std::uint8_t>(i)}) ++failures;
      }
      return failures == 0 ? 0 : 1;
    }));
    ASSERT_GT(children.back(), 0);
  }
  go.closeWriting();
  for (const pid_t child : children) EXPECT_EQ(exitStatusOf(child), 0);

  ios::testing::resetKeychain();
  const auto items = ios::testing::keychainItems();
  EXPECT_EQ(items.size(), std::size_t{2 * kEach});
  EXPECT_EQ(read("left.399"), ios::Data{static_cast<std::uint8_t>(399)});
  EXPECT_EQ(read("right.0"), ios::Data{0});
  EXPECT_THAT(ios::testing::keychainIntegrityProblems(), IsEmpty());
}

TEST_F(SecItemProcessesTest, AForkedChildUsesItsOwnConnectionBesideTheParents) {
  ASSERT_EQ(ios::SecItemAdd(item("parent", {1})), ios::errSecSuccess);  // the parent's connection is open
  Pipe done;
  const pid_t child = startChild([&] {
    done.closeReading();
    if (read("parent") != ios::Data{1}) return 1;
    if (ios::SecItemAdd(item("child", {2})) != ios::errSecSuccess) return 2;
    if (ios::SecItemDelete(find("parent")) != ios::errSecSuccess) return 3;
    return 0;
  });
  ASSERT_GT(child, 0);
  EXPECT_EQ(exitStatusOf(child), 0);
  EXPECT_EQ(read("child"), ios::Data{2}) << "the parent sees the child's store";
  EXPECT_EQ(read("parent"), std::nullopt) << "and its delete";
  EXPECT_EQ(ios::SecItemAdd(item("parent", {3})), ios::errSecSuccess);
  EXPECT_THAT(ios::testing::keychainIntegrityProblems(), IsEmpty());
}

}  // namespace
