#include "KPQuaslet/services/LocationTransform.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "KPQuaslet/services/CLLocation+KPExt.h"

namespace {

using kp::LocationTransform;

TEST(LocationTransform, PointsOutsideChinaPassThroughEveryConversion) {
  const double lat = 48.85, lng = 2.35;
  auto g = LocationTransform::wgs2gcj(lat, lng);
  EXPECT_EQ(g.gcjLat, lat);
  EXPECT_EQ(g.gcjLng, lng);
  auto w = LocationTransform::gcj2wgs(lat, lng);
  EXPECT_EQ(w.wgsLat, lat);
  EXPECT_EQ(w.wgsLng, lng);
  auto e = LocationTransform::gcj2wgs_exact(lat, lng);
  EXPECT_EQ(e.wgsLat, lat);
  EXPECT_EQ(e.wgsLng, lng);
  auto b = LocationTransform::gcj2bd(lat, lng);
  EXPECT_EQ(b.bdLat, lat);
  EXPECT_EQ(b.bdLng, lng);
  auto c = LocationTransform::bd2gcj(lat, lng);
  EXPECT_EQ(c.gcjLat, lat);
  EXPECT_EQ(c.gcjLng, lng);
  EXPECT_EQ(LocationTransform::wgs2bd(lat, lng).bdLng, lng);
  EXPECT_EQ(LocationTransform::bd2wgs(lat, lng).wgsLng, lng);
}

TEST(LocationTransform, TheBoxBoundsAreInside) {
  struct Row {
    double lat, lng;
    bool converted;
  };
  const Row rows[] = {
      {30.0, 72.004, true},   {30.0, 72.0039, false}, {30.0, 137.8347, true}, {30.0, 137.8348, false},
      {0.8293, 110.0, true},  {0.8292, 110.0, false}, {55.8271, 110.0, true}, {55.8272, 110.0, false},
  };
  for (const auto& row : rows) {
    auto g = LocationTransform::wgs2gcj(row.lat, row.lng);
    EXPECT_EQ(g.gcjLng != row.lng, row.converted) << row.lat << ", " << row.lng;
  }
}

TEST(LocationTransform, KnownValuesInBeijing) {
  auto g = LocationTransform::wgs2gcj(39.908, 116.397);
  EXPECT_NEAR(g.gcjLat, 39.90940337767001, 1e-12);
  EXPECT_NEAR(g.gcjLng, 116.40324348426597, 1e-12);
  auto b = LocationTransform::gcj2bd(g.gcjLat, g.gcjLng);
  EXPECT_NEAR(b.bdLat, 39.915506078327425, 1e-12);
  EXPECT_NEAR(b.bdLng, 116.40970233609688, 1e-12);
  auto direct = LocationTransform::wgs2bd(39.908, 116.397);
  EXPECT_EQ(direct.bdLat, b.bdLat);
  EXPECT_EQ(direct.bdLng, b.bdLng);
}

TEST(LocationTransform, InversesComeBackToTheStart) {
  const double points[][2] = {{39.908, 116.397}, {31.2304, 121.4737}, {22.5431, 114.0579}, {45.75, 126.63}};
  for (const auto& p : points) {
    auto g = LocationTransform::wgs2gcj(p[0], p[1]);
    auto exact = LocationTransform::gcj2wgs_exact(g.gcjLat, g.gcjLng);
    EXPECT_NEAR(exact.wgsLat, p[0], 2e-6);
    EXPECT_NEAR(exact.wgsLng, p[1], 2e-6);
    auto oneStep = LocationTransform::gcj2wgs(g.gcjLat, g.gcjLng);
    EXPECT_NEAR(oneStep.wgsLat, p[0], 5e-5);
    EXPECT_NEAR(oneStep.wgsLng, p[1], 5e-5);
    auto b = LocationTransform::gcj2bd(g.gcjLat, g.gcjLng);
    auto back = LocationTransform::bd2gcj(b.bdLat, b.bdLng);
    EXPECT_NEAR(back.gcjLat, g.gcjLat, 1e-7);
    EXPECT_NEAR(back.gcjLng, g.gcjLng, 1e-7);
  }
}

TEST(LocationTransform, ExactInverseFindsTheAnswerWhereTheOffsetIsLargest) {
  // In the north-east of the box the offset exceeds 0.01 degrees; a search box centred
  // on the GCJ point would end pressed against its edge, about 45 m off.
  auto g = LocationTransform::wgs2gcj(55.7971, 131.4469);
  ASSERT_GT(std::fabs(g.gcjLng - 131.4469), 0.01);
  auto exact = LocationTransform::gcj2wgs_exact(g.gcjLat, g.gcjLng);
  EXPECT_NEAR(exact.wgsLat, 55.7971, 2e-6);
  EXPECT_NEAR(exact.wgsLng, 131.4469, 2e-6);
}

TEST(LocationTransform, Distances) {
  EXPECT_NEAR(LocationTransform::Distance(39.908, 116.397, 31.2304, 121.4737), 1069285.338, 1e-3);
  EXPECT_NEAR(LocationTransform::Distance(0, 0, 0, 1), 111319.4908, 1e-4);
  // Rounding can put the cosine just above 1 for a point and itself; the clamp keeps
  // the answer a number (and a cosine rounded just below 1 stays within centimetres).
  for (double lat = -80; lat <= 80; lat += 7.3) {
    for (double lng = -170; lng <= 170; lng += 11.1) {
      const double d = LocationTransform::Distance(lat, lng, lat, lng);
      ASSERT_FALSE(std::isnan(d)) << lat << ", " << lng;
      ASSERT_LT(d, 0.5);
    }
  }
}

TEST(CLLocationKPExt, BearingsStayWithinZeroTo360) {
  const ios::CLLocation origin(0, 0);
  struct Row {
    ios::CLLocation to;
    double bearing;
  };
  const Row rows[] = {
      {ios::CLLocation(1, 0), 0}, {ios::CLLocation(0, 1), 90}, {ios::CLLocation(-1, 0), 180},
      {ios::CLLocation(0, -1), 270}, {ios::CLLocation(0, 0), 0},
  };
  for (const auto& row : rows) {
    EXPECT_NEAR(kp::bearing(origin, row.to), row.bearing, 1e-9);
  }
}

TEST(CLLocationKPExt, MidPointsAcrossTheAntimeridianAreNotNormalised) {
  const ios::CLLocation east(0, 170), west(0, -170);
  EXPECT_NEAR(kp::midLocation(east, west).coordinate().longitude, 180.0, 1e-9);
  EXPECT_NEAR(kp::midLocation(west, east).coordinate().longitude, -180.0, 1e-9);
  // Against the normalised sum of the two unit vectors.
  const double rad = M_PI / 180;
  auto unit = [&](double lat, double lng) {
    return std::array<double, 3>{std::cos(lat * rad) * std::cos(lng * rad), std::cos(lat * rad) * std::sin(lng * rad),
                                 std::sin(lat * rad)};
  };
  const auto a = unit(10, 20), b = unit(30, 40);
  const double x = a[0] + b[0], y = a[1] + b[1], z = a[2] + b[2];
  const auto mid = kp::midLocation(ios::CLLocation(10, 20), ios::CLLocation(30, 40));
  EXPECT_NEAR(mid.coordinate().latitude, std::atan2(z, std::hypot(x, y)) / rad, 1e-9);
  EXPECT_NEAR(mid.coordinate().longitude, std::atan2(y, x) / rad, 1e-9);
}

}  // namespace
