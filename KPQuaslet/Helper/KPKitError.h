// File: KPQuaslet/Helper/KPKitError.h
//
// The library's one error type. Thrown as a value and bridged to NSError with the
// domain "KPQuaslet.KPKitError" and the case's position as its code.
//
//   try { kp::KPSystemSound::playSound(path); }
//   catch (kp::KPKitError e) { ios::bridgeError(e).code; }  // 1 for errorLoadingSound
#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/NSError.h"

namespace kp {

enum class KPKitError : std::int64_t {
  jsonSerialization = 0,
  errorLoadingSound = 1,
  pathNotExist = 2,
  pathNotAllowed = 3,
};

// The bridged error domain: "KPQuaslet.KPKitError".
[[nodiscard]] std::string errorDomain(KPKitError error);
// The bridged error code: the case's position, 0 to 3.
[[nodiscard]] std::int64_t errorCode(KPKitError error);
// The case name ("pathNotAllowed"), as the value is printed.
[[nodiscard]] std::string ios_describe(KPKitError error);

}  // namespace kp
