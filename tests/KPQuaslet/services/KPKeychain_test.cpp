#include "KPQuaslet/services/KPKeychain.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using kp::KPKeychain;
using kp::KPKeychainAccessOptions;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KPKeychainTest : public ios::testing::PlatformFixture {
 protected:
  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
};

TEST_F(KPKeychainTest, ThePrefixIsPartOfTheAccount) {
  KPKeychain prefixed("app_");
  ASSERT_TRUE(prefixed.set("s3cret", "token"));
  EXPECT_EQ(prefixed.get("token"), "s3cret");
  EXPECT_EQ(KPKeychain().get("token"), std::nullopt);
  EXPECT_EQ(KPKeychain().get("app_token"), "s3cret");
  ASSERT_EQ(ios::testing::keychainItems().size(), 1u);
  EXPECT_EQ(ios::testing::keychainItems()[0].account, "app_token");
}

TEST_F(KPKeychainTest, AStoreRecordsItsQueryAndReplacesWithoutDeleting) {
  KPKeychain keychain;
  ios::testing::recordKeychainDeletes();
  EXPECT_EQ(keychain.lastQueryParameters(), std::nullopt);
  ASSERT_TRUE(keychain.set("v", "k"));
  ASSERT_TRUE(keychain.set("w", "k"));
  const ios::SecQuery expected{
      {ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
      {ios::kSecAttrAccount, std::string("k")},
      {ios::kSecValueData, ios::Data{'w'}},
      {ios::kSecAttrAccessible, std::string(ios::kSecAttrAccessibleWhenUnlocked)},
  };
  EXPECT_EQ(keychain.lastQueryParameters(), expected);
  EXPECT_THAT(ios::testing::keychainDeleteQueries(), IsEmpty()) << "an overwrite is one update, not a delete";
  (void)keychain.get("k");
  (void)keychain.delete_("k");
  EXPECT_EQ(keychain.lastQueryParameters(), expected) << "only stores record their query";
  EXPECT_EQ(ios::testing::keychainDeleteQueries().size(), 1u);
}

TEST_F(KPKeychainTest, DeletesAreNotRecordedUnlessATestAsks) {
  KPKeychain keychain;
  ASSERT_TRUE(keychain.set("secret", "k"));
  ASSERT_TRUE(keychain.delete_("k"));
  EXPECT_THAT(ios::testing::keychainDeleteQueries(), IsEmpty()) << "no query, and no secret, is kept in memory";
}

TEST_F(KPKeychainTest, StoringAgainReplacesTheSecretWhateverItsAccessOption) {
  KPKeychain keychain;
  ASSERT_TRUE(keychain.set("first", "k", KPKeychainAccessOptions::accessibleAlways));
  ASSERT_TRUE(keychain.set("second", "k", KPKeychainAccessOptions::accessibleAfterFirstUnlock));
  EXPECT_EQ(keychain.get("k"), "second");
  ASSERT_EQ(ios::testing::keychainItems().size(), 1u);
  EXPECT_EQ(ios::testing::keychainItems()[0].accessible, ios::kSecAttrAccessibleAfterFirstUnlock);
  ASSERT_TRUE(keychain.set("third", "k", KPKeychainAccessOptions::accessibleAfterFirstUnlock));
  EXPECT_EQ(keychain.get("k"), "third");
}

TEST_F(KPKeychainTest, BytesThatAreNotTextReadBackOnlyAsData) {
  KPKeychain keychain;
  const ios::Data bytes{0xff, 0xfe, 0x00, 0x41};
  ASSERT_TRUE(keychain.set(bytes, "raw"));
  EXPECT_EQ(keychain.getData("raw"), bytes);
  EXPECT_EQ(keychain.get("raw"), std::nullopt);
  EXPECT_FALSE(keychain.set(std::string_view("\xc3\x28"), "bad")) << "text that is not UTF-8 is refused";
  EXPECT_EQ(keychain.getData("bad"), std::nullopt);
  EXPECT_EQ(keychain.lastQueryParameters()->at(ios::kSecAttrAccount), ios::SecValue(std::string("raw")));
}

TEST_F(KPKeychainTest, DeleteAndClearReportWhetherAnythingWasThere) {
  KPKeychain a("a_"), b("b_");
  EXPECT_FALSE(a.delete_("missing"));
  EXPECT_FALSE(a.clear()) << "an empty keychain";
  ASSERT_TRUE(a.set("1", "x"));
  ASSERT_TRUE(b.set("2", "y"));
  EXPECT_TRUE(a.delete_("x"));
  EXPECT_FALSE(a.delete_("x"));
  EXPECT_TRUE(a.clear()) << "clear reaches items of every prefix";
  EXPECT_EQ(b.get("y"), std::nullopt);
}

TEST_F(KPKeychainTest, TextFormsGoThroughTheDataForms) {
  struct Recording : KPKeychain {
    using KPKeychain::set;
    bool set(const ios::Data& value, const std::string& key, std::optional<KPKeychainAccessOptions>) override {
      stored.emplace_back(key, value);
      return true;
    }
    std::optional<ios::Data> getData(const std::string&) override { return ios::Data{'h', 'i'}; }
    std::vector<std::pair<std::string, ios::Data>> stored;
  } keychain;
  EXPECT_TRUE(keychain.set("abc", "k"));
  EXPECT_THAT(keychain.stored, ElementsAre(std::pair<std::string, ios::Data>{"k", ios::Data{'a', 'b', 'c'}}));
  EXPECT_EQ(keychain.get("anything"), "hi");
  EXPECT_TRUE(ios::testing::keychainItems().empty());
}

TEST_F(KPKeychainTest, ItemsSurviveTheProcess) {
  KPKeychain writer("app_");
  ASSERT_TRUE(writer.set(ios::Data{0x00, 0x01, 0x00}, "zeros", KPKeychainAccessOptions::accessibleAlways));
  ASSERT_TRUE(writer.set("", "empty"));
  ASSERT_TRUE(writer.set("\xE5\xAF\x86\xE7\xA0\x81", "\n\"key\" with / and \\"));
  ios::testing::resetKeychain();  // what a new process sees: only the file
  KPKeychain reader("app_");
  EXPECT_EQ(reader.getData("zeros"), (ios::Data{0x00, 0x01, 0x00}));
  EXPECT_EQ(reader.get("empty"), "");
  EXPECT_EQ(reader.get("\n\"key\" with / and \\"), "\xE5\xAF\x86\xE7\xA0\x81");
  const auto items = ios::testing::keychainItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].account, "app_zeros");
  EXPECT_EQ(items[2].accessible, ios::kSecAttrAccessibleAlways);
  ASSERT_TRUE(reader.delete_("zeros"));
  ios::testing::resetKeychain();
  EXPECT_EQ(KPKeychain("app_").getData("zeros"), std::nullopt) << "a delete is written too";
}

