#pragma once

#include "constants.h"

// A 3-vector of reals.
class Vector3 {
 public:
  Vector3() = default;
  Vector3(Real x, Real y, Real z) : x(x), y(y), z(z) {}
  // The difference of two points given by their coordinates: a - b.
  Vector3(const Real* a, const Real* b) : x(a[0] - b[0]), y(a[1] - b[1]), z(a[2] - b[2]) {}

  Real norm() const;
  // Length of (this - o).
  Real distance(const Vector3& o) const;
  // Divides by the length; a zero vector is left unchanged with a message.
  void Normalize();
  // Dihedral angle (radians, range (-pi, pi]) of three successive bond
  // vectors this, b2, b3; 0 with a message when one of them has zero length.
  Real angle(const Vector3& b2, const Vector3& b3) const;

  Real x = 0.0, y = 0.0, z = 0.0;
  Real norma = 0.0;  // carried along, never read
};

Real norm(const Vector3& v);
Real dot(const Vector3& a, const Vector3& b);
Vector3 cross(const Vector3& a, const Vector3& b);
Vector3 mlt(const Vector3& v, Real s);
Vector3 subs(const Vector3& a, const Vector3& b);

Real operator*(const Vector3& a, const Vector3& b);     // scalar product
Vector3 operator%(const Vector3& a, const Vector3& b);  // vector product
Vector3 operator*(const Vector3& v, Real s);
Vector3 operator-(const Vector3& a, const Vector3& b);
Vector3 operator+(const Vector3& a, const Vector3& b);
// Angle between a and b in radians, arc cosine in single precision; 0 with a
// message when either has zero length.
Real operator^(const Vector3& a, const Vector3& b);

// Arc cosine of c clamped to [-1, 1], evaluated in single precision: the
// bond angles of the whole system carry this precision.
Real AcosSingle(Real c);
