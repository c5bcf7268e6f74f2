// The keychain's one-time import of the items file that earlier versions kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/security/SecItem.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/platform/security/KeychainQueries.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Optional;
using namespace kp_test::keychain;

struct OldItem {
  std::string account;
  std::string accessible;
  ios::Data data;
};

std::string base64(const std::string& text) { return ios::base64EncodedString(ios::Data(text.begin(), text.end())); }

// The items file as earlier versions wrote it.
std::string oldFile(const std::vector<OldItem>& items) {
  std::string text = "{\"version\":1,\"class\":\"kSecClassGenericPassword\",\"items\":[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ",\n";
    text += "{\"account\":\"" + base64(items[i].account) + "\",\"accessible\":\"" + base64(items[i].accessible) +
            "\",\"data\":\"" + ios::base64EncodedString(items[i].data) + "\"}";
  }
  return text + "]}\n";
}

class SecItemImportTest : public ios::testing::PlatformFixture {
 protected:
  std::string folder() const { return home_.path() + "/Library/Keychains"; }
  std::string oldPath() const { return folder() + "/items.json"; }
  void writeOldFile(const std::string& text) const {
    std::filesystem::create_directories(folder());
    std::ofstream(oldPath(), std::ios::binary) << text;
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(folder() + "/" + name); }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
};

TEST_F(SecItemImportTest, AGoodFileIsImportedAndOnlyThenMovedAside) {
  const std::string text = oldFile({{"app_token", ios::kSecAttrAccessibleAlways, {'s', '3'}},
                                    {"raw", ios::kSecAttrAccessibleWhenUnlocked, {0xff, 0x00, 0xfe}},
                                    {"", ios::kSecAttrAccessibleAfterFirstUnlock, {}}});
  writeOldFile(text);
  EXPECT_EQ(read("raw"), (ios::Data{0xff, 0x00, 0xfe}));
  EXPECT_EQ(ios::testing::keychainLoadError(), std::nullopt);
  auto items = ios::testing::keychainItems();
  ASSERT_EQ(items.size(), 6u) << "the file's items, and the application's copies of them";
  EXPECT_EQ(std::erase_if(items, [](const auto& item) { return item.accessGroup.empty(); }), 3u);
  ASSERT_EQ(items.size(), 3u);
  for (const auto& item : items) EXPECT_EQ(item.accessGroup, ios::applicationIdentifier());
  EXPECT_EQ(items[0].account, "");
  EXPECT_EQ(items[0].accessible, ios::kSecAttrAccessibleAfterFirstUnlock);
  EXPECT_EQ(items[1].account, "app_token");
  EXPECT_EQ(items[1].accessible, ios::kSecAttrAccessibleAlways);
  EXPECT_EQ(items[1].data, (ios::Data{'s', '3'}));
  EXPECT_FALSE(exists("items.json"));
  EXPECT_EQ(fileText(oldPath() + ".imported"), text) << "moved aside, never deleted";
}

TEST_F(SecItemImportTest, AFileIsImportedOnceEvenWhenItIsFoundAgain) {
  const std::string text = oldFile({{"a", ios::kSecAttrAccessibleAlways, {1}}, {"b", ios::kSecAttrAccessibleAlways, {2}}});
  writeOldFile(text);
  ASSERT_EQ(read("a"), ios::Data{1});
  ASSERT_EQ(ios::SecItemDelete(find("a")), ios::errSecSuccess);
  ASSERT_EQ(ios::SecItemUpdate(find("b"), {{ios::kSecValueData, ios::Data{20}}}), ios::errSecSuccess);

  // What a process stopped between the import's commit and the move leaves behind.
  ios::testing::resetKeychain();
  std::filesystem::copy_file(oldPath() + ".imported", oldPath());
  EXPECT_EQ(read("a"), std::nullopt) << "a deleted item does not come back";
  EXPECT_EQ(read("b"), ios::Data{20}) << "a changed item keeps its change";
  EXPECT_EQ(ios::testing::keychainLoadError(), std::nullopt);
  EXPECT_FALSE(exists("items.json"));
  EXPECT_EQ(fileText(oldPath() + ".imported"), text);
  EXPECT_EQ(fileText(oldPath() + ".imported-1"), text) << "the first copy is not replaced";
}

TEST_F(SecItemImportTest, AnUnreadableFileIsReportedLeftInPlaceAndImportsNothing) {
  const std::string goodEntry = "{\"account\":\"YQ==\",\"accessible\":\"\",\"data\":\"AQ==\"}";
  const struct {
    const char* name;
    std::string text;
  } rows[] = {
      {"truncated", "{\"version\":1,\"items\":[{\"account\":"},
      {"not an object", "[]"},
      {"no items", "{\"version\":1}"},
      {"bad Base64", "{\"items\":[{\"account\":\"!!\",\"accessible\":\"\",\"data\":\"\"}]}"},
      {"missing fields", "{\"items\":[{\"account\":\"YQ==\"}]}"},
      {"a good entry before a bad one", "{\"items\":[" + goodEntry + ",{\"account\":\"Yg==\"}]}"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    kp_test::TemporaryDirectory home;
    ios::testing::ScopedHomeDirectory scoped(home.path());
    const std::string path = home.path() + "/Library/Keychains/items.json";
    std::filesystem::create_directories(home.path() + "/Library/Keychains");
    std::ofstream(path, std::ios::binary) << row.text;

    ::testing::internal::CaptureStderr();
    EXPECT_THAT(ios::testing::keychainItems(), IsEmpty()) << "nothing of the file is imported";
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("keychain: cannot import " + path));
    EXPECT_THAT(ios::testing::keychainLoadError(), Optional(HasSubstr(path)));
    ASSERT_EQ(ios::SecItemAdd(item("fresh", {7})), ios::errSecSuccess) << "the keychain still works";
    EXPECT_EQ(read("fresh"), ios::Data{7});
    EXPECT_EQ(fileText(path), row.text) << "the file is left as it was";
    EXPECT_FALSE(std::filesystem::exists(path + ".imported"));
  }
}

TEST_F(SecItemImportTest, AFileMadeReadableLaterIsImportedAndTheItemsStoredMeanwhileWin) {
  writeOldFile("{\"items\":[");
  ASSERT_EQ(ios::SecItemAdd(item("a", {9})), ios::errSecSuccess);
  ASSERT_TRUE(ios::testing::keychainLoadError().has_value());

  ios::testing::resetKeychain();
  writeOldFile(oldFile({{"a", ios::kSecAttrAccessibleAlways, {1}}, {"c", ios::kSecAttrAccessibleAlways, {3}}}));
  EXPECT_EQ(read("a"), ios::Data{9});
  EXPECT_EQ(read("c"), ios::Data{3});
  EXPECT_EQ(ios::testing::keychainLoadError(), std::nullopt);
  EXPECT_FALSE(exists("items.json"));
  EXPECT_TRUE(exists("items.json.imported"));
}

}  // namespace
