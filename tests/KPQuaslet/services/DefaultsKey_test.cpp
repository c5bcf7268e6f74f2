#include "KPQuaslet/services/DefaultsKey.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <array>
#include <deque>
#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::PropertyList;
using kp::DefaultsKey;
using ::testing::ElementsAre;

enum class Theme { light = 1, dark = 2 };
std::optional<Theme> fromRawValue(std::type_identity<Theme>, int raw) {
  if (raw == 1 || raw == 2) return static_cast<Theme>(raw);
  return std::nullopt;
}

enum class Channel { stable, beta };
std::string rawValue(Channel c) { return c == Channel::stable ? "stable" : "beta"; }
std::optional<Channel> fromRawValue(std::type_identity<Channel>, const std::string& raw) {
  if (raw == "stable") return Channel::stable;
  if (raw == "beta") return Channel::beta;
  return std::nullopt;
}

class Bookmark : public ios::NSCoding {
 public:
  explicit Bookmark(std::int64_t page) : page(page) {}
  std::string classNameForArchiver() const override { return "Bookmark"; }
  void encode(ios::NSKeyedArchiver& coder) const override { coder.encode(page, "page"); }
  std::int64_t page;
};

struct Keys : kp::DefaultsKeys {
  static inline const DefaultsKey<std::optional<std::string>> optionalString{"optionalString"};
  static inline const DefaultsKey<std::string> string{"string"};
  static inline const DefaultsKey<std::optional<std::int64_t>> optionalInt{"optionalInt"};
  static inline const DefaultsKey<std::int64_t> integer{"int"};
  static inline const DefaultsKey<std::optional<double>> optionalDouble{"optionalDouble"};
  static inline const DefaultsKey<double> double_{"double"};
  static inline const DefaultsKey<std::optional<bool>> optionalBool{"optionalBool"};
  static inline const DefaultsKey<bool> bool_{"bool"};
  static inline const DefaultsKey<std::optional<PropertyList>> any{"any"};
  static inline const DefaultsKey<std::optional<ios::Data>> optionalData{"optionalData"};
  static inline const DefaultsKey<ios::Data> data{"data"};
  static inline const DefaultsKey<std::optional<ios::Date>> date{"date"};
  static inline const DefaultsKey<std::optional<ios::URL>> url{"url"};
  static inline const DefaultsKey<std::optional<PropertyList::Dictionary>> optionalDictionary{"optionalDictionary"};
  static inline const DefaultsKey<PropertyList::Dictionary> dictionary{"dictionary"};
  static inline const DefaultsKey<std::optional<PropertyList::Array>> optionalArray{"optionalArray"};
  static inline const DefaultsKey<PropertyList::Array> array{"array"};
  static inline const DefaultsKey<std::optional<std::vector<std::string>>> optionalStrings{"optionalStrings"};
  static inline const DefaultsKey<std::vector<std::string>> strings{"strings"};
  static inline const DefaultsKey<std::optional<std::vector<std::int64_t>>> optionalInts{"optionalInts"};
  static inline const DefaultsKey<std::vector<std::int64_t>> ints{"ints"};
  static inline const DefaultsKey<std::optional<std::vector<double>>> optionalDoubles{"optionalDoubles"};
  static inline const DefaultsKey<std::vector<double>> doubles{"doubles"};
  static inline const DefaultsKey<std::optional<std::vector<bool>>> optionalBools{"optionalBools"};
  static inline const DefaultsKey<std::vector<bool>> bools{"bools"};
  static inline const DefaultsKey<std::optional<std::vector<ios::Data>>> optionalDatas{"optionalDatas"};
  static inline const DefaultsKey<std::vector<ios::Data>> datas{"datas"};
  static inline const DefaultsKey<std::optional<std::vector<ios::Date>>> optionalDates{"optionalDates"};
  static inline const DefaultsKey<std::vector<ios::Date>> dates{"dates"};
};

class DefaultsKeyTest : public ios::testing::PlatformFixture {
 protected:
  // What the next process sees: the standard defaults read afresh from the file.
  ios::UserDefaults& relaunch() {
    EXPECT_TRUE(kp::Defaults().synchronize());
    ios::testing::resetUserDefaults();
    return kp::Defaults();
  }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedProcessIdentity identity_{"Sample", 1};
};

