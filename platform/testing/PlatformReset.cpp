#include "platform/testing/PlatformReset.h"

#include "platform/foundation/Locale.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/TimeZone.h"

namespace ios::testing {

void resetPlatform() {
  resetProcessIdentity();
  resetCurrentTimeZone();
  resetCurrentLocale();
  resetRandomSource();
}

}  // namespace ios::testing
