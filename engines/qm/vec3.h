#pragma once

#include <cmath>

// A point or direction in space, in the units of its caller.
struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }
inline double Distance(const Vec3& a, const Vec3& b) { return Norm(a - b); }

constexpr double kPi = 3.14159265358979323846;
constexpr double kBohrInAngstrom = 0.52917721067;
constexpr double kDebyePerAu = 2.541746473;

// Angle a-b-c in degrees.
inline double AngleDeg(const Vec3& a, const Vec3& b, const Vec3& c) {
  const Vec3 u = a - b, v = c - b;
  double cosine = Dot(u, v) / (Norm(u) * Norm(v));
  cosine = cosine > 1 ? 1 : (cosine < -1 ? -1 : cosine);
  return std::acos(cosine) * 180.0 / kPi;
}

// Dihedral angle a-b-c-d in degrees, in (-180, 180].
inline double DihedralDeg(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
  const Vec3 b1 = b - a, b2 = c - b, b3 = d - c;
  const double y = Norm(b2) * Dot(b1, Cross(b2, b3));
  const double x = Dot(Cross(b1, b2), Cross(b2, b3));
  return std::atan2(y, x) * 180.0 / kPi;
}
