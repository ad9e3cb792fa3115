#include "numerical_recipes/SimAnnealing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

int evaluations = 0, offThePlane = 0;

// Minimum 0 at (0.1, 0.2, 0.3).
double Bowl(Vec_I_DP& x) {
  ++evaluations;
  double s = 0.0;
  for (int i = 0; i < x.size(); ++i) {
    const double d = x[i] - 0.1 * (i + 1);
    s += 10.0 * d * d;
  }
  return s;
}

// The bowl on the plane of the start point's sum -0.15; off the plane a wall.
double BowlOnPlane(Vec_I_DP& x) {
  if (std::fabs(x[0] + x[1] + x[2] + 0.15) <= 1e-9) return Bowl(x);
  ++offThePlane;
  return 1e6;
}

// A run from the generator's initial state, which the program never changes;
// returns the point it ends at.
Vec_DP Anneal(NR::VecFunction func, int& iter, double& fret) {
  const double start[] = {-0.3, -0.05, 0.2};
  Vec_DP p(start, 3);
  Mat_DP xi(1.0, 3, 3);
  evaluations = offThePlane = 0;
  std::srand(1);
  SimAnnealing(p, xi, 1e-5, 10000, iter, fret, func);
  std::srand(1);
  return p;
}

TEST(SimAnnealing, SettlesNearTheMinimumInThreeThousandStepsPerComponent) {
  int iter = -1;
  double fret = 0.0;
  const Vec_DP p = Anneal(Bowl, iter, fret);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], 0.1 * (i + 1), 0.1);
  EXPECT_LT(fret, 0.05);
  EXPECT_EQ(iter, 9000);
  EXPECT_EQ(evaluations, 9002);  // the start, one trial per step, the result
  const Vec_DP again = Anneal(Bowl, iter, fret);  // the generator is not seeded
  for (int i = 0; i < 3; ++i) EXPECT_EQ(again[i], p[i]);
}

TEST(SimAnnealing, EverySecondStepKeepsTheSumOfTheComponents) {
  // Steps 0, 2, 4, ... move an amount between two components; the others
  // move one component off the plane and are never accepted. The minimum on
  // the plane is (-0.15, -0.05, 0.05).
  int iter = -1;
  double fret = 0.0;
  const Vec_DP p = Anneal(BowlOnPlane, iter, fret);
  EXPECT_EQ(offThePlane, 4500);
  EXPECT_NEAR(p[0] + p[1] + p[2], -0.15, 1e-9);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], 0.1 * (i + 1) - 0.25, 0.1);
}

}  // namespace
