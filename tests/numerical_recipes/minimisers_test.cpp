// Powell's method, its line minimisation and the searches along one line.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "errors.h"
#include "numerical_recipes/nrutil_nr.h"

namespace {

int evaluations = 0;
double Skewed(double x) { return ++evaluations, (x - 0.3) * (x - 0.3) * (1.0 + 0.1 * x); }  // 0 at 0.3
double Cusp(double x) { return ++evaluations, std::fabs(x); }
// Minimum 4 at (1, -2, 0.5).
double Bowl(Vec_I_DP& x) {
  const double a = x[0] - 1.0, b = x[1] + 2.0, c = x.size() > 2 ? x[2] - 0.5 : 0.0;
  return 3.0 * a * a + b * b + 2.0 * c * c + a * b + 0.5 * b * c + 4.0;
}
double Downhill(Vec_I_DP& x) { return -x[0] - x[1]; }
double Valley(Vec_I_DP& x) { return std::pow(1.0 - x[0], 2) + 100.0 * std::pow(x[1] - x[0] * x[0], 2); }
// Runs a line minimisation of its own, which ends at 2, for every evaluation.
double Nested(Vec_I_DP& x) {
  Vec_DP q(0.0, 1), d(1.0, 1);
  double f = 0.0;
  NR::linmin(q, d, f, +[](Vec_I_DP& y) { return (y[0] - 3.0) * (y[0] - 3.0); });
  return (x[0] - q[0]) * (x[0] - q[0]);
}
double EndsTheProcess(Vec_I_DP& x) { return ++evaluations == 3 ? EndProcess(1, "stopped\n"), 0.0 : x[0]; }

TEST(Minimisers, FindTheMinimum) {
  double xmin = 0.0, fret = 0.0;
  evaluations = 0;
  EXPECT_NEAR(NR::brent(-2.0, 1.0, 2.0, Skewed, 1e-9, xmin), 0.0, 1e-16);
  EXPECT_NEAR(xmin, 0.3, 1e-8);
  EXPECT_LT(evaluations, 20);  // parabolic steps: golden-section steps alone would need over 40
  EXPECT_NEAR(NR::golden(0.0, 0.5, 3.0, Skewed, 1e-9, xmin), 0.0, 1e-16);
  EXPECT_NEAR(xmin, 0.3, 1e-8);
  // At 0 the relative tolerance is never met: the bracket shrinks to neighbouring doubles, and ends.
  evaluations = 0;
  EXPECT_EQ(NR::golden(-1.0, 0.3, 1.0, Cusp, 1e-9, xmin), 0.0);
  EXPECT_EQ(xmin, 0.0);
  EXPECT_LT(evaluations, 20000);
  // Along (1, 1) the minimum is at 0.1; the direction becomes the step made.
  Vec_DP p(0.0, 2), xi(1.0, 2), q(1.5, 1), d(0.5, 1);
  NR::linmin(p, xi, fret, Bowl);
  EXPECT_NEAR(p[0] + p[1] + xi[0] + xi[1], 0.4, 1e-7);
  EXPECT_DOUBLE_EQ(fret, Bowl(p));
  NR::linmin(q, d, fret, Nested);
  EXPECT_NEAR(q[0], 2.0, 1e-6);
  // Powell from the origin along the axes: converged before sweep itmax, or
  // stopped after it (iter); with itmax 0 one sweep, each line search within
  // twice its direction.
  const struct { NR::VecFunction func; double ftol; int itmax, iter; std::vector<double> at; } rows[] = {
      {Bowl, 1e-10, 200, -1, {1.0, -2.0, 0.5}}, {Valley, 1e-14, 1000, -1, {1.0, 1.0}},
      {Downhill, 1e-9, 0, 0, {2.0, 2.0}},      {Downhill, 1e-9, 3, 3, {}}};
  for (const auto& row : rows) {
    const int n = row.func == Bowl ? 3 : 2;
    Vec_DP x(0.0, n);
    Mat_DP dirs(0.0, n, n);
    for (int i = 0; i < n; ++i) dirs[i][i] = 1.0;
    int iter = -2;
    NR::powell(x, dirs, row.ftol, row.itmax, iter, fret, row.func);
    EXPECT_DOUBLE_EQ(fret, row.func(x));
    for (std::size_t i = 0; i < row.at.size(); ++i) EXPECT_NEAR(x[i], row.at[i], 1e-4) << row.itmax;
    EXPECT_TRUE(row.iter < 0 ? iter < row.itmax : iter == row.iter) << iter;
  }
}

// Every failure of the minimisers and their containers with its message, and the status when it ends the process
// (0 when it raises an error); a failed search leaves no line behind.
TEST(Minimisers, FailuresRaiseOrEndTheProcessWithTheirMessage) {
  Vec_DP p(0.5, 1), q(1.0, 1), three(1.0, 3);
  Mat_DP xi(1.0, 1, 2);
  double f = 0.0;
  int iter = 0;
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] { NR::linmin(p, three, f, Bowl); }, "0 linmin: point and direction differ in size"},
      {[&] { NR::powell(p, xi, 1e-9, 10, iter, f, Bowl); }, "0 powell: direction set does not match the point"},
      {[] { NR::f1dim(0.5); }, "0 f1dim: no line minimisation in progress"},
      {[] { Vec_DP(-1); }, "0 NRVec: negative size"},
      {[] { Vec_DP(0.0, -2); }, "0 NRVec: negative size"},
      {[] { Mat_DP(-1, 2); }, "0 NRMat: negative size"},
      {[] { Mat_DP(0.0, 2, -3); }, "0 NRMat: negative size"},
      {[&] { evaluations = 0, NR::linmin(p, q, f, EndsTheProcess); }, "1 stopped\n"},
      // A tolerance of 0 asks for an interval narrower than the spacing of
      // doubles near the minimum, which is never reached.
      {[&] { NR::brent(-2.0, 1.0, 2.0, Skewed, 0.0, f); },
       "1 Numerical Recipes run-time error...\nToo many iterations in brent\n...now exiting to system...\n"},
  };
  for (const auto& [run, expected] : rows) {
    std::string outcome = "none";
    try {
      run();
    } catch (const ProcessExit& e) {
      outcome = std::to_string(e.status) + " " + e.message;
    } catch (const std::exception& e) {
      outcome = std::string("0 ") + e.what();
    }
    EXPECT_EQ(outcome, expected);
    EXPECT_TRUE(NR::pcom_p == nullptr && NR::xicom_p == nullptr && NR::nrfunc == nullptr) << expected;
  }
  EXPECT_EQ(p[0], 0.5);  // left where it was
}

}  // namespace
