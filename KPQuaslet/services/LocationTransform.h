// File: KPQuaslet/services/LocationTransform.h
//
// Conversions between the WGS-84, GCJ-02 and BD-09 datums used on maps of mainland
// China, and the great-circle distance between two points. Latitude comes first
// everywhere, in degrees.
//
//   auto gcj = kp::LocationTransform::wgs2gcj(39.908, 116.397);
//   gcj.gcjLat;  // 39.90940337767001
//
// Points outside the China box (longitude 72.004 to 137.8347, latitude 0.8293 to
// 55.8271, bounds included) pass through every conversion unchanged.
#pragma once

namespace kp {

struct LocationTransform {
  struct GCJ {
    double gcjLat;
    double gcjLng;
  };
  struct WGS {
    double wgsLat;
    double wgsLng;
  };
  struct BD {
    double bdLat;
    double bdLng;
  };

  // WGS-84 to GCJ-02.
  [[nodiscard]] static GCJ wgs2gcj(double wgsLat, double wgsLng);
  // GCJ-02 to WGS-84 in one step (subtracts the offset computed at the GCJ point).
  [[nodiscard]] static WGS gcj2wgs(double gcjLat, double gcjLng);
  // GCJ-02 to WGS-84 by bisection, to within 0.000001 degrees (at most 30 steps). The
  // search box is centred on the one-step answer, so it holds the solution even where
  // the offset is larger than the box's half-width.
  [[nodiscard]] static WGS gcj2wgs_exact(double gcjLat, double gcjLng);
  // GCJ-02 to BD-09.
  [[nodiscard]] static BD gcj2bd(double gcjLat, double gcjLng);
  // BD-09 to GCJ-02.
  [[nodiscard]] static GCJ bd2gcj(double bdLat, double bdLng);
  // WGS-84 to BD-09 (through GCJ-02; each stage tests its own input against the box).
  [[nodiscard]] static BD wgs2bd(double wgsLat, double wgsLng);
  // BD-09 to WGS-84 (through GCJ-02 and the one-step inverse).
  [[nodiscard]] static WGS bd2wgs(double bdLat, double bdLng);

  // Great-circle distance in metres on a sphere of radius 6378137 m.
  [[nodiscard]] static double Distance(double latA, double lngA, double latB, double lngB);
};

}  // namespace kp
