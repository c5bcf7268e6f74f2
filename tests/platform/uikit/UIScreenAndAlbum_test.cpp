#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/PlatformReset.h"
#include "platform/uikit/UIAccessibility.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIScreen.h"
#include "tests/support/ImageFixtures.h"

namespace {

TEST(UIScreenAndAlbum, SettableStandInsGoBackOnReset) {
  ios::testing::resetPlatform();
  EXPECT_EQ(ios::UIScreen::main().bounds(), ios::CGRect(0, 0, 375, 667));
  ios::testing::setMainScreenSize({320, 480});
  ios::testing::setMainScreenSize({-1, 480});  // ignored
  ios::testing::setMainScreenSize({std::nan(""), 480});
  EXPECT_EQ(ios::UIScreen::main().bounds(), ios::CGRect(0, 0, 320, 480));
  ios::testing::setVoiceOverRunning(true);
  EXPECT_TRUE(ios::UIAccessibilityIsVoiceOverRunning());
  ios::UIImageWriteToSavedPhotosAlbum(kp_test::makeImage(1, 1, kp_test::distinctPixel), nullptr, nullptr, nullptr);
  ASSERT_EQ(ios::testing::savedPhotos().size(), 1u);

  ios::testing::resetPlatform();
  EXPECT_EQ(ios::UIScreen::main().bounds(), ios::CGRect(0, 0, 375, 667));
  EXPECT_FALSE(ios::UIAccessibilityIsVoiceOverRunning());
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
}

}  // namespace
