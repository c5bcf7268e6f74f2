#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "KPQuaslet/values/CGOperators.h"
#include "KPQuaslet/values/CGPoint+KPExt.h"
#include "KPQuaslet/values/CGRect+KPExt.h"
#include "KPQuaslet/values/CGSize+KPExt.h"

namespace {

using ios::CGFloat;
using ios::CGPoint;
using ios::CGRect;
using ios::CGSize;
using ios::CGVector;

// The operators answer the left side's type.
static_assert(std::is_same_v<decltype(CGPoint() + CGSize()), CGPoint>);
static_assert(std::is_same_v<decltype(CGSize() + CGPoint()), CGSize>);
static_assert(std::is_same_v<decltype(CGVector() - CGPoint()), CGVector>);
static_assert(std::is_same_v<decltype(CGVector() * 2), CGVector>);
static_assert(std::is_same_v<decltype(2 * CGPoint()), CGPoint>);
static_assert(std::is_same_v<decltype(CGSize() * CGSize()), CGSize>);
// Everything is usable in constant expressions, so it inlines.
static_assert(CGPoint(1, 2) + CGSize(3, 4) == CGPoint(4, 6));
static_assert(kp::right(CGRect(10, 10, 20, 20)) == 30);

void expectRawRect(const CGRect& r, double x, double y, double w, double h) {
  EXPECT_EQ(r.origin.x, x);
  EXPECT_EQ(r.origin.y, y);
  EXPECT_EQ(r.size.width, w);
  EXPECT_EQ(r.size.height, h);
}

TEST(CGOperators, VectorArithmetic) {
  EXPECT_EQ(CGPoint(1, 2) + CGSize(3, 4), CGPoint(4, 6));
  EXPECT_EQ(CGSize(3, 4) + CGPoint(1, 2), CGSize(4, 6));
  EXPECT_EQ(CGVector(2, 4) / 2, CGVector(1, 2));
  EXPECT_EQ(CGVector(2, 4) * 0.5, CGVector(1, 2));
  EXPECT_EQ(CGVector(5, 5) - CGSize(1, 2), CGVector(4, 3));
  EXPECT_EQ(CGPoint(1, 2) - CGPoint(3, 5), CGPoint(-2, -3));
  EXPECT_EQ(CGPoint(1, 2) * 3, CGPoint(3, 6));
  EXPECT_EQ(3 * CGPoint(1, 2), CGPoint(3, 6));
  EXPECT_EQ(CGSize(2, 3) * CGSize(4, 5), CGSize(8, 15));
  EXPECT_EQ(0.5 * CGSize(2, 3), CGSize(1, 1.5));
  EXPECT_EQ(CGSize(2, 3) / 2, CGSize(1, 1.5));  // the shared division
  EXPECT_EQ(kp::components(CGSize(7, 8)), (kp::CGVectorComponents{7, 8}));
  EXPECT_EQ(kp::makeVector<CGVector>({7, 8}), CGVector(7, 8));
}

TEST(CGOperators, CompoundAssignment) {
  CGPoint p(1, 1);
  p += CGPoint(2, 3);
  p -= CGPoint(1, 1);
  p *= 2;
  EXPECT_EQ(p, CGPoint(4, 6));
  CGSize s(2, 3);
  s += CGSize(1, 1);
  s -= CGSize(1, 2);
  s *= CGSize(3, 4);
  s *= 0.5;
  EXPECT_EQ(s, CGSize(3, 4));
}

TEST(CGOperators, DivisionByZeroFollowsFloatingPoint) {
  const CGVector v = CGVector(1, -1) / 0;
  EXPECT_EQ(v.dx, std::numeric_limits<CGFloat>::infinity());
  EXPECT_EQ(v.dy, -std::numeric_limits<CGFloat>::infinity());
  EXPECT_TRUE(std::isnan((CGPoint(0, 0) / 0).x));
}

TEST(CGRectKPExt, AccessorsMoveTheOriginAndKeepTheSize) {
  struct Row {
    const char* name;
    void (*set)(CGRect&);
    CGRect expected;
  };
  const Row rows[] = {
      {"left", [](CGRect& r) { kp::setLeft(r, 5); }, CGRect(5, 10, 20, 20)},
      {"top", [](CGRect& r) { kp::setTop(r, 5); }, CGRect(10, 5, 20, 20)},
      {"right", [](CGRect& r) { kp::setRight(r, 50); }, CGRect(30, 10, 20, 20)},
      {"bottom", [](CGRect& r) { kp::setBottom(r, 50); }, CGRect(10, 30, 20, 20)},
      {"centerX", [](CGRect& r) { kp::setCenterX(r, 0); }, CGRect(-10, 10, 20, 20)},
      {"centerY", [](CGRect& r) { kp::setCenterY(r, 0); }, CGRect(10, -10, 20, 20)},
      {"center", [](CGRect& r) { kp::setCenter(r, CGPoint(0, 0)); }, CGRect(-10, -10, 20, 20)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CGRect r(10, 10, 20, 20);
    row.set(r);
    expectRawRect(r, row.expected.origin.x, row.expected.origin.y, row.expected.size.width,
                  row.expected.size.height);
  }
  const CGRect r(10, 10, 20, 40);
  EXPECT_EQ(kp::left(r), 10);
  EXPECT_EQ(kp::top(r), 10);
  EXPECT_EQ(kp::right(r), 30);
  EXPECT_EQ(kp::bottom(r), 50);
  EXPECT_EQ(kp::centerX(r), 20);
  EXPECT_EQ(kp::centerY(r), 30);
  EXPECT_EQ(kp::center(r), CGPoint(20, 30));
}

TEST(CGRectKPExt, NegativeSizesAreNotStandardized) {
  CGRect r(10, 10, -20, 20);
  EXPECT_EQ(kp::right(r), -10);
  EXPECT_EQ(kp::centerX(r), 0);
  kp::setRight(r, -10);
  expectRawRect(r, 10, 10, -20, 20);
  kp::setRight(r, 0);
  expectRawRect(r, 20, 10, -20, 20);
}

TEST(CGRectKPExt, RectangleLiterals) {
  struct Row {
    const char* text;
    CGRect expected;
  };
  const Row rows[] = {
      {"0,0,100,50", CGRect(0, 0, 100, 50)},
      {"0, 0, 100, 50", CGRect(0, 0, 100, 50)},
      {"-1.5,2,3e1,4", CGRect(-1.5, 2, 30, 4)},
      {"{{1,2},{3,4}}", CGRect(1, 2, 3, 4)},
      {"{{1, 2}, {3, 4}}", CGRect(1, 2, 3, 4)},
      {"{1,2,3,4}", CGRect::zero},  // a brace goes to the parser unchanged
      {"1,2,3", CGRect::zero},
      {"1,2,3,4,5", CGRect::zero},
      {",1,2,3,4", CGRect::zero},
      {"1,,2,3", CGRect::zero},
      {"a,b,c,d", CGRect::zero},
      {"", CGRect::zero},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    expectRawRect(kp::makeRect(row.text), row.expected.origin.x, row.expected.origin.y, row.expected.size.width,
                  row.expected.size.height);
  }
  using namespace kp::literals;
  expectRawRect("0,0,320,480"_rect, 0, 0, 320, 480);
}

TEST(CGPointKPExt, PointLiteralsAndDistance) {
  EXPECT_EQ(kp::makePoint("3,4"), CGPoint(3, 4));
  EXPECT_EQ(kp::makePoint("3, -4"), CGPoint(3, -4));
  EXPECT_EQ(kp::makePoint("{3,4}"), CGPoint(3, 4));
  EXPECT_EQ(kp::makePoint("abc"), CGPoint::zero);
  EXPECT_EQ(kp::makePoint("3"), CGPoint::zero);
  EXPECT_EQ(kp::makePoint(""), CGPoint::zero);
  using namespace kp::literals;
  EXPECT_EQ("{1.5, 2}"_point, CGPoint(1.5, 2));

  EXPECT_EQ(kp::distance(CGPoint(0, 0), CGPoint(3, 4)), 5);
  EXPECT_EQ(kp::distance(CGPoint(3, 4), CGPoint(0, 0)), 5);
  EXPECT_EQ(kp::distance(CGPoint(-1, -1), CGPoint(-1, -1)), 0);
}

TEST(CGSizeKPExt, AspectFitAndFill) {
  struct Row {
    CGSize size, bounds, fit, fill;
  };
  const Row rows[] = {
      {{200, 100}, {100, 100}, {100, 50}, {100, 100}},
      {{100, 200}, {100, 100}, {50, 100}, {100, 100}},
      {{100, 50}, {50, 50}, {50, 25}, {50, 50}},
      {{10, 10}, {40, 20}, {20, 20}, {40, 20}},
      {{50, 50}, {50, 50}, {50, 50}, {50, 50}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ios::NSStringFromCGSize(row.size) + " in " + ios::NSStringFromCGSize(row.bounds));
    EXPECT_EQ(kp::aspectFit(row.size, row.bounds), row.fit);
    EXPECT_EQ(kp::aspectFill(row.size, row.bounds), row.fill);
  }
}

TEST(CGSizeKPExt, ZeroSizesGiveNaNAndInfinity) {
  const CGSize fit = kp::aspectFit(CGSize(0, 0), CGSize(100, 100));
  EXPECT_TRUE(std::isnan(fit.width));
  EXPECT_TRUE(std::isnan(fit.height));
  // The clamp keeps a NaN side rather than answering the bound.
  const CGSize fill = kp::aspectFill(CGSize(0, 0), CGSize(100, 100));
  EXPECT_TRUE(std::isnan(fill.width));
  EXPECT_TRUE(std::isnan(fill.height));
  const CGSize flat = kp::aspectFit(CGSize(10, 0), CGSize(100, 100));
  EXPECT_EQ(flat, CGSize(100, 0));
}

}  // namespace
