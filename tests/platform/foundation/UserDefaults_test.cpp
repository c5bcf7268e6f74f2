#include "platform/foundation/UserDefaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/CommaDecimalLocale.h"
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

  // The application's preferences folder, in its container.
  static std::string preferences() { return ios::NSHomeDirectory() + "/Library/Preferences/"; }

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
  EXPECT_EQ(reader->filePath(), preferences() + "group.sample.json");
  struct stat info {};
  ASSERT_EQ(::stat(reader->filePath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(UserDefaultsTest, InstancesOfOneSuiteShareTheirValues) {
  auto a = UserDefaults::make("");
  auto b = UserDefaults::standard();
  a->setInteger(1, "shared");
  EXPECT_EQ(b->integer("shared"), 1);
  EXPECT_EQ(a->filePath(), preferences() + ios::applicationIdentifier() + ".json")
      << "the application's own suite is named after the application, not the process";
  EXPECT_EQ(UserDefaults::make("NSGlobalDomain"), nullptr);
  EXPECT_EQ(UserDefaults::make("../../escape")->filePath(), preferences() + "%2E.%2F..%2Fescape.json");
}

TEST_F(UserDefaultsTest, SynchronizeWritesAndAnswersWhetherItCould) {
  auto defaults = UserDefaults::standard();
  defaults->setObject(PropertyList("v"), "k");
  EXPECT_FALSE(std::filesystem::exists(defaults->filePath())) << "writes are deferred";
  EXPECT_TRUE(defaults->synchronize());
  EXPECT_THAT(fileText(defaults->filePath()), ::testing::HasSubstr("\"v\""));
  std::filesystem::remove_all(preferences());
  defaults->setObject(PropertyList("w"), "k");
  EXPECT_TRUE(defaults->synchronize()) << "a preferences folder removed meanwhile is made again";
  EXPECT_THAT(fileText(defaults->filePath()), ::testing::HasSubstr("\"w\""));

  kp_test::TemporaryDirectory other;
  ios::testing::ScopedHomeDirectory missing(other.path() + "/gone");
  auto homeless = UserDefaults::make("homeless");
  homeless->setInteger(5, "kept");
  EXPECT_FALSE(homeless->synchronize());
  EXPECT_EQ(homeless->integer("kept"), 5) << "values that cannot be written stay in memory";
  EXPECT_FALSE(std::filesystem::exists(other.path() + "/gone")) << "no home folder is made up";
}

TEST_F(UserDefaultsTest, ACorruptFileIsReportedAndNeverOverwritten) {
  const std::string path = preferences() + ios::applicationIdentifier() + ".json";
  std::filesystem::create_directories(preferences());
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

// What the suite's file could not read back (a value nested too deeply, an unsigned
// integer above the signed 64-bit range, alone or inside a container) is refused when
// stored; what lies just within reach is kept, and the suite is written as ever.
TEST_F(UserDefaultsTest, AValueTheFileCannotReadBackIsRefusedAndTheSuiteSurvives) {
  const PropertyList large = PropertyList::fromUnsignedInteger(std::uint64_t{1} << 63);
  const struct {
    const char* key;
    PropertyList value;
  } kept[] = {{"deepest", nestedArrays(511)},
              {"large but signed", PropertyList::fromUnsignedInteger(std::uint64_t{1} << 62)}},
    refused[] = {{"too deep", nestedArrays(512)},
                 {"too large", large},
                 {"too large inside", PropertyList::Array{1, large}},
                 {"too large deep inside", PropertyList::Dictionary{{"in", PropertyList::Array{large}}}}};
  {
    auto defaults = UserDefaults::standard();
    for (const auto& row : kept) defaults->setObject(row.value, row.key);
    for (const auto& row : refused) {
      EXPECT_THROW(defaults->setObject(row.value, row.key), ios::NSException) << row.key;
      EXPECT_EQ(defaults->object(row.key), std::nullopt) << row.key;
    }
    ASSERT_TRUE(defaults->synchronize());
  }
  ios::testing::resetUserDefaults();
  auto reader = UserDefaults::standard();
  EXPECT_FALSE(reader->loadError().has_value());
  for (const auto& row : kept) EXPECT_EQ(reader->object(row.key), row.value) << row.key;
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
  EXPECT_EQ(defaults->url("path")->path(), ios::NSHomeDirectory() + "/notes.txt");
}

// Numeric text is read with '.' as the decimal point, as strtod reads it in the C
// locale, whatever the process's numeric locale is.
TEST_F(UserDefaultsTest, NumericTextReadsAlikeInEveryLocale) {
  struct Row {
    const char* text;
    double number;
  };
  const Row rows[] = {
      {"2.5", 2.5},    {" \t-2.5e1  ", -25.0}, {"+3", 3.0},         {".5", 0.5},
      {"0x1p4", 16.0}, {"0x", 0.0},           {"1e400", HUGE_VAL}, {"-1e-400", -0.0},
      {"2,5", 0.0},    {"1 2", 0.0},          {"--1", 0.0},        {"+-1", 0.0},
      {"", 0.0},       {"e5", 0.0},           {"0x1p", 0.0},       {"inf", HUGE_VAL},
  };
  auto defaults = UserDefaults::standard();
  auto readAll = [&] {
    std::vector<double> numbers;
    for (const Row& row : rows) {
      defaults->setObject(PropertyList(row.text), "number");
      numbers.push_back(defaults->double_("number"));
    }
    return numbers;
  };
  const std::vector<double> inC = readAll();
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(inC[i], rows[i].number) << '"' << rows[i].text << '"';
  kp_test::CommaDecimalLocale comma;
  if (!comma.available()) GTEST_SKIP() << "no comma-decimal locale can be made here";
  EXPECT_EQ(readAll(), inC);
  defaults->setObject(PropertyList("2.5"), "number");
  EXPECT_EQ(defaults->integer("number"), 2);
  EXPECT_FLOAT_EQ(defaults->float_("number"), 2.5f);
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
      {"~", ios::NSHomeDirectory()},
      {"~/a:b", ios::NSHomeDirectory() + "/a:b"},
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

namespace {

class UserDefaultsContainerTest : public ios::testing::PlatformFixture {
 protected:
  static std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The preferences folder earlier versions used, in the user's own home folder.
  std::string earlierFolder() const { return home_.path() + "/Library/Preferences/"; }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedProcessIdentity identity_{"Sample", 4711};
};

TEST_F(UserDefaultsContainerTest, EachApplicationHasItsOwnSettings) {
  ios::Bundle::main().setBundleIdentifier("com.example.one");
  auto one = UserDefaults::standard();
  one->setObject(PropertyList("one's"), "token");
  ASSERT_TRUE(one->synchronize());
  EXPECT_EQ(one->filePath(), home_.path() +
                                 "/.local/share/kpquaslet/containers/com.example.one/Library/Preferences/"
                                 "com.example.one.json");
  one.reset();
  ios::testing::resetUserDefaults();
  ios::Bundle::main().setBundleIdentifier("com.example.two");
  auto two = UserDefaults::standard();
  EXPECT_EQ(two->object("token"), std::nullopt);
  EXPECT_EQ(UserDefaults::make("shared")->filePath(),
            home_.path() + "/.local/share/kpquaslet/containers/com.example.two/Library/Preferences/shared.json");
  struct stat info {};
  ASSERT_EQ(::stat((home_.path() + "/.local/share/kpquaslet/containers/com.example.one").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u) << "a container is its owner's alone";
}

TEST_F(UserDefaultsContainerTest, SettingsOfEarlierVersionsAreImportedOnce) {
  std::filesystem::create_directories(earlierFolder());
  const std::string ownText = "{\"dict\": [[\"launches\", 5]]}";
  std::ofstream(earlierFolder() + "Sample.json") << ownText;  // named after the process
  std::ofstream(earlierFolder() + "group.shared.json") << "{\"dict\": [[\"g\", 6]]}";
  {
    auto defaults = UserDefaults::standard();
    EXPECT_EQ(defaults->integer("launches"), 5);
    defaults->setInteger(6, "launches");
    ASSERT_TRUE(defaults->synchronize());
    EXPECT_EQ(UserDefaults::make("group.shared")->integer("g"), 6);
  }
  EXPECT_FALSE(std::filesystem::exists(earlierFolder() + "Sample.json"));
  EXPECT_EQ(fileText(earlierFolder() + "Sample.json.imported"), ownText) << "moved aside, never deleted";
  EXPECT_TRUE(std::filesystem::exists(earlierFolder() + "group.shared.json")) << "a shared suite's file stays";

  // Found again (an earlier version ran meanwhile): the application's own file wins.
  std::ofstream(earlierFolder() + "Sample.json") << ownText;
  ios::testing::resetUserDefaults();
  EXPECT_EQ(UserDefaults::standard()->integer("launches"), 6);
}

// A writer killed between writing its temporary file and renaming it leaves the file
// behind; the suite's next write removes it.
TEST_F(UserDefaultsContainerTest, TemporaryFilesOfKilledWritersAreRemoved) {
  auto defaults = UserDefaults::make("suite");
  const std::string leftover = defaults->filePath() + ".tmp-12345";
  std::filesystem::create_directories(std::filesystem::path(leftover).parent_path());
  std::ofstream(leftover) << "{\"dict\": [";
  defaults->setInteger(1, "k");
  ASSERT_TRUE(defaults->synchronize());
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_EQ(UserDefaults::make("suite")->integer("k"), 1);
}

}  // namespace
