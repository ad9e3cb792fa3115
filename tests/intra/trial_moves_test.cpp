#include "intra/trial_moves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/printed.h"

namespace {

// A bowl with its minimum at (3, -2, 1): reachable from 0 by integer steps
// and by steps of 0.5.
Real Bowl(Vec_I_DP& x) {
  const Real t[] = {3.0, -2.0, 1.0};
  Real sum = 0.0;
  for (int i = 0; i < x.size(); ++i) sum += (x[i] - t[i]) * (x[i] - t[i]);
  return sum;
}

// Every printed acceptance names a move of the search and lowers the best
// value; the search ends at the bottom of the bowl with best = f(P).
TEST(TrialMoves, AcceptOnlyImprovingMovesAndReachTheMinimum) {
  const struct {
    void (*run)(Vec_IO_DP&, Real&, NR::VecFunction);
    std::vector<std::string> labels;
  } searches[] = {{AngleTrialMoves, {"accept ", "0 accept ", "1 accept ", "2 accept "}},
                  {DiheTrialMoves, {"s+ accept ", "s- accept ", "d+ accept ", "d- accept "}}};
  for (const auto& search : searches) {
    SCOPED_TRACE(search.labels[1]);
    Vec_DP p(0.0, 3);
    Real best = Bowl(p), previous = best;
    const std::string out = testing_support::Printed([&] { search.run(p, best, Bowl); });
    std::istringstream lines(out);
    int accepted = 0;
    for (std::string line; std::getline(lines, line);) {
      const auto label = std::find_if(search.labels.begin(), search.labels.end(),
                                      [&](const std::string& l) { return line.rfind(l, 0) == 0; });
      ASSERT_NE(label, search.labels.end()) << "unexpected line: " << line;
      std::istringstream values(line.substr(label->size()));
      Real a = 0.0, b = 0.0;
      values >> a >> b;
      EXPECT_LT(a, previous) << line;
      EXPECT_EQ(a, b) << line;
      previous = a;
      ++accepted;
    }
    EXPECT_GT(accepted, 3);
    EXPECT_EQ(best, previous);
    EXPECT_EQ(best, Bowl(p));
    EXPECT_EQ(best, 0.0);
  }
}

}  // namespace
