#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "numerical_recipes/nrutil_nr.h"

namespace {

struct Outcome {
  Vec_DP p;
  Mat_DP xi;
  int iter = -1;
  double fret = 0.0;
};

// Powell's method from the origin of n dimensions along the coordinate directions.
Outcome Minimise(int n, double ftol, int itmax, NR::VecFunction func) {
  Outcome r{Vec_DP(0.0, n), Mat_DP(0.0, n, n)};
  for (int i = 0; i < n; ++i) r.xi[i][i] = 1.0;
  NR::powell(r.p, r.xi, ftol, itmax, r.iter, r.fret, func);
  return r;
}

// Coupled bowl with its minimum 4 at (1, -2, 0.5).
double Bowl(Vec_I_DP& x) {
  const double a = x[0] - 1.0, b = x[1] + 2.0, c = x[2] - 0.5;
  return 3.0 * a * a + b * b + 2.0 * c * c + a * b + 0.5 * b * c + 4.0;
}
double Downhill(Vec_I_DP& x) { return -x[0] - x[1]; }
// A curved narrow valley with its minimum 0 at (1, 1).
double Valley(Vec_I_DP& x) {
  const double a = 1.0 - x[0], b = x[1] - x[0] * x[0];
  return a * a + 100.0 * b * b;
}

TEST(Powell, FindsTheMinimumOfACoupledBowl) {
  const Outcome r = Minimise(3, 1e-10, 200, Bowl);
  EXPECT_NEAR(r.p[0], 1.0, 1e-5);
  EXPECT_NEAR(r.p[1], -2.0, 1e-5);
  EXPECT_NEAR(r.p[2], 0.5, 1e-5);
  EXPECT_NEAR(r.fret, 4.0, 1e-9);
  EXPECT_DOUBLE_EQ(r.fret, Bowl(r.p));
  EXPECT_GE(r.iter, 1);
  EXPECT_LT(r.iter, 200);
}

TEST(Powell, FollowsANarrowCurvedValley) {
  const Outcome r = Minimise(2, 1e-14, 1000, Valley);
  EXPECT_NEAR(r.p[0], 1.0, 1e-4);
  EXPECT_NEAR(r.p[1], 1.0, 1e-4);
  EXPECT_LT(r.fret, 1e-8);
  EXPECT_LT(r.iter, 1000);
}

TEST(Powell, ItmaxEndsTheSearchWithoutAnError) {
  // ITMAX 0: one sweep, each line search confined to twice its direction.
  const Outcome once = Minimise(2, 1e-9, 0, Downhill);
  EXPECT_EQ(once.iter, 0);
  EXPECT_NEAR(once.p[0], 2.0, 1e-6);
  EXPECT_NEAR(once.p[1], 2.0, 1e-6);
  EXPECT_DOUBLE_EQ(once.fret, Downhill(once.p));

  // Unbounded below, so never converged: sweeps 0 .. 3 are made.
  const Outcome r = Minimise(2, 1e-9, 3, Downhill);
  EXPECT_EQ(r.iter, 3);
  EXPECT_LT(r.fret, -20.0);
  EXPECT_DOUBLE_EQ(r.fret, Downhill(r.p));
}

TEST(Powell, DirectionSetOfAnotherShapeIsRefused) {
  Vec_DP p(0.0, 3);
  Mat_DP xi(1.0, 3, 2);
  int iter = 0;
  double fret = 0.0;
  EXPECT_THAT([&] { NR::powell(p, xi, 1e-9, 10, iter, fret, Bowl); },
              testing::ThrowsMessage<std::invalid_argument>(
                  "powell: direction set does not match the point"));
}

}  // namespace
