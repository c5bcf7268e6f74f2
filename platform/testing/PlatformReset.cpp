#include "platform/testing/PlatformReset.h"

#include "platform/audiotoolbox/AudioServices.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/TimeZone.h"
#include "platform/localauthentication/LAContext.h"
#include "platform/security/SecItem.h"
#include "platform/uikit/UIAccessibility.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"

namespace ios::testing {

void resetPlatform() {
  resetProcessIdentity();
  resetCurrentTimeZone();
  resetCurrentLocale();
  resetFileSystem();
  resetAudioServices();
  BiometricDevice::reset();
  resetKeychain();
  resetPasteboard();
  resetApplication();
  resetMainScreen();
  resetDataProviderFailures();
  resetRandomSource();
  resetAccessibility();
  resetPhotoAlbum();
  resetFirstResponder();
  resetViewAnimations();
  resetNibs();
}

}  // namespace ios::testing
