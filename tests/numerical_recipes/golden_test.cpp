#include <gtest/gtest.h>

#include <cmath>

#include "numerical_recipes/nrutil_nr.h"

namespace {

double Shifted(double x) { return (x - 1.7) * (x - 1.7) - 0.25; }

int evaluations = 0;
double Cusp(double x) {
  ++evaluations;
  return std::fabs(x);
}

TEST(Golden, FindsTheMinimumInsideTheBracket) {
  double xmin = 0.0;
  EXPECT_NEAR(NR::golden(1.4, 2.0, 5.0, Shifted, 1e-9, xmin), -0.25, 1e-12);
  EXPECT_NEAR(xmin, 1.7, 1e-7);
}

TEST(Golden, EndsWhenTheBracketCannotBeNarrowedFurther) {
  // At a minimum at 0 the relative tolerance vanishes and is never met: the
  // bracket shrinks to neighbouring doubles and the search must still end.
  double xmin = 1.0;
  evaluations = 0;
  EXPECT_EQ(NR::golden(-1.0, 0.3, 1.0, Cusp, 1e-9, xmin), 0.0);
  EXPECT_EQ(xmin, 0.0);
  EXPECT_LT(evaluations, 20000);
}

}  // namespace
