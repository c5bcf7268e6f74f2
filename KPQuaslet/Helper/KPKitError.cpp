#include "KPQuaslet/Helper/KPKitError.h"

namespace kp {

std::string errorDomain(KPKitError) { return "KPQuaslet.KPKitError"; }

std::int64_t errorCode(KPKitError error) { return static_cast<std::int64_t>(error); }

std::string ios_describe(KPKitError error) {
  switch (error) {
    case KPKitError::jsonSerialization: return "jsonSerialization";
    case KPKitError::errorLoadingSound: return "errorLoadingSound";
    case KPKitError::pathNotExist: return "pathNotExist";
    case KPKitError::pathNotAllowed: return "pathNotAllowed";
  }
  return "KPKitError(" + std::to_string(static_cast<std::int64_t>(error)) + ")";
}

}  // namespace kp
