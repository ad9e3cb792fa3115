#include "numerical_recipes/SimAnnealing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

int evaluations = 0;

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
int offThePlane = 0;
double BowlOnPlane(Vec_I_DP& x) {
  if (std::fabs(x[0] + x[1] + x[2] + 0.15) > 1e-9) {
    ++offThePlane;
    return 1e6;
  }
  return Bowl(x);
}

struct Outcome {
  Vec_DP p;
  int iter = -1;
  double fret = 0.0;
};

// A run from the generator's initial state, which the program never changes.
Outcome Anneal(NR::VecFunction func = Bowl) {
  const double start[] = {-0.3, -0.05, 0.2};
  Outcome r{Vec_DP(start, 3)};
  Mat_DP xi(1.0, 3, 3);
  evaluations = 0;
  std::srand(1);
  SimAnnealing(r.p, xi, 1e-5, 10000, r.iter, r.fret, func);
  std::srand(1);
  return r;
}

TEST(SimAnnealing, SettlesNearTheMinimumInThreeThousandStepsPerComponent) {
  const Outcome r = Anneal();
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.p[i], 0.1 * (i + 1), 0.1);
  EXPECT_LT(r.fret, 0.05);
  EXPECT_EQ(r.iter, 9000);
  EXPECT_EQ(evaluations, 9002);  // the start, one trial per step, the result
  // The run follows the generator without seeding it.
  const Outcome again = Anneal();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(again.p[i], r.p[i]);
}

TEST(SimAnnealing, EverySecondStepKeepsTheSumOfTheComponents) {
  // Steps 0, 2, 4, ... move an amount between two components; the others
  // move one component off the plane and are never accepted.
  offThePlane = 0;
  const Outcome r = Anneal(BowlOnPlane);
  EXPECT_EQ(offThePlane, 4500);
  EXPECT_NEAR(r.p[0] + r.p[1] + r.p[2], -0.15, 1e-9);
  // The minimum on the plane is (-0.15, -0.05, 0.05).
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.p[i], 0.1 * (i + 1) - 0.25, 0.1);
}

}  // namespace
