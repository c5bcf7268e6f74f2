#include "KPQuaslet/services/CLLocation+KPExt.h"

#include <cmath>

namespace kp {
namespace {

constexpr double kPi = 3.141592653589793;

double radians(double degrees) { return degrees * kPi / 180.0; }
double degrees(double radians) { return radians * 180.0 / kPi; }

// Both ends' coordinates in radians.
struct Ends {
  double lat1, lon1, lat2, lon2;
  Ends(const ios::CLLocation& from, const ios::CLLocation& to)
      : lat1(radians(from.coordinate().latitude)),
        lon1(radians(from.coordinate().longitude)),
        lat2(radians(to.coordinate().latitude)),
        lon2(radians(to.coordinate().longitude)) {}
};

}  // namespace

ios::CLLocation midLocation(const ios::CLLocation& start, const ios::CLLocation& end) {
  const auto [lat1, lon1, lat2, lon2] = Ends(start, end);
  const double dLon = lon2 - lon1;
  const double bx = std::cos(lat2) * std::cos(dLon);
  const double by = std::cos(lat2) * std::sin(dLon);
  const double cosLat1PlusBx = std::cos(lat1) + bx;
  const double lat3 = std::atan2(std::sin(lat1) + std::sin(lat2), std::sqrt(cosLat1PlusBx * cosLat1PlusBx + by * by));
  const double lon3 = lon1 + std::atan2(by, cosLat1PlusBx);
  return ios::CLLocation(degrees(lat3), degrees(lon3));
}

double bearing(const ios::CLLocation& from, const ios::CLLocation& to) {
  const auto [lat1, lon1, lat2, lon2] = Ends(from, to);
  const double dLon = lon2 - lon1;
  const double y = std::sin(dLon) * std::cos(lat2);
  const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
  return std::fmod(degrees(std::atan2(y, x)) + 360.0, 360.0);
}

}  // namespace kp
