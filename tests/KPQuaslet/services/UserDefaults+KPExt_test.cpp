#include "KPQuaslet/services/UserDefaults+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONCoder.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::PropertyList;

struct Settings {
  std::string theme;
  double scale = 1;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Settings, theme, scale)

class UserDefaultsKPExt : public ios::testing::PlatformFixture {
 protected:
  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedProcessIdentity identity_{"Sample", 1};
};

TEST_F(UserDefaultsKPExt, ProxyReadersTable) {
  auto& d = kp::Defaults();
  kp::set(d, "text", "hi");
  kp::set(d, "real", 3.7);
  kp::set(d, "flag", true);
  kp::set(d, "bytes", ios::Data{0});
  kp::set(d, "list", std::vector<std::string>{"a"});
  kp::set(d, "date", ios::Date::fromTimeIntervalSinceReferenceDate(5));
  const auto p = [&](const char* key) { return kp::proxy(d, key); };

  EXPECT_EQ(p("text").string(), "hi");
  EXPECT_EQ(p("text").number(), std::nullopt);
  EXPECT_EQ(p("text").int_(), std::nullopt);
  EXPECT_EQ(p("real").int_(), 3) << "toward zero";
  EXPECT_EQ(p("real").double_(), 3.7);
  EXPECT_EQ(p("real").bool_(), true);
  EXPECT_EQ(p("real").string(), std::nullopt);
  EXPECT_EQ(p("flag").intValue(), 1);
  EXPECT_EQ(p("bytes").data(), ios::Data{0});
  EXPECT_EQ(p("list").array(), PropertyList::Array{"a"});
  EXPECT_EQ(p("list").dictionary(), std::nullopt);
  EXPECT_EQ(p("date").date(), ios::Date::fromTimeIntervalSinceReferenceDate(5));
  EXPECT_EQ(p("text").date(), std::nullopt);
  EXPECT_EQ(p("text").object(), PropertyList("hi"));

  const auto missing = p("missing");
  EXPECT_EQ(missing.key(), "missing") << "a proxy even for a missing key";
  EXPECT_EQ(missing.object(), std::nullopt);
  EXPECT_EQ(missing.stringValue(), "");
  EXPECT_TRUE(missing.arrayValue().empty());
  EXPECT_TRUE(missing.dictionaryValue().empty());
  EXPECT_TRUE(missing.dataValue().empty());
  EXPECT_EQ(missing.numberValue(), ios::NSNumber(0));
  EXPECT_EQ(missing.intValue(), 0);
  EXPECT_EQ(missing.doubleValue(), 0.0);
  EXPECT_FALSE(missing.boolValue());
}

TEST_F(UserDefaultsKPExt, Operators) {
  auto& d = kp::Defaults();
  kp::proxy(d, "count")++;
  EXPECT_EQ(d.object("count"), PropertyList(1)) << "++ on a missing key stores 1";
  kp::proxy(d, "count") += 41;
  EXPECT_EQ(d.object("count"), PropertyList(42));
  kp::proxy(d, "count") += 0.5;
  EXPECT_EQ(d.object("count"), PropertyList(42.5)) << "a double sum is stored as a double";
  kp::proxy(d, "count") += 1;
  EXPECT_EQ(d.object("count"), PropertyList(43)) << "the integer sum reads the double's integer value";

  int evaluations = 0;
  auto make = [&] {
    ++evaluations;
    return std::string("first");
  };
  kp::setIfMissing(kp::proxy(d, "name"), make);
  kp::setIfMissing(kp::proxy(d, "name"), make);
  EXPECT_EQ(d.string("name"), "first");
  EXPECT_EQ(evaluations, 1) << "the right side is not evaluated when the key exists";
  d.registerDefaults({{"registered", 1}});
  kp::setIfMissing(kp::proxy(d, "registered"), 2);
  EXPECT_EQ(d.integer("registered"), 1) << "a registered default counts as present";
}