template <class V>
void roundTrip(ios::UserDefaults& writer, const DefaultsKey<V>& key, const V& value) {
  kp::set(writer, key, value);
}

TEST_F(DefaultsKeyTest, EveryValueTypeSurvivesARelaunch) {
  const ios::Date when = ios::Date::fromTimeIntervalSinceReferenceDate(86400.5);
  const PropertyList::Dictionary dictionary{{"k", 1}, {"nested", PropertyList::Array{"a"}}};
  const PropertyList::Array array{1, "two", 3.0, true};
  auto& writer = kp::Defaults();
  roundTrip(writer, Keys::optionalString, std::optional<std::string>("é"));
  roundTrip(writer, Keys::string, std::string("plain"));
  roundTrip(writer, Keys::optionalInt, std::optional<std::int64_t>(INT64_MIN));
  roundTrip(writer, Keys::integer, std::int64_t{42});
  roundTrip(writer, Keys::optionalDouble, std::optional<double>(-0.5));
  roundTrip(writer, Keys::double_, 1e300);
  roundTrip(writer, Keys::optionalBool, std::optional<bool>(false));
  roundTrip(writer, Keys::bool_, true);
  roundTrip(writer, Keys::any, std::optional<PropertyList>(PropertyList(dictionary)));
  roundTrip(writer, Keys::optionalData, std::optional<ios::Data>(ios::Data{}));
  roundTrip(writer, Keys::data, ios::Data{0, 0, 1});
  roundTrip(writer, Keys::date, std::optional<ios::Date>(when));
  roundTrip(writer, Keys::url, ios::URL::fromString("https://example.com/x"));
  roundTrip(writer, Keys::optionalDictionary, std::optional<PropertyList::Dictionary>(dictionary));
  roundTrip(writer, Keys::dictionary, dictionary);
  roundTrip(writer, Keys::optionalArray, std::optional<PropertyList::Array>(array));
  roundTrip(writer, Keys::array, array);
  roundTrip(writer, Keys::optionalStrings, std::optional<std::vector<std::string>>({"a", ""}));
  roundTrip(writer, Keys::strings, std::vector<std::string>{"b"});
  roundTrip(writer, Keys::optionalInts, std::optional<std::vector<std::int64_t>>({1, -1}));
  roundTrip(writer, Keys::ints, std::vector<std::int64_t>{7});
  roundTrip(writer, Keys::optionalDoubles, std::optional<std::vector<double>>(std::vector<double>{0.25}));
  roundTrip(writer, Keys::doubles, std::vector<double>{1.5, 2});
  roundTrip(writer, Keys::optionalBools, std::optional<std::vector<bool>>({true, false}));
  roundTrip(writer, Keys::bools, std::vector<bool>{false});
  roundTrip(writer, Keys::optionalDatas, std::optional<std::vector<ios::Data>>({ios::Data{1}}));
  roundTrip(writer, Keys::datas, std::vector<ios::Data>{{}, {0}});
  roundTrip(writer, Keys::optionalDates, std::optional<std::vector<ios::Date>>({when}));
  roundTrip(writer, Keys::dates, std::vector<ios::Date>{when, when});

  auto& reader = relaunch();
  EXPECT_EQ(kp::get(reader, Keys::optionalString), "é");
  EXPECT_EQ(kp::get(reader, Keys::string), "plain");
  EXPECT_EQ(kp::get(reader, Keys::optionalInt), INT64_MIN);
  EXPECT_EQ(kp::get(reader, Keys::integer), 42);
  EXPECT_EQ(kp::get(reader, Keys::optionalDouble), -0.5);
  EXPECT_EQ(kp::get(reader, Keys::double_), 1e300);
  EXPECT_EQ(kp::get(reader, Keys::optionalBool), false);
  EXPECT_EQ(kp::get(reader, Keys::bool_), true);
  EXPECT_EQ(kp::get(reader, Keys::any), PropertyList(dictionary));
  EXPECT_EQ(kp::get(reader, Keys::optionalData), ios::Data{});
  EXPECT_EQ(kp::get(reader, Keys::data), (ios::Data{0, 0, 1}));
  EXPECT_EQ(kp::get(reader, Keys::date), when);
  EXPECT_EQ(kp::get(reader, Keys::url)->absoluteString(), "https://example.com/x");
  EXPECT_EQ(kp::get(reader, Keys::optionalDictionary), dictionary);
  EXPECT_EQ(kp::get(reader, Keys::dictionary), dictionary);
  EXPECT_EQ(kp::get(reader, Keys::optionalArray), array);
  EXPECT_EQ(kp::get(reader, Keys::array), array);
  EXPECT_THAT(*kp::get(reader, Keys::optionalStrings), ElementsAre("a", ""));
  EXPECT_THAT(kp::get(reader, Keys::strings), ElementsAre("b"));
  EXPECT_THAT(*kp::get(reader, Keys::optionalInts), ElementsAre(1, -1));
  EXPECT_THAT(kp::get(reader, Keys::ints), ElementsAre(7));
  EXPECT_THAT(*kp::get(reader, Keys::optionalDoubles), ElementsAre(0.25));
  EXPECT_THAT(kp::get(reader, Keys::doubles), ElementsAre(1.5, 2.0));
  EXPECT_THAT(*kp::get(reader, Keys::optionalBools), ElementsAre(true, false));
  EXPECT_THAT(kp::get(reader, Keys::bools), ElementsAre(false));
  EXPECT_THAT(*kp::get(reader, Keys::optionalDatas), ElementsAre(ios::Data{1}));
  EXPECT_THAT(kp::get(reader, Keys::datas), ElementsAre(ios::Data{}, ios::Data{0}));
  EXPECT_THAT(*kp::get(reader, Keys::optionalDates), ElementsAre(when));
  EXPECT_THAT(kp::get(reader, Keys::dates), ElementsAre(when, when));
}

