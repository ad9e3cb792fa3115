#include "geometry.h"

#include <cmath>
#include <stdexcept>

namespace mm {

namespace {

constexpr double kPi = 3.14159265358979323846;

Point Sub(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point Cross(const Point& a, const Point& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Largest eigenvalue of a symmetric 4x4 matrix by cyclic Jacobi rotations.
double LargestEigenvalue(double a[4][4]) {
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0;
    for (int p = 0; p < 4; ++p)
      for (int q = p + 1; q < 4; ++q) off += a[p][q] * a[p][q];
    if (off < 1e-30) break;
    for (int p = 0; p < 4; ++p)
      for (int q = p + 1; q < 4; ++q) {
        if (std::fabs(a[p][q]) < 1e-300) continue;
        const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (int k = 0; k < 4; ++k) {
          const double akp = a[k][p], akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (int k = 0; k < 4; ++k) {
          const double apk = a[p][k], aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
      }
  }
  double best = a[0][0];
  for (int k = 1; k < 4; ++k) best = std::max(best, a[k][k]);
  return best;
}

}  // namespace

double Distance(const Point& a, const Point& b) {
  const Point d = Sub(a, b);
  return std::sqrt(Dot(d, d));
}

double AngleDeg(const Point& a, const Point& b, const Point& c) {
  const Point u = Sub(a, b), v = Sub(c, b);
  double cosine = Dot(u, v) / std::sqrt(Dot(u, u) * Dot(v, v));
  cosine = std::max(-1.0, std::min(1.0, cosine));
  return std::acos(cosine) * 180.0 / kPi;
}

double DihedralDeg(const Point& a, const Point& b, const Point& c, const Point& d) {
  const Point b1 = Sub(b, a), b2 = Sub(c, b), b3 = Sub(d, c);
  const Point n1 = Cross(b1, b2), n2 = Cross(b2, b3);
  const double x = Dot(n1, n2);
  const double y = Dot(Cross(n1, n2), b2) / std::sqrt(Dot(b2, b2));
  return std::atan2(y, x) * 180.0 / kPi;
}

double InternalCoordinate(const Coords& c, const std::vector<int>& at) {
  switch (at.size()) {
    case 2: return Distance(c[at[0]], c[at[1]]);
    case 3: return AngleDeg(c[at[0]], c[at[1]], c[at[2]]);
    case 4: return DihedralDeg(c[at[0]], c[at[1]], c[at[2]], c[at[3]]);
    default: throw std::invalid_argument("a coordinate needs 2, 3 or 4 atoms");
  }
}

double WrapDeg(double d) {
  d = std::fmod(d, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// Quaternion superposition: the least-squares RMSD follows from the largest
// eigenvalue of the 4x4 key matrix built from the correlation of the
// centred structures.
double RmsdSuperposed(const Coords& a, const Coords& b) {
  const std::size_t n = a.size();
  if (n == 0 || b.size() != n) throw std::invalid_argument("structures of different size");
  Point ca{0, 0, 0}, cb{0, 0, 0};
  for (std::size_t i = 0; i < n; ++i)
    for (int k = 0; k < 3; ++k) {
      ca[k] += a[i][k] / n;
      cb[k] += b[i][k] / n;
    }
  double r[3][3] = {};
  double ga = 0, gb = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Point x = Sub(a[i], ca), y = Sub(b[i], cb);
    ga += Dot(x, x);
    gb += Dot(y, y);
    for (int p = 0; p < 3; ++p)
      for (int q = 0; q < 3; ++q) r[p][q] += x[p] * y[q];
  }
  double f[4][4] = {
      {r[0][0] + r[1][1] + r[2][2], r[1][2] - r[2][1], r[2][0] - r[0][2], r[0][1] - r[1][0]},
      {r[1][2] - r[2][1], r[0][0] - r[1][1] - r[2][2], r[0][1] + r[1][0], r[0][2] + r[2][0]},
      {r[2][0] - r[0][2], r[0][1] + r[1][0], -r[0][0] + r[1][1] - r[2][2], r[1][2] + r[2][1]},
      {r[0][1] - r[1][0], r[0][2] + r[2][0], r[1][2] + r[2][1], -r[0][0] - r[1][1] + r[2][2]}};
  const double lambda = LargestEigenvalue(f);
  const double msd = (ga + gb - 2 * lambda) / n;
  return std::sqrt(std::max(0.0, msd));
}

}  // namespace mm
