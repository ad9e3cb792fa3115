#include "numerical_recipes/SimAnnealing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Every vector the search evaluates, in order.
std::vector<std::vector<double>> calls;

void Record(Vec_I_DP& x) { calls.emplace_back(x.begin(), x.end()); }

// Each evaluation is lower than the one before: every trial is accepted.
double AlwaysBetter(Vec_I_DP& x) {
  Record(x);
  return -static_cast<double>(calls.size());
}
// Each evaluation is a little higher than the one before.
double SlowlyWorse(Vec_I_DP& x) {
  Record(x);
  return 1e-9 * static_cast<double>(calls.size());
}
double Bowl(Vec_I_DP& x) {
  Record(x);
  double s = 0.0;
  for (int i = 0; i < x.size(); ++i) {
    const double d = x[i] - 0.1 * (i + 1);
    s += 10.0 * d * d;
  }
  return s;
}
// 0 up to the trial of step 2699, 1 from the trial of step 2700 on.
double LateJump(Vec_I_DP& x) {
  Record(x);
  return calls.size() > 2701 ? 1.0 : 0.0;
}
double Empty(Vec_I_DP& x) {
  Record(x);
  return 42.0 + x.size();
}

double Sum(const std::vector<double>& v) {
  double s = 0.0;
  for (double x : v) s += x;
  return s;
}

struct Outcome {
  Vec_DP p;
  int iter = -1;
  double fret = 0.0;
};

Outcome Anneal(const Vec_DP& start, NR::VecFunction func) {
  calls.clear();
  Outcome r{start};
  Mat_DP xi(1.0, start.size(), start.size());
  SimAnnealing(r.p, xi, 1e-5, 10000, r.iter, r.fret, func);
  return r;
}

Vec_DP Start(int n) {
  Vec_DP p(n);
  for (int i = 0; i < n; ++i) p[i] = 0.25 * i - 0.3;
  return p;
}

// The runs below restore the generator's initial state first, so they see
// the same sequence as a program run.
class SimAnnealingTest : public ::testing::Test {
 protected:
  void SetUp() override { std::srand(1); }
  void TearDown() override { std::srand(1); }
};

TEST_F(SimAnnealingTest, RunsFollowTheGeneratorWithoutSeedingIt) {
  const Outcome a = Anneal(Start(3), Bowl);
  std::srand(1);
  const Outcome b = Anneal(Start(3), Bowl);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(a.p[i], b.p[i]);
  EXPECT_EQ(a.fret, b.fret);
  std::srand(12345);
  const Outcome c = Anneal(Start(3), Bowl);
  EXPECT_TRUE(a.p[0] != c.p[0] || a.p[1] != c.p[1] || a.p[2] != c.p[2]);
}

TEST_F(SimAnnealingTest, MakesThreeThousandStepsPerComponent) {
  for (int n = 1; n <= 3; ++n) {
    const Outcome r = Anneal(Start(n), Bowl);
    EXPECT_EQ(r.iter, 3000 * n);
    EXPECT_EQ(static_cast<int>(calls.size()), 3000 * n + 2);
  }
}

TEST_F(SimAnnealingTest, EvenStepsKeepTheSumOddStepsMoveOneComponent) {
  const Vec_DP start = Start(4);
  const Outcome r = Anneal(start, AlwaysBetter);
  ASSERT_EQ(calls.size(), 3000u * 4 + 2);
  EXPECT_EQ(calls.front(), std::vector<double>(start.begin(), start.end()));
  // calls[s + 1] is the trial of step s; every trial was accepted, so it
  // starts from the trial before.
  for (int s = 0; s < r.iter; ++s) {
    const std::vector<double>& before = calls[s];
    const std::vector<double>& trial = calls[s + 1];
    int changed = 0;
    for (int i = 0; i < 4; ++i) {
      if (trial[i] != before[i]) {
        ++changed;
        EXPECT_LE(std::fabs(trial[i] - before[i]), 0.4 + 1e-12) << "step " << s;
      }
    }
    if (s % 2 == 0) {
      EXPECT_EQ(changed, 2) << "step " << s;
      EXPECT_NEAR(Sum(trial), Sum(before), 1e-12) << "step " << s;
    } else {
      EXPECT_EQ(changed, 1) << "step " << s;
    }
  }
  // The result is the last accepted state, evaluated once more.
  EXPECT_EQ(calls.back(), calls[calls.size() - 2]);
  EXPECT_EQ(std::vector<double>(r.p.begin(), r.p.end()), calls.back());
  EXPECT_EQ(r.fret, -static_cast<double>(calls.size()));
}

TEST_F(SimAnnealingTest, SingleComponentMovesEveryStep) {
  const Outcome r = Anneal(Start(1), AlwaysBetter);
  ASSERT_EQ(calls.size(), 3002u);
  double largest = 0.0;
  for (int s = 0; s < r.iter; ++s) {
    const double step = calls[s + 1][0] - calls[s][0];
    EXPECT_NE(step, 0.0) << "step " << s;
    EXPECT_LE(std::fabs(step), 0.4 + 1e-12);
    largest = std::fmax(largest, std::fabs(step));
  }
  EXPECT_GT(largest, 0.3);  // moves cover the range
}

TEST_F(SimAnnealingTest, ReturnsTheLastAcceptedStateNotTheBest) {
  // Slightly worse trials are nearly always accepted; the best value seen
  // is the start.
  const Vec_DP start = Start(2);
  const Outcome r = Anneal(start, SlowlyWorse);
  const std::vector<double>& last = calls[calls.size() - 2];
  EXPECT_EQ(std::vector<double>(r.p.begin(), r.p.end()), last);
  EXPECT_TRUE(r.p[0] != start[0] || r.p[1] != start[1]);
  EXPECT_EQ(r.fret, 1e-9 * static_cast<double>(calls.size()));
}

TEST_F(SimAnnealingTest, SettlesNearTheMinimumAsTheTemperatureFalls) {
  const Outcome r = Anneal(Start(3), Bowl);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(r.p[i], 0.1 * (i + 1), 0.1);
  EXPECT_LT(r.fret, 0.05);
}

TEST_F(SimAnnealingTest, LateWorseTrialsAreTurnedDown) {
  // Trials of the last tenth of the run (temperature 0.1 and falling) are
  // worse by 1 than everything before them; none of them is taken.
  const Outcome r = Anneal(Start(1), LateJump);
  ASSERT_EQ(calls.size(), 3002u);
  EXPECT_EQ(r.p[0], calls[2700][0]);  // the trial of the step before
  EXPECT_EQ(r.fret, 1.0);
}

TEST_F(SimAnnealingTest, EmptyVectorMakesNoStep) {
  Vec_DP p;
  Mat_DP xi;
  int iter = -1;
  double fret = 0.0;
  calls.clear();
  SimAnnealing(p, xi, 1e-5, 10000, iter, fret, Empty);
  EXPECT_EQ(iter, 0);
  EXPECT_EQ(fret, 42.0);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_EQ(p.size(), 0);
}

}  // namespace
