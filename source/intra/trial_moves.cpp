#include "intra/trial_moves.h"

#include <cstdio>

#include "util.h"

namespace {

// Evaluates the trial; when it beats best it becomes the best vector and the
// acceptance is printed with the label of its move.
void Try(const Vec_DP& trial, Vec_IO_DP& P, Real& best, NR::VecFunction f, const char* label) {
  const Real value = f(trial);
  if (value >= best) return;
  P = trial;
  best = value;
  std::printf("%s%g %g\n", label, value, value);
}

// P with element i moved by di and element j by dj.
Vec_DP Moved(const Vec_DP& P, int i, Real di, int j = -1, Real dj = 0.0) {
  Vec_DP trial(P);
  trial[i] += di;
  if (j >= 0) trial[j] += dj;
  return trial;
}

// P with element i moved by di and then every element by all.
Vec_DP MovedAll(const Vec_DP& P, int i, Real di, Real all) {
  Vec_DP trial = Moved(P, i, di);
  for (int k = 0; k < trial.size(); ++k) trial[k] += all;
  return trial;
}

}  // namespace

void AngleTrialMoves(Vec_IO_DP& P, Real& best, NR::VecFunction f) {
  const int n = P.size();
  for (int s = 1; s <= 5 * n; ++s) {
    const int h = 10 / s;
    const int q = h / n;
    for (int i = 0; i < n; ++i) {
      Try(Moved(P, i, h), P, best, f, "accept ");
      Try(Moved(P, i, -h), P, best, f, "accept ");
      const int j = RanI(n);
      if (j != i) Try(Moved(P, i, h, j, -h), P, best, f, "0 accept ");
      Try(MovedAll(P, i, h, -q), P, best, f, "1 accept ");
      Try(MovedAll(P, i, -h, q), P, best, f, "2 accept ");
    }
  }
}

void DiheTrialMoves(Vec_IO_DP& P, Real& best, NR::VecFunction f) {
  constexpr Real kStep = 0.5;
  const int n = P.size();
  for (int s = 1; s <= 5 * n; ++s) {
    for (int i = 0; i < n; ++i) {
      Try(Moved(P, i, kStep), P, best, f, "s+ accept ");
      Try(Moved(P, i, -kStep), P, best, f, "s- accept ");
      const int up = RanI(n);
      if (up != i) Try(Moved(P, i, kStep, up, -kStep), P, best, f, "d+ accept ");
      const int down = RanI(n);
      if (down != i) Try(Moved(P, i, -kStep, down, kStep), P, best, f, "d- accept ");
    }
  }
}