TEST_F(DefaultsKeyTest, MissingKeysReadAsNothingOrNeutralValues) {
  auto& d = kp::Defaults();
  EXPECT_EQ(kp::get(d, Keys::optionalString), std::nullopt);
  EXPECT_EQ(kp::get(d, Keys::string), "");
  EXPECT_EQ(kp::get(d, Keys::optionalInt), std::nullopt);
  EXPECT_EQ(kp::get(d, Keys::integer), 0);
  EXPECT_EQ(kp::get(d, Keys::double_), 0.0);
  EXPECT_EQ(kp::get(d, Keys::bool_), false);
  EXPECT_EQ(kp::get(d, Keys::any), std::nullopt);
  EXPECT_EQ(kp::get(d, Keys::data), ios::Data{});
  EXPECT_EQ(kp::get(d, Keys::date), std::nullopt);
  EXPECT_EQ(kp::get(d, Keys::url), std::nullopt);
  EXPECT_TRUE(kp::get(d, Keys::dictionary).empty());
  EXPECT_TRUE(kp::get(d, Keys::array).empty());
  EXPECT_TRUE(kp::get(d, Keys::strings).empty());
  EXPECT_EQ(kp::get(d, Keys::optionalStrings), std::nullopt);
}

TEST_F(DefaultsKeyTest, ValuesOfAnotherKindDoNotConvert) {
  auto& d = kp::Defaults();
  kp::set(d, "int", "7");
  EXPECT_EQ(kp::get(d, Keys::integer), 0) << "text is not a number";
  EXPECT_EQ(kp::get(d, Keys::optionalInt), std::nullopt);
  kp::set(d, "int", 3.9);
  EXPECT_EQ(kp::get(d, Keys::integer), 3);
  kp::set(d, "strings", PropertyList(PropertyList::Array{"a", 1}));
  EXPECT_TRUE(kp::get(d, Keys::strings).empty());
  EXPECT_EQ(kp::get(d, Keys::optionalStrings), std::nullopt);
  kp::set(d, "ints", PropertyList(PropertyList::Array{1, 2.0, 3.5}));
  EXPECT_TRUE(kp::getArray(d, Keys::ints).empty()) << "3.5 is no integer";
  kp::set(d, "ints", PropertyList(PropertyList::Array{1, 2.0}));
  EXPECT_THAT(kp::getArray(d, Keys::ints), ElementsAre(1, 2));
  kp::set(d, "bools", PropertyList(PropertyList::Array{1, false}));
  EXPECT_THAT(kp::getArray(d, Keys::bools), ElementsAre(true, false));
  kp::set(d, "date", "2024-01-01");
  EXPECT_EQ(kp::get(d, Keys::date), std::nullopt);
}

