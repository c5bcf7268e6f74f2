// The persistent stores (keychain, settings, crash logs) as processes use them: a child
// that stores in a loop is killed at a random acknowledgement, and what it acknowledged
// is checked afresh; several processes share one store; a file-size limit and a home
// folder that cannot be written refuse a store. A test executable of its own, so that it
// forks while it has a single thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "KPQuaslet/concurrency/KPException.h"
#include "KPQuaslet/services/KPKeychain.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/security/SecItem.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using kp_test::acknowledge;
using kp_test::runAndKill;

class PersistentStoresTest : public ios::testing::PlatformFixture {
 protected:
  // How many acknowledgements a child sends before it is killed: 1 to 12, from a fixed
  // seed so that a failure can be run again.
  std::uint32_t nextKillPoint() { return std::uniform_int_distribution<std::uint32_t>(1, 12)(random_); }

  static std::vector<std::string> namesIn(const std::string& folder) {
    return ios::FileManager::defaultManager().contentsOfDirectory(folder).value_or(std::vector<std::string>{});
  }

  std::mt19937 random_{20261209};
  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
};

// A secret that names its round and store, long enough to span pages of the database.
std::string secretOf(int round, std::uint32_t index) {
  std::string text = "round " + std::to_string(round) + " store " + std::to_string(index) + " ";
  text.resize(300, '*');
  return text;
}

TEST_F(PersistentStoresTest, KeychainOverwritesKilledMidBurstLoseNothing) {
  const int rounds = kp_test::killRounds(100, 100);
  int lost = 0;
  for (int round = 0; round < rounds; ++round) {
    const std::string key = "token" + std::to_string(round % 4);
    const auto run = runAndKill(nextKillPoint(), [&](int report) {
      kp::KPKeychain keychain("kill.");
      for (std::uint32_t i = 1;; ++i) {
        if (keychain.set(secretOf(round, i), key)) acknowledge(report, i);
      }
    });
    ASSERT_TRUE(run.killed) << "round " << round;
    ios::testing::resetKeychain();  // what the next process sees
    const std::uint32_t last = run.acknowledged.back();
    const auto stored = kp::KPKeychain("kill.").get(key);
    // The store in flight when the child was killed may have committed too.
    if (stored != secretOf(round, last) && stored != secretOf(round, last + 1)) {
      ++lost;
      ADD_FAILURE() << "round " << round << ": acknowledged " << last << ", found "
                    << stored.value_or("nothing");
    }
    ios::testing::resetKeychain();
  }
  EXPECT_EQ(lost, 0);
  EXPECT_THAT(ios::testing::keychainIntegrityProblems(), ::testing::IsEmpty());
}

TEST_F(PersistentStoresTest, AKeychainItemOverwrittenInAnotherProcessIsNeverMissing) {
  kp::KPKeychain keychain;
  ASSERT_TRUE(keychain.set("0", "k"));
  ios::testing::resetKeychain();
  kp_test::Pipe started;
  const pid_t child = kp_test::startChild([&] {
    started.closeReading();
    kp::KPKeychain writer;
    started.closeWriting();  // the parent reads from here on
    for (int i = 1; i <= 400; ++i) {
      if (!writer.set(std::to_string(i), "k")) return 1;
    }
    return 0;
  });
  ASSERT_GT(child, 0);
  started.closeWriting();
  char byte;
  while (::read(started.ends[0], &byte, 1) < 0 && errno == EINTR) {
  }
  int reads = 0;
  int missing = 0;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (!keychain.get("k")) ++missing;
    ++reads;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(missing, 0) << "of " << reads << " reads";
  EXPECT_EQ(keychain.get("k"), "400");
}

// Runs `body` in a child whose files may not grow beyond their present size plus a few
// kilobytes, and answers its exit status.
int runUnderFileSizeLimit(const std::vector<std::string>& files, const std::function<int()>& body) {
  std::uintmax_t largest = 0;
  for (const std::string& file : files) {
    std::error_code error;
    largest = std::max(largest, std::filesystem::file_size(file, error) + 0);
  }
  const pid_t child = kp_test::startChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead of killing
    const rlimit limit{largest + 8192, largest + 8192};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    return body();
  });
  return kp_test::exitStatusOf(child);
}

