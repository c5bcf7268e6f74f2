#include "platform/coregraphics/CGGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/Describe.h"

namespace {

using ios::CGAffineTransform;
using ios::CGPoint;
using ios::CGRect;
using ios::CGSize;

void expectRawRect(const CGRect& r, double x, double y, double w, double h) {
  EXPECT_EQ(r.origin.x, x);
  EXPECT_EQ(r.origin.y, y);
  EXPECT_EQ(r.size.width, w);
  EXPECT_EQ(r.size.height, h);
}

TEST(CGRect, StandardizedEdgesAndCentre) {
  const CGRect r(10, 10, -20, 30);
  expectRawRect(r.standardized(), -10, 10, 20, 30);
  EXPECT_EQ(r.width(), 20);
  EXPECT_EQ(r.minX(), -10);
  EXPECT_EQ(r.maxX(), 10);
  EXPECT_EQ(r.midX(), 0);
  EXPECT_EQ(r.minY(), 10);
  EXPECT_EQ(r.midY(), 25);
  EXPECT_EQ(r.maxY(), 40);
  EXPECT_EQ(r, CGRect(-10, 10, 20, 30));  // == compares standardized rectangles
  EXPECT_NE(r, CGRect(10, 10, 20, 30));
}

TEST(CGRect, NullEmptyAndInfinite) {
  EXPECT_TRUE(CGRect::null.isNull());
  EXPECT_TRUE(CGRect::null.isEmpty());
  EXPECT_TRUE(CGRect(0, 0, 0, 5).isEmpty());
  EXPECT_FALSE(CGRect(0, 0, -1, 5).isEmpty());
  EXPECT_FALSE(CGRect::zero.isNull());
  EXPECT_TRUE(CGRect::infinite.isInfinite());
  EXPECT_TRUE(CGRect::infinite.contains(CGPoint(1e300, -1e300)));
  EXPECT_EQ(CGRect::null, CGRect::null);
  EXPECT_NE(CGRect::null, CGRect::zero);
}

TEST(CGRect, InsetAndOffset) {
  expectRawRect(CGRect(0, 0, 10, 10).insetBy(2, 3), 2, 3, 6, 4);
  expectRawRect(CGRect(0, 0, 10, 10).insetBy(-1, -1), -1, -1, 12, 12);
  expectRawRect(CGRect(10, 0, -10, 10).insetBy(1, 1), 1, 1, 8, 8);
  EXPECT_TRUE(CGRect(0, 0, 10, 10).insetBy(6, 0).isNull());
  EXPECT_TRUE(CGRect::null.insetBy(-5, -5).isNull());
  expectRawRect(CGRect(0, 0, -10, 10).offsetBy(5, 5), -5, 5, 10, 10);
  EXPECT_TRUE(CGRect::null.offsetBy(1, 1).isNull());
}

TEST(CGRect, IntersectionAndUnion) {
  const CGRect a(0, 0, 10, 10);
  expectRawRect(a.intersection(CGRect(5, 5, 10, 10)), 5, 5, 5, 5);
  expectRawRect(a.intersection(CGRect(10, 0, 5, 5)), 10, 0, 0, 5);  // a shared edge
  EXPECT_TRUE(a.intersects(CGRect(10, 0, 5, 5)));
  EXPECT_TRUE(a.intersection(CGRect(11, 0, 5, 5)).isNull());
  EXPECT_FALSE(a.intersects(CGRect(11, 0, 5, 5)));
  EXPECT_TRUE(a.intersection(CGRect::null).isNull());
  expectRawRect(a.union_(CGRect(20, -5, 5, 5)), 0, -5, 25, 15);
  expectRawRect(a.union_(CGRect::null), 0, 0, 10, 10);
  expectRawRect(CGRect::null.union_(CGRect(5, 5, -5, -5)), 0, 0, 5, 5);
}

TEST(CGRect, ContainsPointsHalfOpenAndRectsInclusive) {
  const CGRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.contains(CGPoint(0, 0)));
  EXPECT_TRUE(r.contains(CGPoint(9.99, 9.99)));
  EXPECT_FALSE(r.contains(CGPoint(10, 5)));
  EXPECT_FALSE(r.contains(CGPoint(5, 10)));
  EXPECT_TRUE(r.contains(CGRect(0, 0, 10, 10)));
  EXPECT_TRUE(r.contains(CGRect(2, 2, 0, 0)));
  EXPECT_FALSE(r.contains(CGRect(5, 5, 6, 1)));
  EXPECT_FALSE(r.contains(CGRect::null));
  EXPECT_FALSE(CGRect::null.contains(CGPoint(0, 0)));
}

TEST(CGRect, Integral) {
  expectRawRect(CGRect(0.5, 1.2, 10.2, 3.3).integral(), 0, 1, 11, 4);
  expectRawRect(CGRect(-0.5, -0.5, 1, 1).integral(), -1, -1, 2, 2);
  EXPECT_TRUE(CGRect::null.integral().isNull());
}