TEST_F(DefaultsKeyTest, TheStoringRulePicksTheSetterByKind) {
  auto& d = kp::Defaults();
  struct Row {
    const char* key;
    std::function<void()> write;
    std::optional<PropertyList::Kind> kind;
  };
  const Row rows[] = {
      {"double", [&] { kp::set(d, Keys::double_, 5.0); }, PropertyList::Kind::real},
      {"float", [&] { kp::set(d, "float", 0.5f); }, PropertyList::Kind::real},
      {"int", [&] { kp::set(d, Keys::integer, 5); }, PropertyList::Kind::integer},
      {"bool", [&] { kp::set(d, Keys::bool_, true); }, PropertyList::Kind::boolean},
      {"url", [&] { kp::set(d, Keys::url, *ios::URL::fromString("https://a.b")); }, PropertyList::Kind::data},
      {"plist double", [&] { kp::set(d, "plist double", PropertyList(2.0)); }, PropertyList::Kind::real},
      {"any int", [&] { kp::set(d, "any int", std::any(3)); }, PropertyList::Kind::integer},
      {"any url", [&] { kp::set(d, "any url", std::any(*ios::URL::fromString("https://a.b"))); },
       PropertyList::Kind::data},
      {"string", [&] { kp::set(d, Keys::string, std::string("s")); }, PropertyList::Kind::string},
      {"map", [&] { kp::set(d, "map", std::map<std::string, std::vector<int>>{{"a", {1}}}); },
       PropertyList::Kind::dictionary},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    row.write();
    ASSERT_TRUE(d.object(row.key).has_value());
    EXPECT_EQ(d.object(row.key)->kind(), row.kind);
  }
  EXPECT_EQ(kp::get(d, Keys::url)->absoluteString(), "https://a.b");
  for (const Row& row : rows) {
    kp::set(d, row.key, std::nullopt);
    EXPECT_FALSE(kp::hasKey(d, row.key)) << row.key;
  }
  kp::set(d, Keys::optionalString, std::optional<std::string>("x"));
  kp::set(d, Keys::optionalString, std::optional<std::string>());
  EXPECT_FALSE(kp::hasKey(d, Keys::optionalString)) << "an empty optional removes the key";
  kp::set(d, "k", std::any(1));
  kp::set(d, "k", std::any());
  EXPECT_FALSE(kp::hasKey(d, "k"));
  struct Opaque {};
  EXPECT_THROW(kp::set(d, "k", std::any(Opaque{})), ios::NSException);
}

// A std::any is looked into for the same set of types that JSON text takes (one bridge):
// what it holds is stored as that value would be.
TEST_F(DefaultsKeyTest, StoredAnyValuesBridgeLikeTheirContents) {
  auto& d = kp::Defaults();
  const std::string_view view = "v";
  struct Row {
    const char* key;
    std::any value;
    PropertyList stored;
  };
  const Row rows[] = {
      {"uint16", std::uint16_t{7}, PropertyList(7)},
      {"int8", std::int8_t{-2}, PropertyList(-2)},
      {"string view", view, PropertyList("v")},
      {"optional int", std::optional<int>(5), PropertyList(5)},
      {"vector<int>", std::vector<int>{1, 2}, PropertyList(PropertyList::Array{1, 2})},
      {"unordered_map", std::unordered_map<std::string, double>{{"a", 0.5}},
       PropertyList(PropertyList::Dictionary{{"a", 0.5}})},
      {"bytes", ios::Data{1, 2}, PropertyList::fromData({1, 2})},
      {"set<list<int>>", std::set<std::list<int>>{{2}, {1}},
       PropertyList(PropertyList::Array{PropertyList::Array{1}, PropertyList::Array{2}})},
      {"map<deque<vector<string>>>", std::map<std::string, std::deque<std::vector<std::string>>>{{"a", {{"x"}}}},
       PropertyList(PropertyList::Dictionary{{"a", PropertyList::Array{PropertyList::Array{"x"}}}})},
      {"vector<array<bool,16>>", std::vector<std::array<bool, 16>>{{}},
       PropertyList(PropertyList::Array{PropertyList::Array(16, PropertyList(false))})},
  };
  for (const Row& row : rows) {
    kp::set(d, row.key, row.value);
    EXPECT_EQ(d.object(row.key), row.stored) << row.key;
  }
  kp::set(d, "optional int", std::any(std::optional<int>()));
  EXPECT_FALSE(kp::hasKey(d, "optional int")) << "an empty optional in a std::any removes the key";
  EXPECT_THROW(kp::set(d, "k", std::any(std::uint64_t{UINT64_MAX})), ios::NSException);
  EXPECT_THROW(kp::set(d, "k", std::any(std::vector<std::vector<std::vector<std::vector<int>>>>{})),
               ios::NSException)
      << "four levels are not looked into";
}