TEST_F(PersistentStoresTest, AKeychainStoreRefusedByAFullDiskKeepsTheOldSecret) {
  kp::KPKeychain keychain;
  ASSERT_TRUE(keychain.set("old", "k"));
  ios::testing::resetKeychain();
  const std::string database = ios::testing::keychainFilePath();
  const int status = runUnderFileSizeLimit({database, database + "-wal"}, [] {
    kp::KPKeychain writer;
    if (writer.set(std::string(1 << 20, 'n'), "k")) return 1;  // cannot fit
    return writer.get("k") == "old" ? 0 : 2;
  });
  EXPECT_EQ(status, 0);
  ios::testing::resetKeychain();
  EXPECT_EQ(keychain.get("k"), "old");
}

TEST_F(PersistentStoresTest, SettingsRefusedByAFullDiskKeepTheirFile) {
  {
    auto defaults = ios::UserDefaults::make("limited");
    defaults->setObject(ios::PropertyList("old"), "k");
    ASSERT_TRUE(defaults->synchronize());
  }
  const std::string path = ios::NSHomeDirectory() + "/Library/Preferences/limited.json";
  const int status = runUnderFileSizeLimit({path}, [] {
    auto defaults = ios::UserDefaults::make("limited");
    defaults->setObject(ios::PropertyList(std::string(1 << 20, 'n')), "k");
    return defaults->synchronize() ? 1 : 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ios::UserDefaults::make("limited")->string("k"), "old");
  for (const std::string& name : namesIn(ios::NSHomeDirectory() + "/Library/Preferences")) {
    EXPECT_THAT(name, ::testing::Not(::testing::HasSubstr(".tmp-"))) << "a failed write removes its file";
  }
}

TEST_F(PersistentStoresTest, AKeychainInAHomeThatCannotBeWrittenIsRead) {
  kp::KPKeychain keychain;
  ASSERT_TRUE(keychain.set("old", "k"));
  ios::testing::resetKeychain();  // closes the database, removing its log files
  const std::string folder = home_.path() + "/Library/Keychains";
  constexpr uid_t kNobody = 65534;
  const bool root = ::geteuid() == 0;
  if (root) {
    // Root writes everywhere: the child runs as an ordinary user who owns the files.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.path())) {
      ASSERT_EQ(::chown(entry.path().c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chown(home_.path().c_str(), kNobody, kNobody), 0);
  }
  ASSERT_EQ(::chmod(folder.c_str(), 0500), 0);
  const pid_t child = kp_test::startChild([&] {
    if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 10;
    if (::access(folder.c_str(), W_OK) == 0) return 11;
    kp::KPKeychain reader;
    if (reader.get("k") != "old") return 1;
    if (reader.set("new", "k")) return 2;
    return reader.get("k") == "old" ? 0 : 3;
  });
  EXPECT_EQ(kp_test::exitStatusOf(child), 0);
  ::chmod(folder.c_str(), 0700);
}

TEST_F(PersistentStoresTest, SettingsKilledMidBurstLoseNothing) {
  const int rounds = kp_test::killRounds(100, 100);
  int lost = 0;
  for (int round = 0; round < rounds; ++round) {
    const std::string prefix = "r" + std::to_string(round) + ".";
    const auto run = runAndKill(nextKillPoint(), [&](int report) {
      auto defaults = ios::UserDefaults::make("burst");
      for (std::uint32_t i = 0;; ++i) {
        defaults->setInteger(i, prefix + std::to_string(i));
        defaults->setObject(ios::PropertyList(secretOf(round, i)), "latest");
        if (defaults->synchronize()) acknowledge(report, i);
      }
    });
    ASSERT_TRUE(run.killed) << "round " << round;
    auto fresh = ios::UserDefaults::make("burst");
    ASSERT_EQ(fresh->loadError(), std::nullopt);
    for (const std::uint32_t i : run.acknowledged) {
      if (fresh->object(prefix + std::to_string(i)) != ios::PropertyList(std::int64_t{i})) {
        ++lost;
        ADD_FAILURE() << "round " << round << ": key " << i << " acknowledged but lost";
      }
    }
    const std::uint32_t last = run.acknowledged.back();
    const auto latest = fresh->string("latest");
    EXPECT_TRUE(latest == secretOf(round, last) || latest == secretOf(round, last + 1)) << "round " << round;
  }
  EXPECT_EQ(lost, 0);
  // The next write removes what the killed writers left behind.
  auto defaults = ios::UserDefaults::make("burst");
  defaults->setInteger(1, "after");
  ASSERT_TRUE(defaults->synchronize());
  for (const std::string& name : namesIn(ios::NSHomeDirectory() + "/Library/Preferences")) {
    EXPECT_THAT(name, ::testing::Not(::testing::HasSubstr(".tmp-")));
  }
}

TEST_F(PersistentStoresTest, FourProcessesSharingSettingsLoseNoKey) {
  constexpr int kProcesses = 4;
  constexpr int kKeys = 200;
  kp_test::Pipe go;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    children.push_back(kp_test::startChild([&, p] {
      go.closeWriting();
      char byte;
      while (::read(go.ends[0], &byte, 1) < 0 && errno == EINTR) {
      }
      auto defaults = ios::UserDefaults::make("shared");
      const std::string prefix = "p" + std::to_string(p) + ".";
      for (int k = 0; k < kKeys; ++k) {
        defaults->setInteger(k, prefix + std::to_string(k));
        defaults->setInteger(p, "last writer");
        if (!defaults->synchronize()) return 1;
      }
      // Removals are this process's changes too.
      for (int k = 0; k < kKeys; k += 4) defaults->removeObject(prefix + std::to_string(k));
      return defaults->synchronize() ? 0 : 2;
    }));
    ASSERT_GT(children.back(), 0);
  }
  go.closeWriting();  // all start at once
  for (const pid_t child : children) EXPECT_EQ(kp_test::exitStatusOf(child), 0);

  auto defaults = ios::UserDefaults::make("shared");
  int missing = 0;
  int stale = 0;
  for (int p = 0; p < kProcesses; ++p) {
    for (int k = 0; k < kKeys; ++k) {
      const auto value = defaults->object("p" + std::to_string(p) + "." + std::to_string(k));
      if (k % 4 == 0) {
        stale += value.has_value();
      } else {
        missing += value != ios::PropertyList(k);
      }
    }
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(stale, 0) << "removed keys came back";
  EXPECT_EQ(defaults->dictionaryRepresentation().size(), std::size_t{kProcesses * kKeys * 3 / 4 + 1 + 2})
      << "each process's keys, the shared one and the global domain's two";
}

// Reads every crash log of the folder and answers the reasons they hold.
std::set<std::string> reasonsOfLogs(const std::string& folder, int* unreadable) {
  std::set<std::string> reasons;
  for (const std::string& name : ios::FileManager::defaultManager().contentsOfDirectory(folder).value_or(
           std::vector<std::string>{})) {
    std::ifstream in(folder + "/" + name, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    try {
      const auto log = ios::JSONSerialization::jsonObject(text);
      reasons.insert(*log.dictionaryValue()->at("reason").stringValue());
    } catch (const std::exception&) {
      ++*unreadable;
    }
  }
  return reasons;
}

TEST_F(PersistentStoresTest, CrashLogsKilledMidBurstLoseNothing) {
  ios::testing::ScopedTimeZone zone("UTC");
  ios::testing::ManualClock clock(757263845);
  const int rounds = kp_test::killRounds(100, 100);
  std::set<std::string> acknowledged;
  for (int round = 0; round < rounds; ++round) {
    const auto run = runAndKill(nextKillPoint(), [&](int report) {
      ios::testing::CapturedOutput quiet;
      for (std::uint32_t i = 0;; ++i) {
        // A second of its own for each log (within twelve hours, whose clock texts differ).
        clock.setAbsoluteTime(757263845 + round * 300 + i);
        kp::exceptionHandler(ios::NSException("Killed", std::to_string(round) + "." + std::to_string(i)));
        acknowledge(report, i);
      }
    });
    ASSERT_TRUE(run.killed) << "round " << round;
    for (const std::uint32_t i : run.acknowledged) acknowledged.insert(std::to_string(round) + "." + std::to_string(i));
  }
  const std::string folder = kp::KPException::filePath();
  int unreadable = 0;
  const auto saved = reasonsOfLogs(folder, &unreadable);
  EXPECT_EQ(unreadable, 0) << "every file in the folder is a whole log";
  int lost = 0;
  for (const std::string& reason : acknowledged) lost += !saved.contains(reason);
  EXPECT_EQ(lost, 0);
  for (const std::string& name : namesIn(folder)) {
    struct stat info {};
    ASSERT_EQ(::stat((folder + "/" + name).c_str(), &info), 0);
    ASSERT_EQ(info.st_mode & 0777, 0600u) << name;
  }

  // What the killed saves left outside the folder goes with the next save or removal.
  ios::testing::CapturedOutput quiet;
  kp::exceptionHandler(ios::NSException("After", "after"));
  for (const std::string& name : namesIn(ios::NSHomeDirectory() + "/tmp")) ADD_FAILURE() << "left behind: " << name;
  EXPECT_TRUE(kp::KPException::removeCrashLog());
  EXPECT_THAT(namesIn(folder), ::testing::IsEmpty());
  EXPECT_EQ(kp::KPException::getCrashLog(), std::nullopt);
}

}  // namespace
