#include "platform/security/SecItem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/platform/security/KeychainQueries.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::SecQuery;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;
using namespace kp_test::keychain;

class SecItemTest : public ios::testing::PlatformFixture {
 protected:
  std::string folder() const { return home_.path() + "/Library/Keychains"; }

  // Runs `sql` on the database file behind the store's back, as another tool would.
  static int changeFile(const char* sql) {
    sqlite3* file = nullptr;
    int result = sqlite3_open(ios::testing::keychainFilePath().c_str(), &file);
    if (result == SQLITE_OK) result = sqlite3_exec(file, sql, nullptr, nullptr, nullptr);
    sqlite3_close(file);
    return result;
  }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
};

TEST_F(SecItemTest, StatusCodes) {
  EXPECT_EQ(ios::SecItemAdd(item("a", {1})), ios::errSecSuccess);
  EXPECT_EQ(ios::SecItemAdd(item("a", {2})), ios::errSecDuplicateItem);
  EXPECT_EQ(ios::SecItemCopyMatching(find("b"), nullptr), ios::errSecItemNotFound);
  EXPECT_EQ(ios::SecItemUpdate(find("b"), {{ios::kSecValueData, ios::Data{3}}}), ios::errSecItemNotFound);
  EXPECT_EQ(ios::SecItemDelete(find("b")), ios::errSecItemNotFound);
  EXPECT_EQ(ios::SecItemAdd({{ios::kSecClass, std::string("kSecClassInternetPassword")}}), ios::errSecParam);
  EXPECT_EQ(ios::SecItemAdd({{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                             {ios::kSecValueData, std::string("not bytes")}}),
            ios::errSecParam);
  EXPECT_EQ(ios::SecItemUpdate(find("a"), {{ios::kSecValueData, ios::Data{3}}}), ios::errSecSuccess);
  EXPECT_EQ(read("a"), ios::Data{3});
  EXPECT_EQ(ios::SecItemDelete(find("a")), ios::errSecSuccess);
}

TEST_F(SecItemTest, AnAttributeThatIsNotTextIsRefusedRatherThanIgnored) {
  ASSERT_EQ(ios::SecItemAdd(item("a", {1})), ios::errSecSuccess);
  const SecQuery badAccount{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                            {ios::kSecAttrAccount, ios::Data{'a'}}};
  const SecQuery badService{{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
                            {ios::kSecAttrService, true}};
  for (const SecQuery& query : {badAccount, badService}) {
    EXPECT_EQ(ios::SecItemDelete(query), ios::errSecParam);
    EXPECT_EQ(ios::SecItemCopyMatching(query, nullptr), ios::errSecParam);
    EXPECT_EQ(ios::SecItemUpdate(query, {{ios::kSecValueData, ios::Data{2}}}), ios::errSecParam);
  }
  EXPECT_EQ(ios::SecItemUpdate(find("a"), {{ios::kSecAttrAccessible, ios::Data{2}}}), ios::errSecParam);
  EXPECT_EQ(read("a"), ios::Data{1}) << "no refused query touched the item";
}

TEST_F(SecItemTest, ServiceAndAccessGroupArePartOfTheKey) {
  auto in = [](std::string service, std::string group, ios::Data data) {
    SecQuery query = item("user", std::move(data));
    if (!service.empty()) query[ios::kSecAttrService] = service;
    if (!group.empty()) query[ios::kSecAttrAccessGroup] = group;
    return query;
  };
  ASSERT_EQ(ios::SecItemAdd(in("", "", {0})), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemAdd(in("mail", "", {1})), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemAdd(in("mail", "team", {2})), ios::errSecSuccess);
  EXPECT_EQ(ios::SecItemAdd(in("mail", "team", {3})), ios::errSecDuplicateItem);
  EXPECT_EQ(read("user"), ios::Data{0}) << "the first in key order";

  SecQuery mailInTeam = find("user");
  mailInTeam[ios::kSecAttrService] = std::string("mail");
  mailInTeam[ios::kSecAttrAccessGroup] = std::string("team");
  std::optional<ios::SecValue> found;
  ASSERT_EQ(ios::SecItemCopyMatching(mailInTeam, &found), ios::errSecSuccess);
  EXPECT_EQ(found, ios::SecValue(ios::Data{2}));

  SecQuery mail = find("user");
  mail[ios::kSecAttrService] = std::string("mail");
  EXPECT_EQ(ios::SecItemDelete(mail), ios::errSecSuccess) << "the service's item in the application's own group";
  const auto items = ios::testing::keychainItems();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].service, "");
  EXPECT_EQ(items[0].accessGroup, ios::applicationIdentifier()) << "an item added without a group is the application's";
  EXPECT_EQ(items[1].accessGroup, "team") << "a query without a group does not reach another group";
  mail[ios::kSecAttrAccessGroup] = std::string("team");
  EXPECT_EQ(ios::SecItemDelete(mail), ios::errSecSuccess) << "naming the group reaches it";
}