TEST_F(KPKeychainTest, EveryAccessOptionIsStoredAndReplacedByTheNext) {
  const std::pair<KPKeychainAccessOptions, const char*> rows[] = {
      {KPKeychainAccessOptions::accessibleWhenUnlocked, ios::kSecAttrAccessibleWhenUnlocked},
      {KPKeychainAccessOptions::accessibleWhenUnlockedThisDeviceOnly,
       ios::kSecAttrAccessibleWhenUnlockedThisDeviceOnly},
      {KPKeychainAccessOptions::accessibleAfterFirstUnlock, ios::kSecAttrAccessibleAfterFirstUnlock},
      {KPKeychainAccessOptions::accessibleAfterFirstUnlockThisDeviceOnly,
       ios::kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly},
      {KPKeychainAccessOptions::accessibleAlways, ios::kSecAttrAccessibleAlways},
      {KPKeychainAccessOptions::accessibleWhenPasscodeSetThisDeviceOnly,
       ios::kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly},
      {KPKeychainAccessOptions::accessibleAlwaysThisDeviceOnly, ios::kSecAttrAccessibleAlwaysThisDeviceOnly},
  };
  KPKeychain keychain("p.");
  int round = 0;
  for (const auto& [option, constant] : rows) {
    SCOPED_TRACE(constant);
    const std::string secret = "secret " + std::to_string(++round);
    ASSERT_TRUE(keychain.set(secret, "k", option));
    EXPECT_EQ(keychain.lastQueryParameters()->at(ios::kSecAttrAccessible), ios::SecValue(std::string(constant)));
    ASSERT_EQ(ios::testing::keychainItems().size(), 1u);
    EXPECT_EQ(ios::testing::keychainItems()[0].accessible, constant);
    EXPECT_EQ(keychain.get("k"), secret);
  }
}

TEST_F(KPKeychainTest, AFailedOverwriteKeepsTheOldSecret) {
  KPKeychain keychain;
  ASSERT_TRUE(keychain.set("old", "k", KPKeychainAccessOptions::accessibleAlways));
  ios::testing::failNextKeychainWrites(1, ios::errSecIO);
  EXPECT_FALSE(keychain.set("new", "k", KPKeychainAccessOptions::accessibleAfterFirstUnlock));
  EXPECT_EQ(keychain.get("k"), "old");
  ASSERT_EQ(ios::testing::keychainItems().size(), 1u);
  EXPECT_EQ(ios::testing::keychainItems()[0].accessible, ios::kSecAttrAccessibleAlways);
  ios::testing::failNextKeychainWrites(1, ios::errSecIO);
  EXPECT_FALSE(keychain.set("first", "fresh")) << "a failed add of a new key";
  EXPECT_EQ(keychain.get("fresh"), std::nullopt);
}

