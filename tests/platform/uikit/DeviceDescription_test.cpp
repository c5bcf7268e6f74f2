// Describing the simulated device: UIDevice::simulate() and the KP_DEVICE_* variables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/internal/DeviceState.h"
#include "tests/support/CommaDecimalLocale.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ios::CGSize;
using ios::DeviceDescription;
using ios::UIDevice;
using ios::UIScreen;

class DeviceDescriptionTest : public ios::testing::PlatformFixture {
 protected:
  // The pixel width of an image drawn at the screen's scale, `points` wide.
  static std::size_t drawnPixelWidth(double points) {
    ios::UIGraphicsBeginImageContextWithOptions(CGSize(points, points), false, 0);
    auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    return image ? image->cgImage()->width() : 0;
  }
};

TEST_F(DeviceDescriptionTest, SimulateSetsWhatItIsGivenAndKeepsTheRest) {
  EXPECT_EQ(drawnPixelWidth(128), 256u);  // the built-in screen: scale 2
  UIDevice::simulate({.screenScale = 3, .screenSize = CGSize(390, 844), .model = "iPhone13,2", .systemVersion = "15.4"});
  EXPECT_EQ(UIScreen::main().scale(), 3.0);
  EXPECT_EQ(UIScreen::main().bounds().size, CGSize(390, 844));
  EXPECT_EQ(ios::utsnameMachine(), "iPhone13,2");
  EXPECT_EQ(UIDevice::current().systemVersion(), "15.4");
  EXPECT_TRUE(UIDevice::current().isSystemVersionAtLeast(15, 4));
  EXPECT_EQ(drawnPixelWidth(128), 384u);

  UIDevice::simulate({.screenScale = 1});
  EXPECT_EQ(drawnPixelWidth(128), 128u);
  EXPECT_EQ(UIScreen::main().bounds().size, CGSize(390, 844));
  EXPECT_EQ(ios::utsnameMachine(), "iPhone13,2");
  EXPECT_EQ(UIDevice::current().systemVersion(), "15.4");
}

TEST_F(DeviceDescriptionTest, ABrokenDescriptionIsRefusedWholeAndNamesItsField) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    DeviceDescription device;
    const char* field;
  } rows[] = {
      {"zero scale", {.screenScale = 0}, "screenScale"},
      {"negative scale", {.screenScale = -2}, "screenScale"},
      {"NaN scale", {.screenScale = nan}, "screenScale"},
      {"infinite scale", {.screenScale = inf}, "screenScale"},
      {"negative width", {.screenSize = CGSize(-1, 800)}, "screenSize"},
      {"NaN height", {.screenSize = CGSize(390, nan)}, "screenSize"},
      {"empty model", {.screenScale = 3, .model = ""}, "model"},
      {"empty version", {.screenSize = CGSize(10, 10), .systemVersion = ""}, "systemVersion"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      UIDevice::simulate(row.device);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_THAT(error.what(), ::testing::HasSubstr(row.field));
    }
    EXPECT_EQ(UIScreen::main().scale(), 2.0);
    EXPECT_EQ(UIScreen::main().bounds().size, CGSize(375, 667));
    EXPECT_EQ(UIDevice::current().systemVersion(), "14.0");
  }
}

TEST_F(DeviceDescriptionTest, ResettingForTheNextTestForgetsTheDescription) {
  UIDevice::simulate({.screenScale = 3, .screenSize = CGSize(390, 844), .model = "iPad8,1", .systemVersion = "16.0"});
  ios::testing::resetPlatform();
  EXPECT_EQ(UIScreen::main().scale(), 2.0);
  EXPECT_EQ(UIScreen::main().bounds().size, CGSize(375, 667));
  EXPECT_EQ(UIDevice::current().systemVersion(), "14.0");
  EXPECT_NE(ios::utsnameMachine(), "iPad8,1");
}