TEST_F(SecItemTest, TheFilesAreTheOwnersAloneAndReadBackOnFirstUse) {
  ASSERT_EQ(ios::SecItemAdd(item("token", {0x00, 0xff, 0x00})), ios::errSecSuccess);
  struct stat info {};
  ASSERT_EQ(::stat(folder().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  const auto names = ios::FileManager::defaultManager().contentsOfDirectory(folder());
  ASSERT_TRUE(names.has_value());
  EXPECT_THAT(*names, ::testing::Contains("keychain.db"));
  for (const std::string& name : *names) {
    SCOPED_TRACE(name);
    EXPECT_THAT(name, ::testing::StartsWith("keychain.db"));
    ASSERT_EQ(::stat((folder() + "/" + name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }

  ios::testing::resetKeychain();
  EXPECT_EQ(read("token"), (ios::Data{0x00, 0xff, 0x00}));
}

TEST_F(SecItemTest, ADatabaseFoundWithWiderPermissionsIsNarrowedToTheOwner) {
  ASSERT_EQ(ios::SecItemAdd(item("token", {1})), ios::errSecSuccess);
  ios::testing::resetKeychain();
  ASSERT_EQ(::chmod(ios::testing::keychainFilePath().c_str(), 0644), 0);
  EXPECT_EQ(read("token"), ios::Data{1});
  struct stat info {};
  ASSERT_EQ(::stat(ios::testing::keychainFilePath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SecItemTest, EachHomeFolderHasItsOwnItems) {
  ASSERT_EQ(ios::SecItemAdd(item("mine", {1})), ios::errSecSuccess);
  kp_test::TemporaryDirectory otherHome;
  {
    ios::testing::ScopedHomeDirectory other(otherHome.path());
    EXPECT_EQ(read("mine"), std::nullopt);
    ASSERT_EQ(ios::SecItemAdd(item("theirs", {2})), ios::errSecSuccess);
  }
  EXPECT_EQ(read("mine"), ios::Data{1});
  EXPECT_EQ(read("theirs"), std::nullopt);
}

TEST_F(SecItemTest, AMissingHomeFolderFailsEveryCallAndIsNotMadeUp) {
  const std::string missing = home_.path() + "/not-there";
  ios::testing::ScopedHomeDirectory scoped(missing);
  EXPECT_EQ(ios::SecItemAdd(item("a", {1})), ios::errSecIO);
  EXPECT_EQ(ios::SecItemCopyMatching(find("a"), nullptr), ios::errSecIO);
  EXPECT_EQ(ios::SecItemDelete(find("a")), ios::errSecIO);
  EXPECT_THAT(ios::testing::keychainLoadError(), Optional(::testing::HasSubstr("does not exist")));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(SecItemTest, AFileThatIsNotADatabaseIsReportedAndLeftAlone) {
  std::filesystem::create_directories(folder());
  const std::string garbage(5000, 'x');
  std::ofstream(ios::testing::keychainFilePath(), std::ios::binary) << garbage;
  EXPECT_EQ(ios::SecItemAdd(item("a", {1})), ios::errSecIO);
  EXPECT_EQ(ios::SecItemCopyMatching(find("a"), nullptr), ios::errSecIO);
  EXPECT_TRUE(ios::testing::keychainLoadError().has_value());
  EXPECT_EQ(fileText(ios::testing::keychainFilePath()), garbage);
}

// A file that says it is of this version's layout but whose tables differ would fail
// or misread every call: it is refused as a whole, with the reason, and left alone.
TEST_F(SecItemTest, AFileWhoseTablesDifferFromTheLayoutIsReportedAndLeftAlone) {
  struct Case {
    const char* name;
    const char* change;
  };
  const Case cases[] = {
      {"column renamed", "ALTER TABLE items RENAME COLUMN accessible TO accessibility"},
      {"column added", "ALTER TABLE items ADD COLUMN label TEXT"},
      {"table missing", "DROP TABLE imported_files"},
      {"trigger added",
       "CREATE TRIGGER refuse BEFORE INSERT ON items BEGIN SELECT RAISE(ABORT, 'no'); END"},
      {"tables of another program", "DROP TABLE items; DROP TABLE imported_files; CREATE TABLE notes (t TEXT)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(folder());
    ASSERT_EQ(ios::SecItemAdd(item("token", {1})), ios::errSecSuccess);
    ios::testing::resetKeychain();
    ASSERT_EQ(changeFile(c.change), SQLITE_OK);
    const auto before = std::filesystem::file_size(ios::testing::keychainFilePath());

    EXPECT_EQ(ios::SecItemAdd(item("other", {2})), ios::errSecIO);
    EXPECT_EQ(ios::SecItemCopyMatching(find("token"), nullptr), ios::errSecIO);
    EXPECT_THAT(ios::testing::keychainLoadError(), Optional(::testing::HasSubstr("tables are not those of a keychain")));
    EXPECT_EQ(std::filesystem::file_size(ios::testing::keychainFilePath()), before);
    ios::testing::resetKeychain();
  }
  // An index or a view another tool added changes no item: such a file still opens.
  std::filesystem::remove_all(folder());
  ASSERT_EQ(ios::SecItemAdd(item("token", {1})), ios::errSecSuccess);
  ios::testing::resetKeychain();
  ASSERT_EQ(changeFile("CREATE INDEX by_service ON items(service); CREATE VIEW tokens AS SELECT account FROM items"),
            SQLITE_OK);
  EXPECT_EQ(read("token"), ios::Data{1});
  EXPECT_EQ(ios::SecItemAdd(item("other", {2})), ios::errSecSuccess);
  EXPECT_EQ(ios::testing::keychainLoadError(), std::nullopt);
}

TEST_F(SecItemTest, ThreadsStoringAtOnceLoseNothing) {
  constexpr int kThreads = 4;
  constexpr int kEach = 100;
  std::vector<int> failures(kThreads, 0);
  {
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([t, &failures] {
        for (int i = 0; i < kEach; ++i) {
          const std::string account = "t" + std::to_string(t) + "." + std::to_string(i);
          if (ios::SecItemAdd(item(account, {static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(i)})) !=
              ios::errSecSuccess) {
            ++failures[static_cast<std::size_t>(t)];
          }
        }
      });
    }
  }
  EXPECT_THAT(failures, ::testing::Each(0));
  EXPECT_EQ(ios::testing::keychainItems().size(), std::size_t{kThreads * kEach});
  EXPECT_EQ(read("t3.99"), (ios::Data{3, 99}));
  EXPECT_THAT(ios::testing::keychainIntegrityProblems(), IsEmpty());
}

TEST_F(SecItemTest, EmptySecretsAndOddAccountsRoundTrip) {
  const std::string withNul("nul\0inside", 10);
  ASSERT_EQ(ios::SecItemAdd(item("", {})), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemAdd(item("emptied", {5})), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemUpdate(find("emptied"), {{ios::kSecValueData, ios::Data{}}}), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemAdd(item(withNul, {7})), ios::errSecSuccess);
  ios::testing::resetKeychain();
  EXPECT_EQ(read(""), ios::Data{}) << "an empty secret is stored as empty bytes, not as nothing";
  EXPECT_EQ(read("emptied"), ios::Data{}) << "an update to empty bytes is not an update to nothing";
  EXPECT_EQ(read(withNul), ios::Data{7});
  EXPECT_EQ(read("nul"), std::nullopt);
  EXPECT_THAT(ios::testing::keychainItems(), ::testing::SizeIs(3));
}

}  // namespace
