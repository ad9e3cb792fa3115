#include <gtest/gtest.h>

#include "numerical_recipes/nrutil_nr.h"
#include "support/process_exit.h"

namespace {

int evaluations = 0;

// Minimum 0 at 0.3.
double Skewed(double x) {
  ++evaluations;
  return (x - 0.3) * (x - 0.3) * (1.0 + 0.1 * x);
}

TEST(Brent, FindsTheMinimumToTheTolerance) {
  evaluations = 0;
  double xmin = 0.0;
  const double f = NR::brent(-2.0, 1.0, 2.0, Skewed, 1e-9, xmin);
  EXPECT_NEAR(xmin, 0.3, 1e-8);
  EXPECT_NEAR(f, 0.0, 1e-16);
  EXPECT_LT(evaluations, 20);  // parabolic steps: golden-section steps alone would need over 40
}

TEST(Brent, TooManyIterationsEndTheProcess) {
  // A tolerance of 0 asks for an interval narrower than the spacing of
  // doubles near the minimum, which is never reached.
  double xmin = 0.0;
  const ProcessExit e =
      testing_support::ExpectExit([&] { NR::brent(-2.0, 1.0, 2.0, Skewed, 0.0, xmin); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "Numerical Recipes run-time error...\n"
            "Too many iterations in brent\n"
            "...now exiting to system...\n");
}

}  // namespace