TEST(CGAffineTransform, ApplyingToPointsSizesAndRects) {
  const auto translate = ios::CGAffineTransformMakeTranslation(10, 20);
  const auto scale = ios::CGAffineTransformMakeScale(2, 3);
  EXPECT_EQ(CGPoint(1, 1).applying(translate), CGPoint(11, 21));
  EXPECT_EQ(CGSize(1, 1).applying(translate), CGSize(1, 1));  // no translation for sizes
  EXPECT_EQ(CGSize(1, 1).applying(scale), CGSize(2, 3));
  // scale first, then translate
  EXPECT_EQ(CGPoint(1, 1).applying(scale.concatenating(translate)), CGPoint(12, 23));
  // translatedBy puts the translation before the receiver
  EXPECT_EQ(CGPoint(1, 1).applying(scale.translatedBy(10, 20)), CGPoint(22, 63));
  const auto quarter = ios::CGAffineTransformMakeRotation(std::acos(-1.0) / 2);
  const CGPoint turned = CGPoint(1, 0).applying(quarter);
  EXPECT_NEAR(turned.x, 0, 1e-15);
  EXPECT_NEAR(turned.y, 1, 1e-15);
  const CGRect box = CGRect(0, 0, 2, 1).applying(quarter);
  EXPECT_NEAR(box.origin.x, -1, 1e-15);
  EXPECT_NEAR(box.size.width, 1, 1e-15);
  EXPECT_NEAR(box.size.height, 2, 1e-15);
  EXPECT_TRUE(CGRect::null.applying(scale).isNull());
}

TEST(CGAffineTransform, InvertedUndoesAndSingularStaysPut) {
  const auto t = ios::CGAffineTransformMakeScale(2, 4).translatedBy(3, -1);
  const auto round = t.concatenating(t.inverted());
  EXPECT_TRUE(round.isIdentity()) << round;
  const CGAffineTransform singular(1, 2, 2, 4, 5, 6);
  EXPECT_EQ(singular.inverted(), singular);
  EXPECT_EQ(CGAffineTransform::identity.scaledBy(2, 2), ios::CGAffineTransformMakeScale(2, 2));
}

TEST(CGGeometryText, WritesTheBraceForms) {
  EXPECT_EQ(ios::NSStringFromCGRect(CGRect(0, 0, 100, 50)), "{{0, 0}, {100, 50}}");
  EXPECT_EQ(ios::NSStringFromCGRect(CGRect(-1.5, 0.1, 1e20, 2)), "{{-1.5, 0.1}, {1e+20, 2}}");
  EXPECT_EQ(ios::NSStringFromCGPoint(CGPoint(3, 4)), "{3, 4}");
  EXPECT_EQ(ios::NSStringFromCGSize(CGSize(0.25, -7)), "{0.25, -7}");
  EXPECT_EQ(ios::NSStringFromCGVector(ios::CGVector(1, 2)), "{1, 2}");
  EXPECT_EQ(ios::NSStringFromCGAffineTransform(CGAffineTransform::identity), "[1, 0, 0, 1, 0, 0]");
  EXPECT_EQ(ios::describe(CGRect(0, 0, 10, 10)), "(0.0, 0.0, 10.0, 10.0)");
  EXPECT_EQ(ios::describe(CGPoint(1, 2.5)), "(1.0, 2.5)");
}

TEST(CGGeometryText, ReadsTheBraceFormsAllOrNothing) {
  struct Row {
    const char* text;
    CGRect expected;
  };
  const Row rows[] = {
      {"{{0, 0}, {100, 50}}", CGRect(0, 0, 100, 50)},
      {"{{1,2},{3,4}}", CGRect(1, 2, 3, 4)},
      {"  { { -1.5 , +2 } ,\t{ 1e2,  .5 } }  ", CGRect(-1.5, 2, 100, 0.5)},
      {"{{0, 0}, { 100,  50}}", CGRect(0, 0, 100, 50)},
      {"{{1, 2}, {3, 4}} x", CGRect::zero},
      {"{{1, 2}, {3}}", CGRect::zero},
      {"{{1, 2}, {3, 4}", CGRect::zero},
      {"{1, 2, 3, 4}", CGRect::zero},
      {"", CGRect::zero},
      {"{{a, 2}, {3, 4}}", CGRect::zero},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const CGRect r = ios::CGRectFromString(row.text);
    expectRawRect(r, row.expected.origin.x, row.expected.origin.y, row.expected.size.width,
                  row.expected.size.height);
  }
  EXPECT_EQ(ios::CGPointFromString("{3,4}"), CGPoint(3, 4));
  EXPECT_EQ(ios::CGPointFromString(" { 3 , -4 } "), CGPoint(3, -4));
  EXPECT_EQ(ios::CGPointFromString("{3}"), CGPoint::zero);
  EXPECT_EQ(ios::CGPointFromString("3,4"), CGPoint::zero);
  EXPECT_EQ(ios::CGSizeFromString("{320, 480}"), CGSize(320, 480));
  EXPECT_EQ(ios::CGVectorFromString("{1, -1}"), ios::CGVector(1, -1));
}

TEST(CGGeometryText, RoundTrips) {
  const CGRect values[] = {CGRect(0.1, -0.2, 1.0 / 3, 1e-9), CGRect(-1e300, 5e-324, 12345.678, 0)};
  for (const CGRect& r : values) {
    const CGRect back = ios::CGRectFromString(ios::NSStringFromCGRect(r));
    expectRawRect(back, r.origin.x, r.origin.y, r.size.width, r.size.height);
  }
}

}  // namespace
