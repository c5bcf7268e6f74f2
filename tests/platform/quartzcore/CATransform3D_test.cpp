#include "platform/quartzcore/CATransform3D.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/Describe.h"

namespace {

using ios::CATransform3D;
using ios::CATransform3DIdentity;

void expectNear(const CATransform3D& a, const CATransform3D& b) {
  const double x[16] = {a.m11, a.m12, a.m13, a.m14, a.m21, a.m22, a.m23, a.m24,
                        a.m31, a.m32, a.m33, a.m34, a.m41, a.m42, a.m43, a.m44};
  const double y[16] = {b.m11, b.m12, b.m13, b.m14, b.m21, b.m22, b.m23, b.m24,
                        b.m31, b.m32, b.m33, b.m34, b.m41, b.m42, b.m43, b.m44};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(x[i], y[i], 1e-12) << "element " << i;
}

TEST(CATransform3D, RotationAboutZAgreesWithTheAffineRotation) {
  const CATransform3D r = ios::CATransform3DMakeRotation(0.3, 0, 0, 2);
  const ios::CGAffineTransform a = ios::CGAffineTransformMakeRotation(0.3);
  expectNear(r, ios::CATransform3DMakeAffineTransform(a));
  EXPECT_TRUE(ios::CATransform3DIsAffine(ios::CATransform3DMakeAffineTransform(a)));
}

TEST(CATransform3D, ZeroAngleOrAxisAnswersTheInputExactly) {
  CATransform3D p = CATransform3DIdentity;
  p.m34 = -0.001;
  EXPECT_EQ(ios::CATransform3DRotate(p, 0, 1, 0, 0), p);
  EXPECT_EQ(ios::CATransform3DRotate(p, 1.0, 0, 0, 0), p);
}

TEST(CATransform3D, StepsApplyBeforeTheTransform) {
  // Scale then translate: the point (1, 1) goes to (2, 3) then (12, 3).
  const CATransform3D t = ios::CATransform3DScale(ios::CATransform3DMakeTranslation(10, 0, 0), 2, 3, 1);
  const ios::CGPoint p = ios::CATransform3DApplyToPoint(t, {1, 1});
  EXPECT_EQ(p, ios::CGPoint(12, 3));
  // A scale keeps a perspective entry.
  CATransform3D persp = CATransform3DIdentity;
  persp.m34 = -0.001;
  EXPECT_EQ(ios::CATransform3DScale(persp, 2, 2, 1).m34, -0.001);
}

TEST(CATransform3D, ConcatAndInvert) {
  const CATransform3D a = ios::CATransform3DRotate(ios::CATransform3DMakeTranslation(3, 4, 5), 0.7, 1, 2, 3);
  expectNear(ios::CATransform3DConcat(a, ios::CATransform3DInvert(a)), CATransform3DIdentity);
  const CATransform3D singular = ios::CATransform3DMakeScale(0, 1, 1);
  EXPECT_EQ(ios::CATransform3DInvert(singular), singular);
}

TEST(CATransform3D, AffinePartRoundTrips) {
  const ios::CGAffineTransform a(1, 2, 3, 4, 5, 6);
  EXPECT_EQ(ios::CATransform3DGetAffineTransform(ios::CATransform3DMakeAffineTransform(a)), a);
  EXPECT_EQ(ios::describe(ios::CATransform3DMakeTranslation(1, 0, 0)),
            "[1.0 0.0 0.0 0.0; 0.0 1.0 0.0 0.0; 0.0 0.0 1.0 0.0; 1.0 0.0 0.0 1.0]");
}

}  // namespace
