#include "KPQuaslet/services/LocationTransform.h"

#include <algorithm>
#include <cmath>

namespace kp {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoThirds = 2.0 / 3.0;
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 0.00669342162296594323;
constexpr double kAxisTimesOneMinusEE = 6335445.439889961;
constexpr double kEarthRadius = 6378137.0;

constexpr double kSearchHalfWidth = 0.01;
constexpr double kSearchTolerance = 0.000001;
constexpr int kSearchSteps = 30;

bool outOfChina(double lat, double lng) {
  return lng < 72.004 || lng > 137.8347 || lat < 0.8293 || lat > 55.8271;
}

struct Offset {
  double lat;
  double lng;
};

// The GCJ-02 offset polynomial at (x, y) = (lng - 105, lat - 35).
Offset transform(double x, double y) {
  const double xPi = x * kPi;
  const double yPi = y * kPi;
  const double s = 20.0 * std::sin(6.0 * xPi) + 20.0 * std::sin(2.0 * xPi);
  const double sumLat =
      (160.0 * std::sin(yPi / 12.0) + 320.0 * std::sin(yPi / 30.0)) + (s + (20.0 * std::sin(yPi) + 40.0 * std::sin(yPi / 3.0)));
  const double sumLng =
      (150.0 * std::sin(xPi / 12.0) + 300.0 * std::sin(xPi / 30.0)) + (s + (20.0 * std::sin(xPi) + 40.0 * std::sin(xPi / 3.0)));
  const double rootX = std::sqrt(std::fabs(x));
  return {
      sumLat * kTwoThirds + (-100.0 + 2.0 * x + 3.0 * y + 0.2 * y * y + 0.1 * x * y + 0.2 * rootX),
      sumLng * kTwoThirds + (300.0 + x + 2.0 * y + 0.1 * x * x + 0.1 * x * y + 0.1 * rootX),
  };
}

// The offset in degrees that WGS-84 -> GCJ-02 adds at (lat, lng).
Offset datumOffset(double lat, double lng) {
  const double radLat = lat / 180.0 * kPi;
  double magic = std::sin(radLat);
  magic = 1 - kEccentricitySquared * magic * magic;
  const double sqrtMagic = std::sqrt(magic);
  Offset d = transform(lng - 105.0, lat - 35.0);
  d.lat = (d.lat * 180.0) / ((kAxisTimesOneMinusEE / (magic * sqrtMagic)) * kPi);
  d.lng = (d.lng * 180.0) / ((kSemiMajorAxis / sqrtMagic) * std::cos(radLat) * kPi);
  return d;
}

double radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

LocationTransform::GCJ LocationTransform::wgs2gcj(double wgsLat, double wgsLng) {
  if (outOfChina(wgsLat, wgsLng)) return {wgsLat, wgsLng};
  const Offset d = datumOffset(wgsLat, wgsLng);
  return {wgsLat + d.lat, wgsLng + d.lng};
}

LocationTransform::WGS LocationTransform::gcj2wgs(double gcjLat, double gcjLng) {
  if (outOfChina(gcjLat, gcjLng)) return {gcjLat, gcjLng};
  const Offset d = datumOffset(gcjLat, gcjLng);
  return {gcjLat - d.lat, gcjLng - d.lng};
}

LocationTransform::WGS LocationTransform::gcj2wgs_exact(double gcjLat, double gcjLng) {
  // Centred on the one-step inverse: the forward offset reaches 0.0108 degrees in the
  // north of the box, so a box centred on the GCJ point itself can miss the answer.
  const WGS start = gcj2wgs(gcjLat, gcjLng);
  double minLat = start.wgsLat - kSearchHalfWidth;
  double minLng = start.wgsLng - kSearchHalfWidth;
  double maxLat = start.wgsLat + kSearchHalfWidth;
  double maxLng = start.wgsLng + kSearchHalfWidth;
  WGS w{};
  for (int step = 0; step < kSearchSteps; ++step) {
    w = {(minLat + maxLat) * 0.5, (minLng + maxLng) * 0.5};
    const GCJ t = wgs2gcj(w.wgsLat, w.wgsLng);
    const double dLat = t.gcjLat - gcjLat;
    const double dLng = t.gcjLng - gcjLng;
    if (std::fabs(dLat) < kSearchTolerance && std::fabs(dLng) < kSearchTolerance) return w;
    (dLat > 0 ? maxLat : minLat) = w.wgsLat;
    (dLng > 0 ? maxLng : minLng) = w.wgsLng;
  }
  return w;
}

LocationTransform::BD LocationTransform::gcj2bd(double gcjLat, double gcjLng) {
  if (outOfChina(gcjLat, gcjLng)) return {gcjLat, gcjLng};
  const double x = gcjLng;
  const double y = gcjLat;
  const double z = std::sqrt(x * x + y * y) + 0.00002 * std::sin(y * kPi);
  const double theta = std::atan2(y, x) + 0.000003 * std::cos(x * kPi);
  return {z * std::sin(theta) + 0.006, z * std::cos(theta) + 0.0065};
}

LocationTransform::GCJ LocationTransform::bd2gcj(double bdLat, double bdLng) {
  if (outOfChina(bdLat, bdLng)) return {bdLat, bdLng};
  const double x = bdLng - 0.0065;
  const double y = bdLat - 0.006;
  const double z = std::sqrt(x * x + y * y) - 0.00002 * std::sin(y * kPi);
  const double theta = std::atan2(y, x) - 0.000003 * std::cos(x * kPi);
  return {z * std::sin(theta), z * std::cos(theta)};
}

LocationTransform::BD LocationTransform::wgs2bd(double wgsLat, double wgsLng) {
  const GCJ gcj = wgs2gcj(wgsLat, wgsLng);
  return gcj2bd(gcj.gcjLat, gcj.gcjLng);
}

LocationTransform::WGS LocationTransform::bd2wgs(double bdLat, double bdLng) {
  const GCJ gcj = bd2gcj(bdLat, bdLng);
  return gcj2wgs(gcj.gcjLat, gcj.gcjLng);
}

double LocationTransform::Distance(double latA, double lngA, double latB, double lngB) {
  const double a = radians(latA);
  const double b = radians(latB);
  double s = std::cos(a) * std::cos(b) * std::cos(radians(lngA) - radians(lngB)) + std::sin(a) * std::sin(b);
  s = std::clamp(s, -1.0, 1.0);
  return std::acos(s) * kEarthRadius;
}

}  // namespace kp