// A proxy keeps its store: one made from a named suite that nothing else holds still
// reads and writes that suite.
TEST_F(UserDefaultsKPExt, AProxyKeepsItsStoreAlive) {
  std::weak_ptr<ios::UserDefaults> watch;
  std::optional<kp::Proxy> kept;
  {
    auto suite = ios::UserDefaults::make("com.example.proxy");
    suite->setInteger(41, "answer");
    watch = suite;
    kept.emplace(kp::proxy(*suite, "answer"));
  }
  EXPECT_FALSE(watch.expired());
  (*kept)++;
  EXPECT_EQ(kept->intValue(), 42);
  EXPECT_EQ(kept->defaults().integer("answer"), 42);
  kept.reset();
  EXPECT_TRUE(watch.expired()) << "and nothing more";
}

TEST_F(UserDefaultsKPExt, IntegerOverflowStops) {
  auto& d = kp::Defaults();
  kp::set(d, "big", INT64_MAX);
  EXPECT_DEATH(kp::proxy(d, "big") += 1, "overflows");
}

TEST_F(UserDefaultsKPExt, PresenceAndRemoval) {
  auto& d = kp::Defaults();
  d.registerDefaults({{"registered", true}});
  kp::set(d, "a", 1);
  kp::set(d, "b", "x");
  kp::set(d, "registered", false);
  EXPECT_TRUE(kp::hasKey(d, "a"));
  kp::remove(d, "a");
  EXPECT_FALSE(kp::hasKey(d, "a"));
  kp::removeAll(d);
  EXPECT_FALSE(kp::hasKey(d, "b"));
  EXPECT_EQ(d.object("registered"), PropertyList(true)) << "only the application's own values go";
  EXPECT_TRUE(d.dictionaryRepresentation().contains("AppleLocale"));
  EXPECT_EQ(kp::numberForKey(d, "b"), std::nullopt);
}

TEST_F(UserDefaultsKPExt, FloatAndDateReaders) {
  auto& d = kp::Defaults();
  kp::set(d, "half", 0.5);
  kp::set(d, "tenth", 0.1);
  kp::set(d, "text", "0.5");
  EXPECT_EQ(kp::float_(d, "half"), 0.5f);
  EXPECT_EQ(kp::float_(d, "tenth"), std::nullopt) << "0.1 has no exact float";
  EXPECT_EQ(kp::float_(d, "text"), std::nullopt);
  EXPECT_EQ(kp::date(d, "half"), std::nullopt);
}

TEST_F(UserDefaultsKPExt, CodableValues) {
  auto& d = kp::Defaults();
  const ios::JSONEncoder encoder;
  const ios::JSONDecoder decoder;
  ASSERT_TRUE(kp::set(d, Settings{"dark", 2}, "settings", encoder));
  auto back = kp::object<Settings>(d, "settings", decoder);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->theme, "dark");
  EXPECT_EQ(back->scale, 2);

  EXPECT_FALSE(kp::set(d, Settings{"broken", std::nan("")}, "settings", encoder));
  EXPECT_FALSE(kp::hasKey(d, "settings")) << "a value that cannot be encoded removes the stale one";
  EXPECT_EQ(kp::object<Settings>(d, "settings", decoder), std::nullopt);
  EXPECT_FALSE(kp::set(d, Settings{"broken", std::nan("")}, "never set", encoder));
  EXPECT_FALSE(kp::hasKey(d, "never set"));

  kp::set(d, "text", "{\"theme\":\"x\",\"scale\":1}");
  EXPECT_EQ(kp::object<Settings>(d, "text", decoder), std::nullopt) << "text is not data";
  kp::set(d, "wrong", ios::Data{'{', '}'});
  EXPECT_EQ(kp::object<Settings>(d, "wrong", decoder), std::nullopt);
  EXPECT_EQ(kp::object<Settings>(d, "missing", decoder), std::nullopt);
}

}  // namespace
