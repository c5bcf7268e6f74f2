#include "KPQuaslet/services/UIDevice+KPExt.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

namespace {

using Settings = ios::testing::DeviceSettings;
using kp::Versions;

class UIDeviceKPExtTest : public ios::testing::PlatformFixture {};

TEST_F(UIDeviceKPExtTest, ModelNamesComeFromTheTableOrTheIdentifier) {
  const struct {
    const char* machine;
    const char* readable;
  } rows[] = {
      {"iPhone10,3", "iPhone X"},   {"iPhone10,6", "iPhone X"}, {"iPad4,4", "iPad Mini 2"},
      {"AppleTV5,3", "AppleTV"},    {"x86_64", "Simulator"},    {"iPhone12,1", "iPhone12,1"},
      {"", ""},
  };
  for (const auto& row : rows) {
    Settings::setMachine(row.machine);
    EXPECT_EQ(kp::deviceModel(), row.machine);
    EXPECT_EQ(kp::deviceModelReadable(), row.readable) << row.machine;
  }
}

TEST_F(UIDeviceKPExtTest, VersionPredicates) {
  Settings::setSystemVersion("11.4");
  EXPECT_FLOAT_EQ(kp::systemFloatVersion(), 11.4f);
  EXPECT_TRUE(kp::isVersion(Versions::eleven));
  EXPECT_TRUE(kp::IS_OS_11());
  EXPECT_FALSE(kp::IS_OS_10());
  EXPECT_FALSE(kp::isVersionOrEarlier(Versions::ten));
  EXPECT_TRUE(kp::isVersionOrLater(Versions::ten));
  EXPECT_TRUE(kp::isVersionOrEarlier(Versions::eleven));
  EXPECT_TRUE(kp::IS_OS_11_OR_EARLIER());
  EXPECT_TRUE(kp::IS_OS_8_OR_LATER());
  EXPECT_FALSE(kp::IS_OS_12_OR_LATER());
  EXPECT_EQ(kp::CURRENT_VERSION(), "11.4");

  Settings::setSystemVersion("12.4.1");
  EXPECT_FLOAT_EQ(kp::systemFloatVersion(), 12.4f);
  Settings::setSystemVersion("13");
  EXPECT_EQ(kp::CURRENT_VERSION(), "13.0");
  EXPECT_FALSE(kp::IS_OS_12_OR_EARLIER());
}

TEST_F(UIDeviceKPExtTest, TheFloatVersionIsTheLeadingDecimalNumberOnly) {
  const struct {
    const char* version;
    float read;
  } rows[] = {
      {"12.4.1", 12.4f}, {"13", 13.0f},   {" 11.2", 11.2f}, {"+9.3", 9.3f},  {"-1.5", -1.5f},   {".5", 0.5f},
      {"10.", 10.0f},    {"1e1", 10.0f},  {"2e", 2.0f},     {"0x10", 0.0f}, {"0X1p3", 0.0f},   {"inf", 0.0f},
      {"nan", 0.0f},     {"12,5", 12.0f}, {"beta", 0.0f},   {"", 0.0f},     {".", 0.0f},      {"1e999", HUGE_VALF},
      {"1e-999", 0.0f},
  };
  for (const auto& row : rows) {
    Settings::setSystemVersion(row.version);
    EXPECT_EQ(kp::systemFloatVersion(), row.read) << '"' << row.version << '"';
  }
  Settings::setSystemVersion("0x10");
  EXPECT_TRUE(kp::IS_OS_8_OR_EARLIER()) << "a hexadecimal text is no version 16";
  EXPECT_EQ(kp::CURRENT_VERSION(), "0.0");
}

TEST_F(UIDeviceKPExtTest, SystemVersionsCompareNumerically) {
  Settings::setSystemVersion("12.10");
  const struct {
    const char* other;
    bool over;
  } rows[] = {{"12.10", true}, {"12.9", true}, {"12.11", false}, {"12", true}, {"12.10.1", false},
              {"9.3", true},   {"012.10", true}, {"13.0", false}};
  for (const auto& row : rows) EXPECT_EQ(kp::isSystemVersionOver(row.other), row.over) << row.other;
}

TEST_F(UIDeviceKPExtTest, RawValues) {
  EXPECT_EQ(kp::fromRawValue<kp::Size>(0), kp::Size::unknownSize);
  EXPECT_EQ(kp::fromRawValue<kp::Size>(10), kp::Size::screen12_9Inch);
  EXPECT_EQ(kp::fromRawValue<kp::Size>(11), std::nullopt);
  EXPECT_EQ(kp::fromRawValue<Versions>(11.0f), Versions::eleven);
  EXPECT_EQ(kp::fromRawValue<Versions>(11.5f), std::nullopt);
  EXPECT_EQ(kp::rawValue(Versions::twelve), 12.0f);
}

TEST_F(UIDeviceKPExtTest, IdentityIdiomAndLanguage) {
  Settings::setIdentifierForVendor("0A1B2C3D-0000-4000-8000-00000000000F");
  EXPECT_EQ(kp::deviceUUID(), "0A1B2C3D-0000-4000-8000-00000000000F");
  EXPECT_EQ(kp::idForVendor(), kp::deviceUUID());
  Settings::setIdentifierForVendor("0a1b2c3d-00ef-4000-8000-abcdef00000f");
  EXPECT_EQ(kp::deviceUUID(), "0A1B2C3D-00EF-4000-8000-ABCDEF00000F") << "answered in upper case";
  EXPECT_EQ(kp::idForVendor(), "0A1B2C3D-00EF-4000-8000-ABCDEF00000F");
  for (const char* notUUID : {"not-a-uuid", "0A1B2C3D00EF40008000ABCDEF00000F", "0A1B2C3D-00EF-4000-8000-ABCDEF00000G",
                              "{0A1B2C3D-00EF-4000-8000-ABCDEF00000F}", ""}) {
    Settings::setIdentifierForVendor(notUUID);
    EXPECT_EQ(kp::deviceUUID(), "") << notUUID;
  }
  Settings::setIdentifierForVendor(std::nullopt);
  EXPECT_EQ(kp::deviceUUID(), "") << "a withheld identifier";
  Settings::reset();
  EXPECT_EQ(kp::deviceUUID().size(), 36u);
  EXPECT_EQ(kp::deviceUUID(), kp::deviceUUID()) << "stable for the process";

  EXPECT_TRUE(kp::isPhone());
  Settings::setIdiom(ios::UIUserInterfaceIdiom::pad);
  EXPECT_TRUE(kp::isPad());
  EXPECT_FALSE(kp::isPhone());

  ios::testing::ScopedLocale chinese("zh_Hans_CN");
  EXPECT_EQ(kp::deviceLanguage(), "zh-Hans");
  ios::testing::ScopedLocale french("fr_FR");
  EXPECT_EQ(kp::deviceLanguage(), "fr");
  EXPECT_EQ(kp::systemName(), "iOS");
}

TEST_F(UIDeviceKPExtTest, DiskFiguresFromOneVolumeQuery) {
  {
    ios::testing::ScopedFileSystemAttributes volume(ios::FileSystemAttributes{64'000'000'000, 4'000'000'000, 1000, 400});
    EXPECT_EQ(kp::diskSize(), 64'000'000'000u);
    EXPECT_EQ(kp::diskFreeSize(), 4'000'000'000u);
    EXPECT_EQ(kp::diskUsedSize(), 60'000'000'000u);
    EXPECT_EQ(kp::allFileNumber(), 600u) << "nodes in use, not always zero";
  }
  {
    ios::testing::ScopedFileSystemAttributes odd(ios::FileSystemAttributes{100, 200, 1, 2});
    EXPECT_EQ(kp::diskUsedSize(), 0u) << "never wraps around";
    EXPECT_EQ(kp::allFileNumber(), 0u);
  }
  {
    ios::testing::ScopedFileSystemAttributes failing(std::nullopt, "gone");
    EXPECT_EQ(kp::diskSize(), 0u);
    EXPECT_EQ(kp::diskUsedSize(), 0u);
  }
}

}  // namespace

namespace {

TEST_F(UIDeviceKPExtTest, ScreenSizeClassesFromTheLongerSide) {
  const struct {
    ios::CGSize size;
    ios::CGFloat scale;
    const char* machine;
    kp::Size expected;
  } rows[] = {
      {{320, 480}, 2, "x86_64", kp::Size::screen3_5Inch},   {{320, 568}, 2, "x86_64", kp::Size::screen4Inch},
      {{375, 667}, 2, "x86_64", kp::Size::screen4_7Inch},   {{375, 667}, 3, "x86_64", kp::Size::screen5_5Inch},
      {{414, 736}, 3, "x86_64", kp::Size::screen5_5Inch},   {{375, 812}, 2, "x86_64", kp::Size::screen5_8Inch},
      {{812, 375}, 3, "x86_64", kp::Size::screen5_8Inch},   {{414, 896}, 2, "x86_64", kp::Size::screen6_1Inch},
      {{414, 896}, 3, "x86_64", kp::Size::screen6_5Inch},   {{768, 1024}, 2, "iPad4,4", kp::Size::screen7_9Inch},
      {{768, 1024}, 2, "iPad5,3", kp::Size::screen9_7Inch}, {{1366, 1024}, 2, "x86_64", kp::Size::screen12_9Inch},
      {{400, 700}, 2, "x86_64", kp::Size::unknownSize},
  };
  for (const auto& row : rows) {
    ios::testing::setMainScreenSize(row.size);
    ios::testing::setMainScreenScale(row.scale);
    Settings::setMachine(row.machine);
    EXPECT_EQ(kp::size(), row.expected) << row.size.width << "x" << row.size.height << " @" << row.scale;
  }
}

TEST_F(UIDeviceKPExtTest, LargerAndSmallerFollowTheOrderOfSizes) {
  ios::testing::setMainScreenSize({375, 667});
  ios::testing::setMainScreenScale(2);
  EXPECT_TRUE(kp::isEqualToScreenSize(kp::Size::screen4_7Inch));
  EXPECT_TRUE(kp::isLargerThanScreenSize(kp::Size::unknownSize));
  EXPECT_TRUE(kp::isLargerThanScreenSize(kp::Size::screen4Inch));
  EXPECT_FALSE(kp::isSmallerThanScreenSize(kp::Size::screen3_5Inch));
  ios::testing::setMainScreenSize({1, 1});
  EXPECT_TRUE(kp::isSmallerThanScreenSize(kp::Size::screen3_5Inch)) << "only an unknown screen";
}

}  // namespace
