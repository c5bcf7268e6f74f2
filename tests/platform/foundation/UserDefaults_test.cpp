#include "platform/foundation/UserDefaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::PropertyList;
using ios::UserDefaults;

class UserDefaultsTest : public ios::testing::PlatformFixture {
 protected:
  std::string fileText(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedProcessIdentity identity_{"Sample", 4711};
  ios::testing::ScopedLocale locale_{"en_US"};
};

TEST_F(UserDefaultsTest, EveryKindSurvivesInTheFileWithItsKind) {
  const PropertyList::Dictionary nested{{"a", PropertyList::Array{1, 2.5, "x"}}, {"b", nullptr}};
  {
    auto defaults = UserDefaults::make("group.sample");
    defaults->setInteger(-7, "int");
    defaults->setDouble(2.0, "whole double");
    defaults->setDouble(std::numeric_limits<double>::infinity(), "inf");
    defaults->setBool(true, "bool");
    defaults->setObject(PropertyList("\xff not UTF-8"), "bad text");
    defaults->setObject(PropertyList::fromData({0, 1, 0}), "bytes");
    defaults->setObject(PropertyList(ios::Date::fromTimeIntervalSinceReferenceDate(12.25)), "date");
    defaults->setObject(PropertyList(nested), "nested");
    defaults->setObject(PropertyList(""), "");
    defaults->setInteger(9, "\xfe key \"quoted\"\n");
    defaults->setURL(ios::URL::fromString("https://example.com/a?b=c"), "url");
  }  // the last instance of the suite writes it
  auto reader = UserDefaults::make("group.sample");
  EXPECT_EQ(reader->object("int"), PropertyList(-7));
  EXPECT_EQ(reader->object("whole double")->kind(), PropertyList::Kind::real);
  EXPECT_EQ(reader->double_("inf"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(reader->object("bool"), PropertyList(true));
  EXPECT_EQ(reader->string("bad text"), "\xff not UTF-8");
  EXPECT_EQ(reader->data("bytes"), (ios::Data{0, 1, 0}));
  EXPECT_EQ(reader->object("date"), PropertyList(ios::Date::fromTimeIntervalSinceReferenceDate(12.25)));
  EXPECT_EQ(reader->dictionary("nested"), nested);
  EXPECT_EQ(reader->string(""), "");
  EXPECT_EQ(reader->integer("\xfe key \"quoted\"\n"), 9);
  ASSERT_TRUE(reader->url("url").has_value());
  EXPECT_EQ(reader->url("url")->absoluteString(), "https://example.com/a?b=c");
  EXPECT_EQ(reader->filePath(), home_.path() + "/Library/Preferences/group.sample.json");
  struct stat info {};
  ASSERT_EQ(::stat(reader->filePath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(UserDefaultsTest, InstancesOfOneSuiteShareTheirValues) {
  auto a = UserDefaults::make("");
  auto b = UserDefaults::standard();
  a->setInteger(1, "shared");
  EXPECT_EQ(b->integer("shared"), 1);
  EXPECT_EQ(a->filePath(), home_.path() + "/Library/Preferences/Sample.json");
  EXPECT_EQ(UserDefaults::make("NSGlobalDomain"), nullptr);
  EXPECT_EQ(UserDefaults::make("../../escape")->filePath(),
            home_.path() + "/Library/Preferences/%2E.%2F..%2Fescape.json");
}

TEST_F(UserDefaultsTest, SynchronizeWritesAndAnswersWhetherItCould) {
  auto defaults = UserDefaults::standard();
  defaults->setObject(PropertyList("v"), "k");
  EXPECT_FALSE(std::filesystem::exists(defaults->filePath())) << "writes are deferred";
  EXPECT_TRUE(defaults->synchronize());
  EXPECT_THAT(fileText(defaults->filePath()), ::testing::HasSubstr("\"v\""));

  kp_test::TemporaryDirectory other;
  ios::testing::ScopedHomeDirectory missing(other.path() + "/gone");
  auto homeless = UserDefaults::make("homeless");
  homeless->setInteger(5, "kept");
  EXPECT_FALSE(homeless->synchronize());
  EXPECT_EQ(homeless->integer("kept"), 5) << "values that cannot be written stay in memory";
  EXPECT_FALSE(std::filesystem::exists(other.path() + "/gone")) << "no home folder is made up";
}

TEST_F(UserDefaultsTest, ACorruptFileIsReportedAndNeverOverwritten) {
  const std::string path = home_.path() + "/Library/Preferences/Sample.json";
  std::filesystem::create_directories(home_.path() + "/Library/Preferences");
  for (const std::string garbage : {"{not json", "[1, 2]", "{\"dict\": [[\"k\", {\"real\": \"x\"}]]}"}) {
    SCOPED_TRACE(garbage);
    ios::testing::resetUserDefaults();
    std::filesystem::remove(path + ".corrupt");
    std::ofstream(path, std::ios::binary) << garbage;
    auto defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults->loadError().has_value());
    EXPECT_EQ(defaults->object("k"), std::nullopt);
    EXPECT_EQ(fileText(path), garbage);
    defaults->setInteger(1, "k");
    ASSERT_TRUE(defaults->synchronize());
    EXPECT_EQ(fileText(path + ".corrupt"), garbage) << "moved aside, not lost";
    EXPECT_THAT(fileText(path), ::testing::HasSubstr("\"k\""));
  }
}

// `levels` arrays, one inside the other, around an integer.
PropertyList nestedArrays(std::size_t levels) {
  PropertyList value(1);
  for (std::size_t i = 0; i < levels; ++i) value = PropertyList(PropertyList::Array{std::move(value)});
  return value;
}

TEST_F(UserDefaultsTest, AValueTooDeepToReadBackIsRefusedAndTheSuiteSurvives) {
  {
    auto defaults = UserDefaults::standard();
    defaults->setInteger(7, "other");
    defaults->setObject(nestedArrays(511), "deepest");
    EXPECT_THROW(defaults->setObject(nestedArrays(512), "too deep"), ios::NSException);
    EXPECT_EQ(defaults->object("too deep"), std::nullopt);
    ASSERT_TRUE(defaults->synchronize());
  }
  ios::testing::resetUserDefaults();
  auto reader = UserDefaults::standard();
  EXPECT_FALSE(reader->loadError().has_value());
  EXPECT_EQ(reader->integer("other"), 7);
  EXPECT_EQ(reader->object("deepest"), nestedArrays(511));
}

TEST_F(UserDefaultsTest, LookupOrderAndRemoval) {
  auto defaults = UserDefaults::standard();
  defaults->registerDefaults({{"volume", 0.5}, {"name", "guest"}});
  EXPECT_EQ(defaults->double_("volume"), 0.5);
  defaults->setDouble(0.9, "volume");
  EXPECT_EQ(defaults->double_("volume"), 0.9);
  defaults->removeObject("volume");
  EXPECT_EQ(defaults->double_("volume"), 0.5) << "the registered value answers again";
  EXPECT_EQ(defaults->string("AppleLocale"), "en_US");
  const auto all = defaults->dictionaryRepresentation();
  EXPECT_TRUE(all.contains("name"));
  EXPECT_TRUE(all.contains("AppleLanguages"));
}

TEST_F(UserDefaultsTest, TypedGettersConvertAsThePlatformDoes) {
  auto defaults = UserDefaults::standard();
  defaults->setObject(PropertyList("7"), "text seven");
  defaults->setObject(PropertyList("YES"), "yes");
  defaults->setDouble(3.9, "double");
  defaults->setBool(true, "true");
  defaults->setInteger(2, "two");
  EXPECT_EQ(defaults->integer("text seven"), 7);
  EXPECT_EQ(defaults->string("two"), std::nullopt) << "string() answers text only";
  EXPECT_TRUE(defaults->bool_("yes"));
  EXPECT_EQ(defaults->integer("double"), 3);
  EXPECT_EQ(defaults->integer("true"), 1);
  EXPECT_EQ(defaults->double_("two"), 2.0);
  EXPECT_FLOAT_EQ(defaults->float_("double"), 3.9f);
  EXPECT_EQ(defaults->integer("missing"), 0);
  EXPECT_FALSE(defaults->bool_("missing"));
  defaults->setObject(PropertyList("~/notes.txt"), "path");
  EXPECT_EQ(defaults->url("path")->path(), home_.path() + "/notes.txt");
}

// Text read as a URL is a path: "~" is the home folder, a relative path is taken from
// the current folder (whatever characters it holds), and an empty text is no URL.
TEST_F(UserDefaultsTest, TextReadAsAURLIsAFilePath) {
  const std::string cwd = std::filesystem::current_path().string();
  const struct {
    const char* text;
    std::optional<std::string> path;
  } rows[] = {
      {"a:b", cwd + "/a:b"},
      {"http://example.com", cwd + "/http://example.com"},
      {"notes.txt", cwd + "/notes.txt"},
      {"/var/tmp/x:y", "/var/tmp/x:y"},
      {"~", home_.path()},
      {"~/a:b", home_.path() + "/a:b"},
      {"", std::nullopt},
  };
  auto defaults = UserDefaults::standard();
  for (const auto& row : rows) {
    defaults->setObject(PropertyList(row.text), "path");
    const auto url = defaults->url("path");
    ASSERT_EQ(url.has_value(), row.path.has_value()) << row.text;
    if (!url) continue;
    EXPECT_TRUE(url->isFileURL()) << row.text;
    EXPECT_EQ(url->path(), *row.path) << row.text;
  }
}

}  // namespace
