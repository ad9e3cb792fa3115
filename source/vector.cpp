#include "vector.h"

#include <cmath>
#include <cstdio>

Real Vector3::norm() const { return std::sqrt(x * x + y * y + z * z); }

Real Vector3::distance(const Vector3& o) const { return (*this - o).norm(); }

void Vector3::Normalize() {
  const Real n = norm();
  if (n > Const::Tiny) {
    x /= n;
    y /= n;
    z /= n;
  } else {
    std::fprintf(stderr, "$ err normalization of a vector with the zero norm was requested\n");
  }
}

Real Vector3::angle(const Vector3& b2, const Vector3& b3) const {
  const Vector3& b1 = *this;
  if (b1.norm() <= Const::Tiny || b2.norm() <= Const::Tiny || b3.norm() <= Const::Tiny) {
    std::fprintf(stderr, "$ err dihe angle was requested between vectors with zero length\n");
    return 0.0;
  }
  const Vector3 n1 = b1 % b2;
  const Vector3 n2 = b2 % b3;
  return std::atan2(b2.norm() * (b1 * n2), n1 * n2);
}

Real norm(const Vector3& v) { return v.norm(); }
Real dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vector3 mlt(const Vector3& v, Real s) { return {v.x * s, v.y * s, v.z * s}; }
Vector3 subs(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Real operator*(const Vector3& a, const Vector3& b) { return dot(a, b); }
Vector3 operator%(const Vector3& a, const Vector3& b) { return cross(a, b); }
Vector3 operator*(const Vector3& v, Real s) { return mlt(v, s); }
Vector3 operator-(const Vector3& a, const Vector3& b) { return subs(a, b); }
Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Real AcosSingle(Real c) {
  float f = static_cast<float>(c);
  if (f > 1.0f) f = 1.0f;
  if (f < -1.0f) f = -1.0f;
  return static_cast<Real>(std::acos(f));
}

Real operator^(const Vector3& a, const Vector3& b) {
  const Real na = a.norm(), nb = b.norm();
  if (na <= Const::Tiny || nb <= Const::Tiny) {
    std::fprintf(stderr, "$ err angle between two vectors with zero length was requested\n");
    return 0.0;
  }
  const Real c = (a * b) / (na * nb);
  if (c > 1.0) return 0.0;
  if (c < -1.0) return Const::PI;
  return AcosSingle(c);
}
