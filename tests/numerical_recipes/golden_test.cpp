#include <gtest/gtest.h>

#include <cmath>

#include "numerical_recipes/nrutil_nr.h"

namespace {

int evaluations = 0;

double Well(double x) {
  ++evaluations;
  return (x - 2.0) * (x - 2.0);
}
double Shifted(double x) { return (x - 1.7) * (x - 1.7) - 0.25; }
double Cusp(double x) {
  ++evaluations;
  return std::fabs(x);
}

TEST(Golden, FindsTheMinimumInsideTheBracket) {
  double xmin = 0.0;
  const double f = NR::golden(1.4, 2.0, 5.0, Shifted, 1e-9, xmin);
  EXPECT_NEAR(xmin, 1.7, 1e-7);
  EXPECT_NEAR(f, -0.25, 1e-12);

  // The same with the bracket given from the other end.
  NR::golden(5.0, 2.0, 1.4, Shifted, 1e-9, xmin);
  EXPECT_NEAR(xmin, 1.7, 1e-7);
}

TEST(Golden, MinimumAtTheBracketEnd) {
  double xmin = 0.0;
  NR::golden(2.5, 3.0, 6.0, Well, 1e-9, xmin);
  EXPECT_GE(xmin, 2.5);
  EXPECT_NEAR(xmin, 2.5, 1e-7);
}

TEST(Golden, CoincidingEndsReturnTheBetterInnerPointAtOnce) {
  evaluations = 0;
  double xmin = 0.0;
  // Inner points 3 and 3 - 0.38196601 * 2.
  const double f = NR::golden(1.0, 3.0, 1.0, Well, 1e-9, xmin);
  EXPECT_EQ(evaluations, 2);
  EXPECT_DOUBLE_EQ(xmin, 3.0 - 0.38196601 * 2.0);
  EXPECT_DOUBLE_EQ(f, Well(xmin));

  evaluations = 0;
  NR::golden(4.0, 4.0, 4.0, Well, 1e-9, xmin);
  EXPECT_EQ(evaluations, 2);
  EXPECT_EQ(xmin, 4.0);
}

TEST(Golden, EndsWhenTheBracketCannotBeNarrowedFurther) {
  // At a minimum at 0 the relative tolerance vanishes, and with a tolerance
  // of 0 it is never met; the bracket shrinks to neighbouring doubles and the
  // search must still end, at the minimum.
  double xmin = 1.0;
  evaluations = 0;
  EXPECT_EQ(NR::golden(-1.0, 0.3, 1.0, Cusp, 1e-9, xmin), 0.0);
  EXPECT_EQ(xmin, 0.0);
  EXPECT_LT(evaluations, 20000);

  evaluations = 0;
  NR::golden(1.4, 2.0, 5.0, Well, 0.0, xmin);
  EXPECT_NEAR(xmin, 2.0, 1e-8);
  EXPECT_LT(evaluations, 20000);
}

}  // namespace
