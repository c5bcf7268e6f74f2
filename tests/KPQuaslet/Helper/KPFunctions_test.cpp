#include "KPQuaslet/Helper/KPFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using kp::KP;
using Level = KP::logLevel;

// Fixes everything a log line depends on: the clock (2024-03-05 14:07:09.125 UTC), the
// time zone, the locale and the process's name and identifier.
class KPLoggerTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override { KP::setMinimumLogLevel(Level::info); }

  ios::testing::ManualClock clock_{731340429.125};
  ios::testing::ScopedTimeZone zone_{"UTC"};
  ios::testing::ScopedLocale locale_{"en_US_POSIX"};
  ios::testing::ScopedProcessIdentity process_{"MyApp", 4711};
  ios::testing::CapturedOutput out_;
};

std::string expectedLine(const std::string& mark, const std::string& name, const std::string& file, int line,
                         const std::string& function, const std::string& message) {
  return "\n" + mark + " ." + name + " \u23F1 2024-03-05 14:07:09:125 \U0001F4F1 MyApp [4711:?] \U0001F4C2 " +
         file + "(" + std::to_string(line) + ") \u2699\uFE0F " + function + " \u27A1\uFE0F\r\t" + message + "\n";
}

struct LevelRow {
  Level level;
  const char* mark;
  const char* name;
  std::int64_t raw;
};

const LevelRow kLevels[] = {
    {Level::info, "\u2753", "info", 1},          {Level::debug, "\u2733\uFE0F", "debug", 2},
    {Level::warn, "\u26A0\uFE0F", "warn", 3},    {Level::error, "\U0001F6AB", "error", 4},
    {Level::fatal, "\U0001F198", "fatal", 5},    {Level::none, "", "none", 6},
};

TEST_F(KPLoggerTest, EveryLevelPrintsItsExactLine) {
  for (const auto& row : kLevels) {
    out_.clear();
    KP::print("hello", row.level, "/Users/dev/App/Store.x", 12, "load()");
    EXPECT_EQ(out_.text(), expectedLine(row.mark, row.name, "Store.x", 12, "load()", "hello")) << row.name;
  }
}

TEST_F(KPLoggerTest, LevelNoneHasAnEmptyMark) {
  KP::print("x", Level::none, "a.x", 1, "f");
  EXPECT_THAT(out_.text(), ::testing::StartsWith("\n .none \u23F1 "));
}

TEST_F(KPLoggerTest, MinimumLevelFiltersByCaseOrder) {
  struct Row {
    Level minimum;
    std::vector<const char*> printed;
  };
  const Row rows[] = {
      {Level::info, {"info", "debug", "warn", "error", "fatal", "none"}},
      {Level::error, {"error", "fatal", "none"}},
      {Level::none, {"none"}},
  };
  for (const auto& row : rows) {
    KP::setMinimumLogLevel(row.minimum);
    out_.clear();
    std::string expected;
    for (const auto& level : kLevels) {
      KP::print(level.name, level.level, "f.x", 1, "g");
    }
    for (const auto& level : kLevels) {
      const bool shouldPrint = std::find_if(row.printed.begin(), row.printed.end(), [&](const char* n) {
                                 return std::string(n) == level.name;
                               }) != row.printed.end();
      if (shouldPrint) expected += expectedLine(level.mark, level.name, "f.x", 1, "g", level.name);
    }
    EXPECT_EQ(out_.text(), expected) << ios::describe(row.minimum);
  }
}

TEST_F(KPLoggerTest, FileNamesComeFromTheURLOfThePath) {
  struct Row {
    const char* path;
    const char* shown;
  };
  const Row rows[] = {
      {"Store.x", "Store.x"},
      {"", ""},
      {"/a/b/with space.x", ""},
      {"/a/b/caf%C3%A9.x", "caf\u00e9.x"},
      {"/a/dir/", "dir"},
  };
  for (const auto& row : rows) {
    out_.clear();
    KP::print(1, Level::info, row.path, 7, "f");
    EXPECT_EQ(out_.text(), expectedLine("\u2753", "info", row.shown, 7, "f", "1")) << row.path;
  }
}

