#include "platform/quartzcore/CATransform3D.h"

#include <cmath>
#include <sstream>

#include "platform/foundation/Describe.h"

namespace ios {
namespace {

using Matrix = CGFloat[4][4];

void toArray(const CATransform3D& t, Matrix m) {
  const CGFloat values[16] = {t.m11, t.m12, t.m13, t.m14, t.m21, t.m22, t.m23, t.m24,
                              t.m31, t.m32, t.m33, t.m34, t.m41, t.m42, t.m43, t.m44};
  for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = values[i];
}

CATransform3D fromArray(const Matrix m) {
  return CATransform3D{m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3],
                       m[2][0], m[2][1], m[2][2], m[2][3], m[3][0], m[3][1], m[3][2], m[3][3]};
}

}  // namespace

CATransform3D CATransform3DConcat(const CATransform3D& a, const CATransform3D& b) {
  Matrix x, y, r;
  toArray(a, x);
  toArray(b, y);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      CGFloat sum = 0;
      for (int k = 0; k < 4; ++k) sum += x[i][k] * y[k][j];
      r[i][j] = sum;
    }
  }
  return fromArray(r);
}

CATransform3D CATransform3DMakeTranslation(CGFloat tx, CGFloat ty, CGFloat tz) {
  CATransform3D t;
  t.m41 = tx;
  t.m42 = ty;
  t.m43 = tz;
  return t;
}

CATransform3D CATransform3DMakeScale(CGFloat sx, CGFloat sy, CGFloat sz) {
  CATransform3D t;
  t.m11 = sx;
  t.m22 = sy;
  t.m33 = sz;
  return t;
}

CATransform3D CATransform3DMakeRotation(CGFloat angle, CGFloat x, CGFloat y, CGFloat z) {
  const CGFloat length = std::sqrt(x * x + y * y + z * z);
  if (length == 0 || angle == 0) return CATransform3DIdentity;
  x /= length;
  y /= length;
  z /= length;
  const CGFloat c = std::cos(angle);
  const CGFloat s = std::sin(angle);
  const CGFloat k = 1 - c;
  CATransform3D t;
  t.m11 = c + x * x * k;
  t.m12 = x * y * k + z * s;
  t.m13 = x * z * k - y * s;
  t.m21 = x * y * k - z * s;
  t.m22 = c + y * y * k;
  t.m23 = y * z * k + x * s;
  t.m31 = x * z * k + y * s;
  t.m32 = y * z * k - x * s;
  t.m33 = c + z * z * k;
  return t;
}

CATransform3D CATransform3DTranslate(const CATransform3D& t, CGFloat tx, CGFloat ty, CGFloat tz) {
  return CATransform3DConcat(CATransform3DMakeTranslation(tx, ty, tz), t);
}

CATransform3D CATransform3DScale(const CATransform3D& t, CGFloat sx, CGFloat sy, CGFloat sz) {
  return CATransform3DConcat(CATransform3DMakeScale(sx, sy, sz), t);
}

CATransform3D CATransform3DRotate(const CATransform3D& t, CGFloat angle, CGFloat x, CGFloat y, CGFloat z) {
  if (angle == 0 || (x == 0 && y == 0 && z == 0)) return t;
  return CATransform3DConcat(CATransform3DMakeRotation(angle, x, y, z), t);
}

CATransform3D CATransform3DInvert(const CATransform3D& t) {
  // Gauss-Jordan elimination with partial pivoting on [t | I].
  Matrix a, inv;
  toArray(t, a);
  toArray(CATransform3DIdentity, inv);
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int row = col + 1; row < 4; ++row) {
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
    }
    if (a[pivot][col] == 0) return t;
    for (int j = 0; j < 4; ++j) {
      std::swap(a[col][j], a[pivot][j]);
      std::swap(inv[col][j], inv[pivot][j]);
    }
    const CGFloat p = a[col][col];
    for (int j = 0; j < 4; ++j) {
      a[col][j] /= p;
      inv[col][j] /= p;
    }
    for (int row = 0; row < 4; ++row) {
      if (row == col) continue;
      const CGFloat f = a[row][col];
      if (f == 0) continue;
      for (int j = 0; j < 4; ++j) {
        a[row][j] -= f * a[col][j];
        inv[row][j] -= f * inv[col][j];
      }
    }
  }
  return fromArray(inv);
}

CATransform3D CATransform3DMakeAffineTransform(const CGAffineTransform& t) {
  CATransform3D r;
  r.m11 = t.a;
  r.m12 = t.b;
  r.m21 = t.c;
  r.m22 = t.d;
  r.m41 = t.tx;
  r.m42 = t.ty;
  return r;
}

bool CATransform3DIsAffine(const CATransform3D& t) {
  return t.m13 == 0 && t.m14 == 0 && t.m23 == 0 && t.m24 == 0 && t.m31 == 0 && t.m32 == 0 && t.m33 == 1 &&
         t.m34 == 0 && t.m43 == 0 && t.m44 == 1;
}

CGAffineTransform CATransform3DGetAffineTransform(const CATransform3D& t) {
  return CGAffineTransform(t.m11, t.m12, t.m21, t.m22, t.m41, t.m42);
}

CGPoint CATransform3DApplyToPoint(const CATransform3D& t, CGPoint p) {
  const CGFloat x = p.x * t.m11 + p.y * t.m21 + t.m41;
  const CGFloat y = p.x * t.m12 + p.y * t.m22 + t.m42;
  const CGFloat w = p.x * t.m14 + p.y * t.m24 + t.m44;
  if (w == 0 || w == 1) return CGPoint(x, y);
  return CGPoint(x / w, y / w);
}

std::string ios_describe(const CATransform3D& t) {
  const CGFloat v[16] = {t.m11, t.m12, t.m13, t.m14, t.m21, t.m22, t.m23, t.m24,
                         t.m31, t.m32, t.m33, t.m34, t.m41, t.m42, t.m43, t.m44};
  std::string out = "[";
  for (int i = 0; i < 16; ++i) {
    if (i > 0) out += (i % 4 == 0) ? "; " : " ";
    out += describeDouble(v[i]);
  }
  return out + "]";
}

std::ostream& operator<<(std::ostream& os, const CATransform3D& t) { return os << ios_describe(t); }

}  // namespace ios