TEST(DeviceEnvironment, EachVariableThatParsesDescribesItsPart) {
  struct Row {
    const char* name;
    std::map<std::string, std::string> environment;
    DeviceDescription expected;
    std::vector<std::string> warnings;
  };
  const Row rows[] = {
      {"nothing set", {}, {}, {}},
      {"everything",
       {{"KP_DEVICE_SCREEN_SCALE", "3"},
        {"KP_DEVICE_SCREEN_SIZE", "390x844"},
        {"KP_DEVICE_MODEL", "iPhone13,2"},
        {"KP_DEVICE_SYSTEM_VERSION", "15.4"}},
       {.screenScale = 3, .screenSize = CGSize(390, 844), .model = "iPhone13,2", .systemVersion = "15.4"},
       {}},
      {"fractions and a capital X",
       {{"KP_DEVICE_SCREEN_SCALE", "2.5"}, {"KP_DEVICE_SCREEN_SIZE", "320.5X568"}},
       {.screenScale = 2.5, .screenSize = CGSize(320.5, 568)},
       {}},
      {"bad ones are left out, the others kept",
       {{"KP_DEVICE_SCREEN_SCALE", "3x"}, {"KP_DEVICE_SCREEN_SIZE", "390"}, {"KP_DEVICE_MODEL", "iPhone9,1"}},
       {.model = "iPhone9,1"},
       {"ignoring KP_DEVICE_SCREEN_SCALE=\"3x\": does not parse",
        "ignoring KP_DEVICE_SCREEN_SIZE=\"390\": does not parse"}},
      {"values that parse but break the rules",
       {{"KP_DEVICE_SCREEN_SCALE", "0"}, {"KP_DEVICE_SCREEN_SIZE", "-1x5"}, {"KP_DEVICE_SYSTEM_VERSION", ""}},
       {},
       {"ignoring KP_DEVICE_SCREEN_SCALE=\"0\": screenScale must be positive and finite",
        "ignoring KP_DEVICE_SCREEN_SIZE=\"-1x5\": screenSize must be finite and not negative",
        "ignoring KP_DEVICE_SYSTEM_VERSION=\"\": systemVersion must not be empty"}},
      {"not a number", {{"KP_DEVICE_SCREEN_SCALE", "nan"}}, {}, {"ignoring KP_DEVICE_SCREEN_SCALE=\"nan\": does not parse"}},
      {"leading space and plus signs",
       {{"KP_DEVICE_SCREEN_SCALE", " 2.5"}, {"KP_DEVICE_SCREEN_SIZE", "390.5x+844.25"}},
       {.screenScale = 2.5, .screenSize = CGSize(390.5, 844.25)},
       {}},
      {"a decimal comma and a doubled sign",
       {{"KP_DEVICE_SCREEN_SCALE", "2,5"}, {"KP_DEVICE_SCREEN_SIZE", "+-1x5"}},
       {},
       {"ignoring KP_DEVICE_SCREEN_SCALE=\"2,5\": does not parse",
        "ignoring KP_DEVICE_SCREEN_SIZE=\"+-1x5\": does not parse"}},
  };
  const auto checkRows = [&] {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.name);
      std::vector<std::string> warnings;
      const DeviceDescription parsed = ios::uikit_internal::parseDeviceEnvironment(
          [&](const char* name) -> const char* {
            const auto found = row.environment.find(name);
            return found == row.environment.end() ? nullptr : found->second.c_str();
          },
          [&](const std::string& message) { warnings.push_back(message); });
      EXPECT_EQ(parsed.screenScale, row.expected.screenScale);
      EXPECT_EQ(parsed.screenSize.has_value(), row.expected.screenSize.has_value());
      if (parsed.screenSize && row.expected.screenSize) {
        EXPECT_EQ(*parsed.screenSize, *row.expected.screenSize);
      }
      EXPECT_EQ(parsed.model, row.expected.model);
      EXPECT_EQ(parsed.systemVersion, row.expected.systemVersion);
      EXPECT_EQ(warnings, row.warnings);
    }
  };
  checkRows();
  // Numbers have '.' as their decimal point whatever the C numeric locale.
  kp_test::CommaDecimalLocale comma;
  if (!comma.available()) GTEST_SKIP() << "no comma-decimal locale can be made here";
  SCOPED_TRACE("comma-decimal locale");
  checkRows();
}

}  // namespace
