#include "KPQuaslet/concurrency/KPException.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/foundation/TimeZone.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::PropertyList;
using kp::KPException;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// 2024-12-30 15:04:05 UTC: a Monday in the first week of 2025, at 3 in the afternoon.
constexpr double kCrashTime = 757263845;

class KPExceptionTest : public ios::testing::PlatformFixture {
 protected:
  static std::string folder() { return ios::NSHomeDirectory() + "/Documents/crash/.Exception"; }
  std::vector<std::string> logNames() const {
    return ios::FileManager::defaultManager().contentsOfDirectory(folder()).value_or(std::vector<std::string>{});
  }
  PropertyList::Dictionary readLog(const std::string& name) const {
    std::ifstream in(folder() + "/" + name, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    return *ios::JSONSerialization::jsonObject(text).dictionaryValue();
  }

  kp_test::TemporaryDirectory home_;
  ios::testing::ScopedHomeDirectory scopedHome_{home_.path()};
  ios::testing::ScopedTimeZone zone_{"UTC"};
  ios::testing::ScopedLocale locale_{"en_US"};
  ios::testing::ManualClock clock_{kCrashTime};
  ios::testing::CapturedOutput output_;
};

TEST_F(KPExceptionTest, AnExceptionBecomesAReportAndOneLog) {
  const ios::NSException exception("BadThing", "it broke", PropertyList::Dictionary{{"code", 7}, {"where", "login"}});
  kp::exceptionHandler(exception);

  EXPECT_THAT(output_.text(), StartsWith("========异常错误报告========\n错误标识:BadThing\n错误原因:\nit broke\n堆栈信息:\n(\n    \""));
  EXPECT_THAT(output_.text(), HasSubstr("\"\n)\n崩溃日志保存成功\n"));
  ASSERT_THAT(logNames(), ElementsAre("20251230030405.log")) << "YYYY is the week-based year, hh the 12-hour clock";
  const auto log = readLog("20251230030405.log");
  EXPECT_EQ(log.at("name"), PropertyList("BadThing"));
  EXPECT_EQ(log.at("reason"), PropertyList("it broke"));
  EXPECT_EQ(log.at("useInfo"), PropertyList(PropertyList::Dictionary{{"code", 7}, {"where", "login"}}));
  EXPECT_EQ(log.at("date"), PropertyList("20251230030405"));
  ASSERT_NE(log.at("callStackSymbols").arrayValue(), nullptr);
  EXPECT_EQ(log.at("callStackSymbols").arrayValue()->size(), exception.callStackSymbols().size());
  EXPECT_FALSE(exception.callStackSymbols().empty());

  std::ifstream in(folder() + "/20251230030405.log");
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_THAT(text, HasSubstr("\n  \"name\" : \"BadThing\"")) << "pretty-printed";
}

TEST_F(KPExceptionTest, WithoutUserInfoOrReason) {
  kp::exceptionHandler(ios::NSException("NoInfo", std::nullopt));
  ASSERT_EQ(logNames().size(), 1u);
  const auto log = readLog(logNames()[0]);
  EXPECT_FALSE(log.contains("useInfo"));
  EXPECT_EQ(log.at("reason"), PropertyList("(null)"));
  EXPECT_THAT(output_.text(), HasSubstr("错误原因:\n(null)\n"));
}

TEST_F(KPExceptionTest, CrashesInTheSameSecondKeepEveryLog) {
  clock_.setAbsoluteTime(kCrashTime - 12 * 3600);  // 03:04:05 the same day
  kp::exceptionHandler(ios::NSException("First", "a"));
  kp::exceptionHandler(ios::NSException("Second", "b"));
  clock_.advance(12 * 3600);  // 15:04:05: the same text on the 12-hour clock
  kp::exceptionHandler(ios::NSException("Third", "c"));
  EXPECT_THAT(logNames(), ElementsAre("20251230030405-1.log", "20251230030405-2.log", "20251230030405.log"));
  EXPECT_EQ(readLog("20251230030405.log").at("name"), PropertyList("First"));
  EXPECT_EQ(readLog("20251230030405-1.log").at("name"), PropertyList("Second"));
  EXPECT_EQ(readLog("20251230030405-2.log").at("date"), PropertyList("20251230030405"));
}

TEST_F(KPExceptionTest, UserInfoJSONCannotHoldIsKeptAsText) {
  kp::exceptionHandler(ios::NSException(
      "Odd\xff", "bytes", PropertyList::Dictionary{{"blob", PropertyList::fromData({1, 2})}, {"nan", std::nan("")}}));
  EXPECT_THAT(output_.text(), HasSubstr("崩溃日志保存成功"));
  ASSERT_EQ(logNames().size(), 1u);
  const auto log = readLog(logNames()[0]);
  ASSERT_NE(log.at("useInfo").stringValue(), nullptr);
  EXPECT_THAT(*log.at("useInfo").stringValue(), HasSubstr("blob"));
  EXPECT_EQ(log.at("name"), PropertyList("Odd\xEF\xBF\xBD"));
}

ios::Date at(double secondsSince2001) { return ios::Date::fromTimeIntervalSinceReferenceDate(secondsSince2001); }

// Dates JSON cannot hold go into the user info's description; those the calendar cannot
// write (huge, or not finite) are written as seconds since 2001.
TEST_F(KPExceptionTest, DatesInTheUserInfoAlwaysHaveAText) {
  kp::exceptionHandler(ios::NSException(
      "Dates", "when",
      PropertyList::Dictionary{{"huge", at(1e300)},
                               {"nested", PropertyList::Array{at(-1e300), at(std::nan(""))}},
                               {"later", at(INFINITY)},
                               {"start", at(0)},
                               {"past", ios::Date::distantPast()}}));
  EXPECT_THAT(output_.text(), HasSubstr("崩溃日志保存成功"));
  ASSERT_EQ(logNames().size(), 1u);
  const auto log = readLog(logNames()[0]);
  ASSERT_NE(log.at("useInfo").stringValue(), nullptr);
  const std::string info = *log.at("useInfo").stringValue();
  EXPECT_THAT(info, HasSubstr("1e+300"));
  EXPECT_THAT(info, HasSubstr("-1e+300"));
  EXPECT_THAT(info, HasSubstr("nan"));
  EXPECT_THAT(info, HasSubstr("inf"));
  EXPECT_THAT(info, HasSubstr("2001-01-01 00:00:00 +0000")) << "a date the calendar can write keeps its text";
  EXPECT_THAT(info, Not(HasSubstr("-63114076800"))) << "so does the distant past";
}

TEST_F(KPExceptionTest, AFolderThatCannotBeMadeIsReported) {
  std::filesystem::create_directories(ios::NSHomeDirectory() + "/Documents");
  std::ofstream(ios::NSHomeDirectory() + "/Documents/crash") << "a file where the folder belongs";
  kp::exceptionHandler(ios::NSException("X", "y"));
  EXPECT_THAT(output_.text(), HasSubstr("\n崩溃日志保存失败\n"));
  EXPECT_EQ(KPException::getCrashLog(), std::nullopt);
}

TEST_F(KPExceptionTest, ReadingAndRemovingLogs) {
  EXPECT_EQ(KPException::getCrashLog(), std::nullopt);
  EXPECT_TRUE(KPException::removeCrashLog());
  EXPECT_TRUE(std::filesystem::is_directory(folder())) << "the folder stays";

  kp::exceptionHandler(ios::NSException("First", "a"));
  clock_.advance(1);
  kp::exceptionHandler(ios::NSException("Second", "b"));
  const auto text = KPException::getCrashLog();
  ASSERT_TRUE(text.has_value());
  EXPECT_THAT(*text, HasSubstr("\"name\" : \"First\"")) << "the first name in the listing";
  std::filesystem::create_directories(folder() + "/nested");
  std::ofstream(folder() + "/nested/x.log") << "x";
  EXPECT_TRUE(KPException::removeCrashLog());
  EXPECT_TRUE(logNames().empty());

  std::ofstream(folder() + "/bad.log", std::ios::binary) << "\xff\xfe";
  EXPECT_EQ(KPException::getCrashLog(), std::nullopt) << "not UTF-8";
  std::filesystem::remove_all(ios::NSHomeDirectory() + "/Documents/crash");
  output_.clear();
  KPException announce;
  EXPECT_EQ(output_.text(), "exception path : " + folder() + "\n");
  EXPECT_TRUE(std::filesystem::is_directory(folder())) << "made again on access";
}

// A name a save has claimed is an empty file, not a log yet; a ".writing-" file in the
// folder is what an earlier version's killed save left, and is removed. Saves write
// their temporary files outside the folder, so that it holds only logs.
TEST_F(KPExceptionTest, OnlyFinishedLogsCountAndLeftoversAreRemoved) {
  std::filesystem::create_directories(folder());
  std::ofstream(folder() + "/.writing-123") << "{\"name\" : \"half";
  std::ofstream(folder() + "/00000000000000.log");  // claimed, still empty
  EXPECT_EQ(KPException::getCrashLog(), std::nullopt);
  EXPECT_THAT(logNames(), ElementsAre("00000000000000.log")) << "the leftover is gone";
  kp::exceptionHandler(ios::NSException("Finished", "done"));
  const auto text = KPException::getCrashLog();
  ASSERT_TRUE(text.has_value());
  EXPECT_THAT(*text, HasSubstr("\"name\" : \"Finished\""));
  struct stat info {};
  ASSERT_EQ(::stat((folder() + "/" + logNames().back()).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "logs are the owner's alone";
  EXPECT_TRUE(KPException::removeCrashLog());
  EXPECT_THAT(logNames(), ::testing::IsEmpty()) << "the folder empties";
}

// The temporary file of a save whose process is gone is removed by the next save; one
// of a live process is left to it.
TEST_F(KPExceptionTest, TemporaryFilesOfEndedSavesAreRemoved) {
  const std::string tmp = ios::NSHomeDirectory() + "/tmp";
  std::filesystem::create_directories(tmp);
  const std::string live = "crash-" + std::to_string(::getpid()) + "-1.writing";
  const std::string ended = "crash-2147483646-1.writing";  // above any pid the kernel hands out
  std::ofstream(tmp + "/" + live) << "half";
  std::ofstream(tmp + "/" + ended) << "half";
  kp::exceptionHandler(ios::NSException("Saved", "x"));
  EXPECT_TRUE(std::filesystem::exists(tmp + "/" + live));
  EXPECT_FALSE(std::filesystem::exists(tmp + "/" + ended));
  EXPECT_EQ(logNames().size(), 1u);
}

// Logs that earlier versions kept in the user's own Documents move into the
// application's folder, once and without loss; a name taken there gets a suffix.
TEST_F(KPExceptionTest, EarlierLogsMoveIntoTheApplicationsFolder) {
  const std::string earlier = home_.path() + "/Documents/crash/.Exception";
  std::filesystem::create_directories(earlier);
  std::filesystem::create_directories(folder());
  std::ofstream(earlier + "/20240101010101.log") << "{\"name\" : \"Old\"}";
  std::ofstream(earlier + "/20251230030405.log") << "{\"name\" : \"Clash\"}";
  std::ofstream(folder() + "/20251230030405.log") << "{\"name\" : \"New\"}";
  std::ofstream(earlier + "/notes.txt") << "not a log";
  EXPECT_THAT(KPException::getCrashLog().value_or(""), HasSubstr("Old"));
  EXPECT_THAT(logNames(), ElementsAre("20240101010101.log", "20251230030405-1.log", "20251230030405.log"));
  EXPECT_THAT(ios::FileManager::defaultManager().contentsOfDirectory(earlier).value_or(std::vector<std::string>{}),
              ElementsAre("notes.txt"))
      << "each imported log leaves the old folder";
}

// The listing is in name order, which is not the order of the crashes: the hour is on
// the 12-hour clock, and a later log of the same second takes a suffix that sorts first.
TEST_F(KPExceptionTest, TheFirstLogIsTheFirstByNameNotTheEarliest) {
  clock_.setAbsoluteTime(kCrashTime - 4 * 3600);  // 11:04:05, "...110405"
  kp::exceptionHandler(ios::NSException("Morning", "a"));
  clock_.setAbsoluteTime(kCrashTime);  // 15:04:05 the same day, "...030405"
  kp::exceptionHandler(ios::NSException("Afternoon", "b"));
  EXPECT_THAT(KPException::getCrashLog().value_or(""), HasSubstr("\"name\" : \"Afternoon\""));
  kp::exceptionHandler(ios::NSException("SameSecond", "c"));
  EXPECT_THAT(KPException::getCrashLog().value_or(""), HasSubstr("\"name\" : \"SameSecond\"")) << "\"-1.log\" sorts first";
}

void otherHandler(const ios::NSException&) {}

TEST_F(KPExceptionTest, EnablingReplacesAnotherHandlerWithAWarning) {
  KPException::enableException();
  EXPECT_EQ(output_.text(), "");
  ASSERT_NE(ios::NSGetUncaughtExceptionHandler(), nullptr);
  ios::NSSetUncaughtExceptionHandler(&otherHandler);
  KPException::enableException();
  EXPECT_EQ(output_.text(), "外部检查到 有捕获 Excption 操作，拦截了\n");
  EXPECT_NE(ios::NSGetUncaughtExceptionHandler(), &otherHandler);
}

}  // namespace
