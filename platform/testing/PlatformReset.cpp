#include "platform/testing/PlatformReset.h"

#include "platform/foundation/Locale.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/TimeZone.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/uikit/UIScreen.h"

namespace ios::testing {

void resetPlatform() {
  resetProcessIdentity();
  resetCurrentTimeZone();
  resetCurrentLocale();
  resetMainScreen();
  resetDataProviderFailures();
}

}  // namespace ios::testing
