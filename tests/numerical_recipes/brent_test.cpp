#include <gtest/gtest.h>

#include <cmath>

#include "numerical_recipes/nrutil_nr.h"
#include "support/process_exit.h"

namespace {

int evaluations = 0;

double Skewed(double x) {
  ++evaluations;
  return (x - 0.3) * (x - 0.3) * (1.0 + 0.1 * x);
}
double Parabola(double x) { return (x - 0.3) * (x - 0.3); }
double FarMinimum(double x) { return (x - 5.0) * (x - 5.0); }
double Rising(double x) { return x; }
double Quartic(double x) { return std::pow(x + 0.7, 4) - 2.0; }

TEST(Brent, FindsTheMinimumToTheTolerance) {
  evaluations = 0;
  double xmin = 0.0;
  const double f = NR::brent(-2.0, 1.0, 2.0, Skewed, 1e-9, xmin);
  EXPECT_NEAR(xmin, 0.3, 1e-8);
  EXPECT_NEAR(f, 0.0, 1e-16);
  // Parabolic steps: golden-section steps alone would need over 40.
  EXPECT_LT(evaluations, 20);
}

TEST(Brent, AcceptsTheIntervalEndsInEitherOrder) {
  double x1 = 0.0, x2 = 0.0;
  NR::brent(-2.0, 1.0, 2.0, Quartic, 1e-9, x1);
  NR::brent(2.0, 1.0, -2.0, Quartic, 1e-9, x2);
  EXPECT_NEAR(x1, -0.7, 1e-2);
  EXPECT_NEAR(x2, -0.7, 1e-2);
}

TEST(Brent, StaysInsideTheIntervalWithoutBracketing) {
  double xmin = 0.0;
  const double f = NR::brent(-2.0, 1.0, 2.0, FarMinimum, 1e-9, xmin);
  EXPECT_LE(xmin, 2.0);
  EXPECT_NEAR(xmin, 2.0, 1e-7);
  EXPECT_NEAR(f, 9.0, 1e-6);

  NR::brent(-2.0, 1.0, 2.0, Rising, 1e-9, xmin);
  EXPECT_GE(xmin, -2.0);
  EXPECT_NEAR(xmin, -2.0, 1e-7);
}

TEST(Brent, TooManyIterationsEndTheProcess) {
  // A tolerance of 0 asks for an interval narrower than the spacing of
  // doubles near the minimum, which is never reached.
  double xmin = 0.0;
  const ProcessExit e =
      testing_support::ExpectExit([&] { NR::brent(-2.0, 1.0, 2.0, Parabola, 0.0, xmin); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "Numerical Recipes run-time error...\n"
            "Too many iterations in brent\n"
            "...now exiting to system...\n");
}

}  // namespace
