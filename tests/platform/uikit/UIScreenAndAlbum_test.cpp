#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/PlatformReset.h"
#include "platform/uikit/UIAccessibility.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIScreen.h"

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
  int context = 0;
  ios::UIImageWriteToSavedPhotosAlbum(ios::UIImage(), nullptr, nullptr, &context);
  ASSERT_EQ(ios::testing::savedPhotos().size(), 1u);
  EXPECT_EQ(ios::testing::savedPhotos()[0].contextInfo, &context);

  ios::testing::resetPlatform();
  EXPECT_EQ(ios::UIScreen::main().bounds(), ios::CGRect(0, 0, 375, 667));
  EXPECT_FALSE(ios::UIAccessibilityIsVoiceOverRunning());
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
}

}  // namespace