TEST_F(DefaultsKeyTest, UnsignedIntegersBeyondTheSignedRangeAreStoredAsNumbers) {
  auto& d = kp::Defaults();
  const struct {
    std::uint64_t value;
    PropertyList stored;
  } rows[] = {
      {std::uint64_t{INT64_MAX}, PropertyList(std::int64_t{INT64_MAX})},
      {std::uint64_t{1} << 63, PropertyList(9223372036854775808.0)},
      {UINT64_MAX, PropertyList(18446744073709551616.0)},
  };
  for (const auto& row : rows) {
    kp::set(d, "big", row.value);
    EXPECT_EQ(d.object("big"), row.stored) << row.value;
    kp::set(d, "big as a value", PropertyList::fromUnsignedInteger(row.value));
    EXPECT_EQ(d.object("big as a value"), row.stored) << "the same number as a property-list value: " << row.value;
  }
}

TEST_F(DefaultsKeyTest, EnumsAreArchivedByRawValue) {
  auto& d = kp::Defaults();
  const DefaultsKey<Theme> theme("theme");
  const DefaultsKey<std::optional<Channel>> channel("channel");
  kp::archive(d, theme, Theme::dark);
  kp::archive(d, channel, std::optional<Channel>(Channel::beta));
  EXPECT_EQ(d.object("theme"), PropertyList(2));
  EXPECT_EQ(d.object("channel"), PropertyList("beta"));
  auto& reader = relaunch();
  EXPECT_EQ(kp::unarchive(reader, theme), Theme::dark);
  EXPECT_EQ(kp::unarchive(reader, channel), Channel::beta);
  kp::set(reader, "theme", 9);
  EXPECT_EQ(kp::unarchive(reader, theme), std::nullopt) << "no case has raw value 9";
  kp::set(reader, "theme", "dark");
  EXPECT_EQ(kp::unarchive(reader, theme), std::nullopt) << "text where a number belongs";
  kp::archive(reader, channel, std::optional<Channel>());
  EXPECT_FALSE(kp::hasKey(reader, channel));
}

TEST_F(DefaultsKeyTest, ObjectsAreArchivedAsKeyedArchives) {
  ios::NSKeyedUnarchiver::setClass("Bookmark", [](ios::NSKeyedUnarchiver& coder) -> std::shared_ptr<ios::NSCoding> {
    return std::make_shared<Bookmark>(coder.decodeValue("page").value_or(0).integerValue().value_or(0));
  });
  auto& d = kp::Defaults();
  const DefaultsKey<std::shared_ptr<Bookmark>> bookmark("bookmark");
  const DefaultsKey<std::optional<PropertyList>> value("value");
  kp::archive(d, bookmark, std::make_shared<Bookmark>(12));
  kp::archive(d, value, std::optional<PropertyList>(PropertyList::Array{1, "a"}));
  auto& reader = relaunch();
  auto back = kp::unarchive(reader, bookmark);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ((*back)->page, 12);
  EXPECT_EQ(kp::unarchive(reader, value), PropertyList(PropertyList::Array{1, "a"}));
  EXPECT_EQ(kp::unarchive(reader, DefaultsKey<std::shared_ptr<Bookmark>>("value")), std::nullopt)
      << "an archive of something else";
  kp::archive(reader, bookmark, std::shared_ptr<Bookmark>());
  EXPECT_FALSE(kp::hasKey(reader, bookmark));
}

}  // namespace
