#include "platform/testing/PlatformReset.h"

#include "platform/audiotoolbox/AudioServices.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/coreimage/CIDetector.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/imageio/ImageIO.h"
#include "platform/localauthentication/LAContext.h"
#include "platform/security/SecItem.h"
#include "platform/uikit/UIAccessibility.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIImageNamed.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIStoryboard.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIViewController.h"

namespace ios::testing {

void resetPlatform() {
  resetProcessIdentity();
  resetCurrentTimeZone();
  resetCurrentLocale();
  resetFileSystem();
  resetAudioServices();
  BiometricDevice::reset();
  resetKeychain();
  resetUserDefaults();
  resetUncaughtExceptionHandler();
  resetPasteboard();
  resetApplication();
  resetKeyWindow();
  resetNavigationBarAppearance();
  resetStoryboards();
  resetMainScreen();
  resetDataProviderFailures();
  resetContextImageBitmaps();
  resetImageIO();
  resetRandomSource();
  resetFaceDetector();
  resetMainBundle();
  DeviceSettings::reset();
  resetNamedImages();
  resetNotificationCenter();
  resetFirstResponder();
  resetAccessibility();
  resetPhotoAlbum();
  resetViewAnimations();
  resetNibs();
}

}  // namespace ios::testing