// The date of a line: what a formatter of "yyyy-MM-dd HH:mm:ss:SSS" in the current
// locale and zone writes for the clock's time, also after the clock, the zone or the
// locale changed since the previous line (the logger keeps part of the text between
// lines).
TEST_F(KPLoggerTest, TheDateFollowsTheClockZoneAndLocaleFromLineToLine) {
  const auto dateOfLine = [&] {
    out_.clear();
    KP::print("x", Level::info, "f", 1, "g");
    const std::string text = out_.text();
    const std::size_t start = text.find("⏱ ") + std::string("⏱ ").size();
    return text.substr(start, text.find(" 📱") - start);
  };
  const auto formatted = [] {
    ios::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss:SSS");
    return formatter.string(ios::Date::now());
  };
  struct Step {
    const char* name;
    std::function<void()> change;
    const char* shown;  // the date expected, when it can be spelled here
  };
  std::optional<ios::testing::ScopedTimeZone> zone;
  std::optional<ios::testing::ScopedLocale> locale;
  const Step steps[] = {
      {"as set up", [] {}, "2024-03-05 14:07:09:125"},
      {"one millisecond on", [&] { clock_.advance(0.001); }, "2024-03-05 14:07:09:126"},
      {"to the second's last millisecond", [&] { clock_.advance(0.873); }, "2024-03-05 14:07:09:999"},
      {"into the next second", [&] { clock_.advance(0.001); }, "2024-03-05 14:07:10:000"},
      {"another zone, same instant", [&] { zone.emplace("Asia/Shanghai"); }, "2024-03-05 22:07:10:000"},
      {"a locale with another calendar", [&] { locale.emplace("th_TH@calendar=buddhist"); }, "2567-03-05 22:07:10:000"},
      {"a locale with other digits", [&] { locale.emplace("ar_EG"); }, nullptr},
      {"other digits, next millisecond", [&] { clock_.advance(0.001); }, nullptr},
      {"back to the first locale", [&] { locale.reset(); }, "2024-03-05 22:07:10:001"},
      {"before 1970", [&] { clock_.setAbsoluteTime(-978307200.0 - 0.25); }, nullptr},
  };
  for (const Step& step : steps) {
    step.change();
    const std::string shown = dateOfLine();
    EXPECT_EQ(shown, formatted()) << step.name;
    if (step.shown != nullptr) {
      EXPECT_EQ(shown, step.shown) << step.name;
    }
  }
}

TEST_F(KPLoggerTest, MessagesRenderAsInterpolation) {
  KP::print(1.0, Level::info, "f", 1, "g");
  KP::print(std::optional<int>(3), Level::info, "f", 1, "g");
  KP::print(std::vector<std::string>{"a"}, Level::info, "f", 1, "g");
  KP::print(Level::warn, Level::info, "f", 1, "g");
  EXPECT_EQ(out_.text(), expectedLine("\u2753", "info", "f", 1, "g", "1.0") +
                             expectedLine("\u2753", "info", "f", 1, "g", "Optional(3)") +
                             expectedLine("\u2753", "info", "f", 1, "g", "[\"a\"]") +
                             expectedLine("\u2753", "info", "f", 1, "g", "warn"));
}

TEST_F(KPLoggerTest, TodoLogsAtDebugFromItsOwnFile) {
  KP{}.TODO("wire the cache");
  EXPECT_EQ(out_.text(), expectedLine("\u2733\uFE0F", "debug", "KPFunctions.cpp", 342, "TODO(_:)",
                                      "\u26A0\uFE0F TODO code is still in use! \u26A0\uFE0F\nwire the cache"));
  out_.clear();
  KP::setMinimumLogLevel(Level::warn);
  KP{}.TODO("silent");
  KP{}.log("nothing", "file", "function", 1);
  EXPECT_EQ(out_.text(), "");
}

TEST_F(KPLoggerTest, ConcurrentLoggingWhileTheLevelChangesKeepsLinesWhole) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i) KP::print("m", Level::fatal, "f", 1, "g");
    });
  }
  threads.emplace_back([] {
    for (int i = 0; i < 200; ++i) KP::setMinimumLogLevel(i % 2 ? Level::info : Level::error);
  });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(out_.text().size(), 200 * expectedLine("\U0001F198", "fatal", "f", 1, "g", "m").size());
}

TEST(KPLogLevel, RawValuesMarksAndNames) {
  for (const auto& row : kLevels) {
    EXPECT_EQ(kp::rawValue(row.level), row.raw);
    EXPECT_EQ(kp::fromRawValue<Level>(row.raw), row.level);
    EXPECT_EQ(kp::description(row.level), row.mark);
    EXPECT_EQ(ios::describe(row.level), row.name);
  }
  EXPECT_EQ(kp::fromRawValue<Level>(0), std::nullopt);
  EXPECT_EQ(kp::fromRawValue<Level>(7), std::nullopt);
  EXPECT_EQ(kp::fromRawValue<Level>(-1), std::nullopt);
}

TEST(KPLoggerDeathTest, TodoUnderscoreStopsWithItsMessage) {
  EXPECT_DEATH(KP{}.TODO_(), "Fatal error: TODO left in code");
}

}  // namespace
