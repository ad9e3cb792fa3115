#include "intra/trial_moves.h"

#include <gtest/gtest.h>

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

struct Search {
  const char* name;
  void (*run)(Vec_IO_DP&, Real&, NR::VecFunction);
  std::vector<std::string> labels;
};

void PrintTo(const Search& s, std::ostream* os) { *os << s.name; }

class TrialMoves : public testing::TestWithParam<Search> {};

// Every printed acceptance names a move of the search and lowers the best
// value; the search ends at the bottom of the bowl with best = f(P).
TEST_P(TrialMoves, AcceptOnlyImprovingMovesAndReachTheMinimum) {
  Vec_DP p(0.0, 3);
  Real best = Bowl(p);
  const Real start = best;
  const std::string out = testing_support::Printed([&] { GetParam().run(p, best, Bowl); });

  std::istringstream lines(out);
  std::string line;
  Real previous = start;
  int accepted = 0;
  while (std::getline(lines, line)) {
    bool known = false;
    for (const auto& label : GetParam().labels) {
      if (line.rfind(label, 0) != 0) continue;
      std::istringstream values(line.substr(label.size()));
      Real a = 0.0, b = 0.0;
      values >> a >> b;
      EXPECT_LT(a, previous) << line;
      EXPECT_EQ(a, b) << line;
      previous = a;
      known = true;
      ++accepted;
      break;
    }
    EXPECT_TRUE(known) << "unexpected line: " << line;
  }
  EXPECT_GT(accepted, 3);
  EXPECT_EQ(best, previous);
  EXPECT_EQ(best, Bowl(p));
  EXPECT_EQ(best, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, TrialMoves,
    testing::Values(Search{"Angle", AngleTrialMoves, {"accept ", "0 accept ", "1 accept ", "2 accept "}},
                    Search{"Dihedral", DiheTrialMoves, {"s+ accept ", "s- accept ", "d+ accept ", "d- accept "}}),
    [](const testing::TestParamInfo<Search>& info) { return std::string(info.param.name); });

}  // namespace
