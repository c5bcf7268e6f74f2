#include "platform/uikit/UIDevice.h"

#include <gtest/gtest.h>

#include "platform/testing/PlatformFixture.h"

namespace {

class UIDeviceTest : public ios::testing::PlatformFixture {};

TEST_F(UIDeviceTest, AvailabilityComparesTheVersionNumbersOneByOne) {
  const struct {
    const char* version;
    std::int64_t major, minor, patch;
    bool atLeast;
  } rows[] = {
      {"14.0", 11, 0, 0, true},    {"11.0", 11, 0, 0, true},    {"10.3.1", 11, 0, 0, false},
      {"10.3", 10, 3, 0, true},    {"10.3.0", 10, 3, 0, true},  {"10.2.9", 10, 3, 0, false},
      {"10.10", 10, 9, 0, true},   {"10", 10, 0, 0, true},      {"9.3.5", 10, 0, 0, false},
      {"10.3", 10, 3, 1, false},   {"12.4.1", 12, 4, 1, true},  {"12.4.1.7", 12, 4, 1, true},
      {"", 1, 0, 0, false},        {"beta", 1, 0, 0, false},    {"beta", 0, 0, 0, true},
      {"11.0b3", 11, 0, 0, true},  {"99999999999999999999", 2147483647, 0, 0, true},
  };
  for (const auto& row : rows) {
    ios::testing::DeviceSettings::setSystemVersion(row.version);
    EXPECT_EQ(ios::UIDevice::current().isSystemVersionAtLeast(row.major, row.minor, row.patch), row.atLeast)
        << row.version << " >= " << row.major << "." << row.minor << "." << row.patch;
  }
}

}  // namespace
