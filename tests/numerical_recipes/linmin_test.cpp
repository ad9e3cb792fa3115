#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "errors.h"
#include "numerical_recipes/nrutil_nr.h"
#include "support/process_exit.h"

namespace {

using testing::ThrowsMessage;

double Bowl(Vec_I_DP& x) { return (x[0] - 0.5) * (x[0] - 0.5) + 2.0 * (x[1] - 0.5) * (x[1] - 0.5); }

// A target that ends the process on its third evaluation.
int calls = 0;
double EndsTheProcess(Vec_I_DP& x) {
  if (++calls == 3) EndProcess(1, "stopped\n");
  return x[0] * x[0];
}

// A target that runs a line minimisation of its own for every evaluation.
double Inner(Vec_I_DP& y) { return (y[0] - 3.0) * (y[0] - 3.0); }
double Nested(Vec_I_DP& x) {
  Vec_DP q(0.0, 1), d(1.0, 1);
  double f = 0.0;
  NR::linmin(q, d, f, Inner);
  return (x[0] - q[0]) * (x[0] - q[0]);  // q[0] is 2: the window ends there
}

// Outside a line minimisation there is no line to evaluate.
void ExpectNoLine() {
  EXPECT_EQ(NR::pcom_p, nullptr);
  EXPECT_EQ(NR::xicom_p, nullptr);
  EXPECT_EQ(NR::nrfunc, nullptr);
  EXPECT_THAT([] { NR::f1dim(0.5); },
              ThrowsMessage<std::logic_error>("f1dim: no line minimisation in progress"));
}

TEST(Linmin, MovesToTheMinimumAlongTheDirectionAlsoWhenTheTargetRunsALineMinimisation) {
  Vec_DP p(0.0, 2), xi(1.0, 2);
  double fret = 1.0;
  NR::linmin(p, xi, fret, Bowl);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(p[i], 0.5, 1e-7);
    EXPECT_NEAR(xi[i], 0.5, 1e-7);  // the direction becomes the displacement made
  }
  EXPECT_DOUBLE_EQ(fret, Bowl(p));
  EXPECT_NEAR(fret, 0.0, 1e-12);
  ExpectNoLine();
  Vec_DP q(1.5, 1), d(0.5, 1);
  NR::linmin(q, d, fret, Nested);
  EXPECT_NEAR(q[0], 2.0, 1e-6);
  EXPECT_NEAR(fret, 0.0, 1e-10);
  ExpectNoLine();
}

TEST(Linmin, RefusesADirectionOfAnotherSizeAndClearsTheLineWhenTheTargetEndsTheSearch) {
  Vec_DP p(0.5, 1), xi(1.0, 3);
  double fret = 0.0;
  EXPECT_THAT([&] { NR::linmin(p, xi, fret, Bowl); },
              ThrowsMessage<std::invalid_argument>("linmin: point and direction differ in size"));
  xi = Vec_DP(1.0, 1);
  calls = 0;
  const ProcessExit e = testing_support::ExpectExit([&] { NR::linmin(p, xi, fret, EndsTheProcess); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "stopped\n");
  ExpectNoLine();
  EXPECT_EQ(p[0], 0.5);  // left where it was
}

}  // namespace
