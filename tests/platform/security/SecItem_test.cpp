#include "platform/security/SecItem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/FileManager.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::SecQuery;

class SecItemTest : public ios::testing::PlatformFixture {
 protected:
  static SecQuery item(const std::string& account, ios::Data data) {
    return {{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
            {ios::kSecAttrAccount, account},
            {ios::kSecValueData, std::move(data)}};
  }
  static SecQuery find(const std::string& account) {
    return {{ios::kSecClass, std::string(ios::kSecClassGenericPassword)},
            {ios::kSecAttrAccount, account},
            {ios::kSecReturnData, true}};
  }
  std::optional<ios::Data> read(const std::string& account) {
    std::optional<ios::SecValue> result;
    if (ios::SecItemCopyMatching(find(account), &result) != ios::errSecSuccess || !result) return std::nullopt;
    return std::get<ios::Data>(*result);
  }
  std::string fileText() const {
    std::ifstream in(ios::testing::keychainFilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void writeFile(const std::string& text) const {
    std::filesystem::create_directories(home_.path() + "/Library/Keychains");
    std::ofstream(ios::testing::keychainFilePath(), std::ios::binary) << text;
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

TEST_F(SecItemTest, TheFileIsTheOwnersAloneAndReadBackOnFirstUse) {
  ASSERT_EQ(ios::SecItemAdd(item("token", {0x00, 0xff, 0x00})), ios::errSecSuccess);
  struct stat info {};
  ASSERT_EQ(::stat(ios::testing::keychainFilePath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat((home_.path() + "/Library/Keychains").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_THAT(ios::FileManager::defaultManager().contentsOfDirectory(home_.path() + "/Library/Keychains"),
              ::testing::Optional(::testing::ElementsAre("items.json")))
      << "no temporary file is left behind";

  ios::testing::resetKeychain();
  EXPECT_EQ(read("token"), (ios::Data{0x00, 0xff, 0x00}));
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

TEST_F(SecItemTest, ACorruptFileIsReportedKeptAndMovedAsideBeforeTheNextWrite) {
  const std::string garbage = "{\"version\":1,\"items\":[{\"account\":";
  writeFile(garbage);
  EXPECT_EQ(read("anything"), std::nullopt);
  ASSERT_TRUE(ios::testing::keychainLoadError().has_value());
  EXPECT_EQ(fileText(), garbage) << "reading never rewrites the file";

  ASSERT_EQ(ios::SecItemAdd(item("fresh", {7})), ios::errSecSuccess);
  std::ifstream kept(ios::testing::keychainFilePath() + ".corrupt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), garbage);
  ios::testing::resetKeychain();
  EXPECT_EQ(read("fresh"), ios::Data{7});
  EXPECT_EQ(ios::testing::keychainLoadError(), std::nullopt);
}

TEST_F(SecItemTest, EntriesWithBadFieldsMakeTheWholeFileUnreadable) {
  for (const std::string text : {"[]", "{\"items\":[{\"account\":\"!!\",\"accessible\":\"\",\"data\":\"\"}]}",
                                 "{\"items\":[{\"account\":\"YQ==\"}]}"}) {
    SCOPED_TRACE(text);
    ios::testing::resetKeychain();
    writeFile(text);
    EXPECT_EQ(ios::SecItemCopyMatching({{ios::kSecClass, std::string(ios::kSecClassGenericPassword)}}, nullptr),
              ios::errSecItemNotFound);
    EXPECT_TRUE(ios::testing::keychainLoadError().has_value());
    EXPECT_EQ(fileText(), text);
  }
}

}  // namespace
