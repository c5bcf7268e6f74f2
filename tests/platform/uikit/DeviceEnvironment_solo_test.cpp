// The KP_DEVICE_* variables of the process itself, read once when the first device or
// screen value is used (alone in its process, so that nothing reads them earlier).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

namespace {

TEST(DeviceEnvironmentSolo, TheEnvironmentDescribesTheDeviceAtFirstUse) {
  ::setenv("KP_DEVICE_SCREEN_SCALE", "3", 1);
  ::setenv("KP_DEVICE_SCREEN_SIZE", "390x844", 1);
  ::setenv("KP_DEVICE_MODEL", "iPhone13,2", 1);
  ::setenv("KP_DEVICE_SYSTEM_VERSION", "15.4", 1);
  EXPECT_EQ(ios::UIScreen::main().scale(), 3.0);
  EXPECT_EQ(ios::UIScreen::main().bounds().size, ios::CGSize(390, 844));
  EXPECT_EQ(ios::utsnameMachine(), "iPhone13,2");
  EXPECT_EQ(ios::UIDevice::current().systemVersion(), "15.4");
  // Read once: later changes of the environment change nothing.
  ::setenv("KP_DEVICE_SCREEN_SCALE", "1", 1);
  EXPECT_EQ(ios::UIScreen::main().scale(), 3.0);
  // simulate() comes after the environment and wins.
  ios::UIDevice::simulate({.screenScale = 2});
  EXPECT_EQ(ios::UIScreen::main().scale(), 2.0);
  EXPECT_EQ(ios::utsnameMachine(), "iPhone13,2");
}

}  // namespace
