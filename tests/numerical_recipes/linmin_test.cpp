#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "numerical_recipes/nrutil_nr.h"
#include "errors.h"
#include "support/process_exit.h"

namespace {

double Bowl(Vec_I_DP& x) {
  return (x[0] - 0.5) * (x[0] - 0.5) + 2.0 * (x[1] - 0.5) * (x[1] - 0.5);
}
double FarAway(Vec_I_DP& x) { return (x[0] - 10.0) * (x[0] - 10.0); }
double FarBehind(Vec_I_DP& x) { return (x[0] + 10.0) * (x[0] + 10.0); }
// Targets that end the process, or fail, on their third evaluation.
int calls = 0;
double EndsTheProcess(Vec_I_DP& x) {
  if (++calls == 3) EndProcess(1, "stopped\n");
  return x[0] * x[0];
}
double Fails(Vec_I_DP& x) {
  if (++calls == 3) throw std::runtime_error("bad value");
  return x[0] * x[0];
}

// Records the line context while the function is evaluated.
int seenNcom = -1;
const Vec_DP* seenPcom = nullptr;
double ContextProbe(Vec_I_DP& x) {
  seenNcom = NR::ncom;
  seenPcom = NR::pcom_p;
  return (x[0] - 1.0) * (x[0] - 1.0) + x[1] * x[1] + x[2] * x[2];
}

// A target that runs a line minimisation of its own for every evaluation.
double Inner(Vec_I_DP& y) { return (y[0] - 3.0) * (y[0] - 3.0); }
double Nested(Vec_I_DP& x) {
  Vec_DP q(0.0, 1);
  Vec_DP d(1.0, 1);
  double f = 0.0;
  NR::linmin(q, d, f, Inner);
  return (x[0] - q[0]) * (x[0] - q[0]);  // q[0] is 2: the window ends there
}

void ExpectNoLine() {
  EXPECT_EQ(NR::pcom_p, nullptr);
  EXPECT_EQ(NR::xicom_p, nullptr);
  EXPECT_EQ(NR::nrfunc, nullptr);
}

TEST(Linmin, MovesToTheMinimumAlongTheDirection) {
  Vec_DP p(0.0, 2);
  Vec_DP xi(1.0, 2);
  double fret = 1.0;
  NR::linmin(p, xi, fret, Bowl);
  EXPECT_NEAR(p[0], 0.5, 1e-7);
  EXPECT_NEAR(p[1], 0.5, 1e-7);
  // The direction becomes the displacement made.
  EXPECT_NEAR(xi[0], 0.5, 1e-7);
  EXPECT_NEAR(xi[1], 0.5, 1e-7);
  EXPECT_NEAR(fret, 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(fret, Bowl(p));
}

TEST(Linmin, StepIsAtMostTwiceTheDirection) {
  Vec_DP p(0.0, 1);
  Vec_DP xi(1.0, 1);
  double fret = 0.0;
  NR::linmin(p, xi, fret, FarAway);
  EXPECT_LE(p[0], 2.0);
  EXPECT_NEAR(p[0], 2.0, 1e-7);
  EXPECT_NEAR(xi[0], 2.0, 1e-7);
  EXPECT_NEAR(fret, 64.0, 1e-5);

  Vec_DP q(1.0, 1);
  Vec_DP back(0.5, 1);
  NR::linmin(q, back, fret, FarBehind);
  EXPECT_NEAR(q[0], 0.0, 1e-7);  // 1 - 2 * 0.5
}

TEST(Linmin, DirectionOfAnotherSizeIsRefused) {
  Vec_DP p(0.0, 2);
  Vec_DP xi(1.0, 3);
  double fret = 0.0;
  EXPECT_THROW(NR::linmin(p, xi, fret, Bowl), std::invalid_argument);
}

TEST(Linmin, LineContextExistsOnlyDuringTheSearch) {
  ExpectNoLine();
  Vec_DP p(0.0, 3);
  Vec_DP xi(1.0, 3);
  double fret = 0.0;
  seenPcom = nullptr;
  NR::linmin(p, xi, fret, ContextProbe);
  EXPECT_EQ(seenNcom, 3);
  EXPECT_NE(seenPcom, nullptr);
  ExpectNoLine();
  EXPECT_THROW(NR::f1dim(0.5), std::logic_error);
}

TEST(Linmin, LineContextIsClearedWhenTheTargetEndsTheSearch) {
  Vec_DP p(0.5, 1);
  Vec_DP xi(1.0, 1);
  double fret = 0.0;
  calls = 0;
  const ProcessExit e =
      testing_support::ExpectExit([&] { NR::linmin(p, xi, fret, EndsTheProcess); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "stopped\n");
  ExpectNoLine();
  EXPECT_EQ(p[0], 0.5);  // left where it was

  calls = 0;
  EXPECT_THROW(NR::linmin(p, xi, fret, Fails), std::runtime_error);
  ExpectNoLine();
}

TEST(Linmin, TargetMayRunALineMinimisationOfItsOwn) {
  Vec_DP p(1.5, 1);
  Vec_DP xi(0.5, 1);
  double fret = 1.0;
  NR::linmin(p, xi, fret, Nested);
  EXPECT_NEAR(p[0], 2.0, 1e-6);
  EXPECT_NEAR(fret, 0.0, 1e-10);
  ExpectNoLine();
}

}  // namespace
