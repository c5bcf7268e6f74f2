// File: KPQuaslet/services/CLLocation+KPExt.h
//
// Great-circle geometry between two locations.
//
//   ios::CLLocation a(0, 170), b(0, -170);
//   kp::midLocation(a, b).coordinate().longitude;  // 180 (not brought back to [-180, 180])
//   kp::bearing(a, b);                             // 90
#pragma once

#include "platform/corelocation/CLLocation.h"

namespace kp {

// midLocation()
//
// The great-circle mid-point between `start` and `end`. Its longitude is not normalised
// to [-180, 180].
[[nodiscard]] ios::CLLocation midLocation(const ios::CLLocation& start, const ios::CLLocation& end);

// bearing()
//
// The initial bearing from `from` to `to`, in degrees within [0, 360): 0 is north,
// 90 east, 270 west.
[[nodiscard]] double bearing(const ios::CLLocation& from, const ios::CLLocation& to);

}  // namespace kp
