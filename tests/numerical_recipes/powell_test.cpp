#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "numerical_recipes/nrutil_nr.h"

namespace {

Mat_DP Identity(int n) {
  Mat_DP xi(0.0, n, n);
  for (int i = 0; i < n; ++i) xi[i][i] = 1.0;
  return xi;
}

Vec_DP Point(std::initializer_list<double> x) {
  const std::vector<double> v(x);
  return Vec_DP(v.data(), static_cast<int>(v.size()));
}

struct Outcome {
  Vec_DP p;
  Mat_DP xi;
  int iter = -1;
  double fret = 0.0;
};

// Powell's method from start along the coordinate directions.
Outcome Minimise(const Vec_DP& start, double ftol, int itmax, NR::VecFunction func) {
  Outcome r{start, Identity(start.size())};
  NR::powell(r.p, r.xi, ftol, itmax, r.iter, r.fret, func);
  return r;
}

// Coupled bowl with its minimum 4 at (1, -2, 0.5).
double Bowl(Vec_I_DP& x) {
  const double a = x[0] - 1.0, b = x[1] + 2.0, c = x[2] - 0.5;
  return 3.0 * a * a + b * b + 2.0 * c * c + a * b + 0.5 * b * c + 4.0;
}
// Curved narrow valley with its minimum at (1, 1).
double Valley(Vec_I_DP& x) {
  const double a = x[1] - x[0] * x[0], b = 1.0 - x[0];
  return 100.0 * a * a + b * b;
}
double FarAway(Vec_I_DP& x) { return (x[0] - 10.0) * (x[0] - 10.0); }
// Tilted valley: coordinate directions alone converge slowly.
double Tilted(Vec_I_DP& x) {
  const double u = x[0] - x[1], v = x[0] + x[1] - 2.0;
  return u * u + 0.1 * v * v;
}
double Downhill(Vec_I_DP& x) { return -x[0] - x[1]; }
double Constant(Vec_I_DP& x) { return 7.0 + x.size(); }

TEST(Powell, QuadraticBowl) {
  const Outcome r = Minimise(Point({0.0, 0.0, 0.0}), 1e-10, 200, Bowl);
  EXPECT_NEAR(r.p[0], 1.0, 1e-5);
  EXPECT_NEAR(r.p[1], -2.0, 1e-5);
  EXPECT_NEAR(r.p[2], 0.5, 1e-5);
  EXPECT_NEAR(r.fret, 4.0, 1e-9);
  EXPECT_DOUBLE_EQ(r.fret, Bowl(r.p));
  EXPECT_GE(r.iter, 1);
  EXPECT_LT(r.iter, 200);
}

TEST(Powell, NarrowCurvedValley) {
  const Outcome r = Minimise(Point({-1.2, 1.0}), 1e-12, 10000, Valley);
  EXPECT_NEAR(r.p[0], 1.0, 1e-5);
  EXPECT_NEAR(r.p[1], 1.0, 1e-5);
  EXPECT_LT(r.fret, 1e-10);
  EXPECT_LT(r.iter, 10000);
}

TEST(Powell, ItmaxZeroMakesExactlyOneSweep) {
  const Outcome r = Minimise(Point({3.0, -1.0}), 1e-12, 0, Tilted);
  EXPECT_EQ(r.iter, 0);

  // One line minimisation along each direction, in order, and nothing else.
  Vec_DP q = Point({3.0, -1.0});
  double f = 0.0;
  for (int i = 0; i < 2; ++i) {
    Vec_DP d(0.0, 2);
    d[i] = 1.0;
    NR::linmin(q, d, f, Tilted);
  }
  EXPECT_EQ(r.p[0], q[0]);
  EXPECT_EQ(r.p[1], q[1]);
  EXPECT_EQ(r.fret, f);
  // The directions are left as they were.
  EXPECT_EQ(r.xi[0][0], 1.0);
  EXPECT_EQ(r.xi[0][1], 0.0);
  EXPECT_EQ(r.xi[1][0], 0.0);
  EXPECT_EQ(r.xi[1][1], 1.0);
}

TEST(Powell, ItmaxEndsTheSearchWithoutAnError) {
  // Unbounded below: never converges; sweeps 0 .. 3 are made.
  const Outcome r = Minimise(Point({0.0, 0.0}), 1e-9, 3, Downhill);
  EXPECT_EQ(r.iter, 3);
  EXPECT_LT(r.fret, -20.0);
  EXPECT_DOUBLE_EQ(r.fret, Downhill(r.p));
}

TEST(Powell, MinimumBeyondTheLineWindowIsReachedOverSeveralSweeps) {
  const Outcome one = Minimise(Point({0.0}), 1e-12, 0, FarAway);
  EXPECT_NEAR(one.p[0], 2.0, 1e-7);  // one line minimisation: at most 2 * xi

  const Outcome r = Minimise(Point({0.0}), 1e-12, 100, FarAway);
  EXPECT_NEAR(r.p[0], 10.0, 1e-6);
  EXPECT_GE(r.iter, 1);
  EXPECT_NEAR(r.fret, 0.0, 1e-10);
}

TEST(Powell, MoveOfASweepBecomesTheLastDirection) {
  // Where the first sweep ended.
  const Outcome first = Minimise(Point({2.5, 1.5}), 1e-12, 0, Tilted);
  const double mx = first.p[0] - 2.5, my = first.p[1] - 1.5;

  // With a second sweep allowed, the directions are those left after the
  // first: the coordinate direction that did not give the largest decrease,
  // and a multiple of the first sweep's move.
  const Outcome r = Minimise(Point({2.5, 1.5}), 1e-12, 1, Tilted);
  EXPECT_EQ(r.iter, 1);
  EXPECT_EQ(std::fabs(r.xi[0][0]) + std::fabs(r.xi[1][0]), 1.0);
  EXPECT_EQ(r.xi[0][0] * r.xi[1][0], 0.0);
  const double dx = r.xi[0][1], dy = r.xi[1][1];
  EXPECT_GT(std::hypot(dx, dy), 1e-3);
  EXPECT_NEAR(dx * my - dy * mx, 0.0, 1e-9);
}

TEST(Powell, EmptyPointConvergesAtOnce) {
  const Outcome r = Minimise(Vec_DP(), 1e-9, 10, Constant);
  EXPECT_EQ(r.iter, 0);
  EXPECT_EQ(r.fret, 7.0);
}

TEST(Powell, DirectionSetOfAnotherShapeIsRefused) {
  Vec_DP p(0.0, 3);
  Mat_DP xi = Identity(2);
  int iter = 0;
  double fret = 0.0;
  EXPECT_THROW(NR::powell(p, xi, 1e-9, 10, iter, fret, Bowl), std::invalid_argument);
}

}  // namespace
