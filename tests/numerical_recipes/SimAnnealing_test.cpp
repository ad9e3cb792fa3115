#include "numerical_recipes/SimAnnealing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

int evaluations = 0, offThePlane = 0;
// Minimum 0 at (0.1, 0.2, 0.3).
double Bowl(Vec_I_DP& x) {
  return ++evaluations, 10.0 * (std::pow(x[0] - 0.1, 2) + std::pow(x[1] - 0.2, 2) + std::pow(x[2] - 0.3, 2));
}
// The bowl on the plane of the start point's sum -0.15; off the plane a wall.
double BowlOnPlane(Vec_I_DP& x) {
  return std::fabs(x[0] + x[1] + x[2] + 0.15) <= 1e-9 ? Bowl(x) : (++offThePlane, 1e6);
}

// A run from the generator's initial state, which the program never changes.
Vec_DP Anneal(NR::VecFunction func, double& fret) {
  const double start[] = {-0.3, -0.05, 0.2};
  Vec_DP p(start, 3);
  Mat_DP xi(1.0, 3, 3);
  int iter = -1;
  evaluations = offThePlane = 0;
  std::srand(1);
  SimAnnealing(p, xi, 1e-5, 10000, iter, fret, func);
  std::srand(1);
  EXPECT_EQ(iter, 9000);
  return p;
}

TEST(SimAnnealing, SettlesNearTheMinimumInThreeThousandStepsPerComponent) {
  double fret = 0.0;
  const Vec_DP p = Anneal(Bowl, fret);
  EXPECT_EQ(evaluations, 9002);  // the start, one trial per step, the result
  EXPECT_LT(fret, 0.05);
  const Vec_DP again = Anneal(Bowl, fret);  // the generator is not seeded
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::fabs(p[i] - 0.1 * (i + 1)) < 0.1 && again[i] == p[i]) << i;
  // Steps 0, 2, 4, ... move an amount between two components, keeping the
  // sum; the others leave the plane and are never taken. The minimum on the
  // plane is (-0.15, -0.05, 0.05).
  const Vec_DP q = Anneal(BowlOnPlane, fret);
  EXPECT_EQ(offThePlane, 4500);
  EXPECT_NEAR(q[0] + q[1] + q[2], -0.15, 1e-9);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(q[i], 0.1 * (i + 1) - 0.25, 0.1);
}

}  // namespace
