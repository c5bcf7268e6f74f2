// File: platform/corelocation/CLLocation.h
//
// Geographic locations.
//
//   ios::CLLocation paris(48.85, 2.35);
//   paris.coordinate().latitude;  // 48.85
//
// Fidelity: keeps a location's coordinate (latitude and longitude in degrees, not
// normalised). Altitude, accuracy, course, speed and timestamp are absent. A location
// is an immutable value.
#pragma once

namespace ios {

using CLLocationDegrees = double;

struct CLLocationCoordinate2D {
  CLLocationDegrees latitude = 0;
  CLLocationDegrees longitude = 0;

  bool operator==(const CLLocationCoordinate2D&) const = default;
};

class CLLocation {
 public:
  CLLocation(CLLocationDegrees latitude, CLLocationDegrees longitude) : coordinate_{latitude, longitude} {}

  [[nodiscard]] CLLocationCoordinate2D coordinate() const { return coordinate_; }

 private:
  CLLocationCoordinate2D coordinate_;
};

}  // namespace ios