TEST_F(KPKeychainTest, AHomeThatCannotBeWrittenFailsTheStoreAndKeepsTheOldSecret) {
  KPKeychain keychain;
  ASSERT_TRUE(keychain.set("old", "k"));
  {
    kp_test::TemporaryDirectory other;
    ios::testing::ScopedHomeDirectory missing(other.path() + "/not-there");
    EXPECT_FALSE(keychain.set("new", "k")) << "nothing can be written under a missing home folder";
    EXPECT_EQ(keychain.get("k"), std::nullopt);
  }
  EXPECT_EQ(keychain.get("k"), "old");
  // A keychain this process may read but not write.
  ios::testing::resetKeychain();
  const std::string database = ios::testing::keychainFilePath();
  ::chmod(database.c_str(), 0400);
  if (::access(database.c_str(), W_OK) == 0) GTEST_SKIP() << "running as root";
  EXPECT_FALSE(keychain.set("new", "k", KPKeychainAccessOptions::accessibleAlways));
  EXPECT_EQ(keychain.get("k"), "old") << "a failed overwrite keeps the old secret";
  EXPECT_FALSE(keychain.delete_("k"));
  EXPECT_EQ(keychain.get("k"), "old");
  ::chmod(database.c_str(), 0600);
}

// Applications share the user's keychain, not their items.
TEST_F(KPKeychainTest, EachApplicationReachesOnlyItsOwnItems) {
  KPKeychain keychain("app_");
  ios::Bundle::main().setBundleIdentifier("com.example.one");
  ASSERT_TRUE(keychain.set("one's", "token"));
  ios::Bundle::main().setBundleIdentifier("com.example.two");
  EXPECT_EQ(keychain.get("token"), std::nullopt);
  EXPECT_FALSE(keychain.delete_("token"));
  EXPECT_FALSE(keychain.clear()) << "nothing of its own to clear";
  ASSERT_TRUE(keychain.set("two's", "token"));
  EXPECT_TRUE(keychain.clear());
  ios::Bundle::main().setBundleIdentifier("com.example.one");
  EXPECT_EQ(keychain.get("token"), "one's") << "another application's clear() left it";
}

// Earlier versions stored items without an access group: each application gets its own
// copy once, and a copy it deletes stays deleted.
TEST_F(KPKeychainTest, ItemsOfEarlierVersionsAreCopiedToEachApplicationOnce) {
  ASSERT_EQ(ios::SecItemAdd({{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                             {ios::kSecAttrAccount, std::string("token")},
                             {ios::kSecAttrAccessGroup, std::string()},
                             {ios::kSecValueData, ios::Data{'o', 'l', 'd'}}}),
            ios::errSecSuccess);
  KPKeychain keychain;
  ios::Bundle::main().setBundleIdentifier("com.example.one");
  EXPECT_EQ(keychain.get("token"), "old");
  EXPECT_TRUE(keychain.delete_("token"));
  ios::testing::resetKeychain();  // the next launch
  EXPECT_EQ(keychain.get("token"), std::nullopt) << "a deleted copy does not come back";
  ios::Bundle::main().setBundleIdentifier("com.example.two");
  EXPECT_EQ(keychain.get("token"), "old") << "the other application has its own copy";
}

// An item that is only ever overwritten is never missing to a reader on another thread.
TEST_F(KPKeychainTest, AnOverwrittenItemIsNeverMissingToAReader) {
  KPKeychain writer;
  ASSERT_TRUE(writer.set("0", "k"));
  std::atomic<bool> done{false};
  std::atomic<int> missing{0}, reads{0};
  std::thread reader([&] {
    KPKeychain own;
    while (!done) {
      if (!own.get("k")) ++missing;
      ++reads;
    }
  });
  for (int i = 1; i <= 300; ++i) ASSERT_TRUE(writer.set(std::to_string(i), "k"));
  done = true;
  reader.join();
  EXPECT_EQ(missing.load(), 0) << "of " << reads.load() << " reads";
  EXPECT_EQ(writer.get("k"), "300");
}

TEST(KPKeychainAccessOptions, ValuesAreThePlatformConstants) {
  EXPECT_EQ(kp::value(KPKeychainAccessOptions::accessibleWhenUnlocked), "kSecAttrAccessibleWhenUnlocked");
  EXPECT_EQ(kp::value(KPKeychainAccessOptions::accessibleAlwaysThisDeviceOnly),
            "kSecAttrAccessibleAlwaysThisDeviceOnly");
  EXPECT_STREQ(kp::KPKeychainConstants::klass, "kSecClass");
  EXPECT_STREQ(kp::KPKeychainConstants::matchLimit, "kSecMatchLimit");
}

}  // namespace
