#include "numerical_recipes/SimAnnealing.h"

#include <cmath>

#include "util.h"

void SimAnnealing(Vec_IO_DP& p, Mat_IO_DP& /*xi*/, DP /*ftol*/, int /*maxstep*/, int& iter,
                  DP& fret, NR::VecFunction func) {
  constexpr DP dmaxq = 0.4;  // largest change of a component in one step
  constexpr DP kTmax = 1.0;  // temperature at the start
  const int n = p.size();
  const int ITMAX = 3000 * n;

  Vec_DP pnow(p);
  DP fnow = func(p);
  for (iter = 0; iter < ITMAX; ++iter) {
    Vec_DP trial(pnow);
    const int k = RanI(n);
    const DP d = 2.0 * RanD(dmaxq) - dmaxq;
    trial[k] += d;
    if (iter % 2 == 0 && n > 1) {
      int m = RanI(n);
      while (m == k) m = RanI(n);
      trial[m] -= d;
    }
    const DP ftrial = func(trial);
    const float done = static_cast<float>(iter) / static_cast<float>(ITMAX);
    const DP T = kTmax * (1.0 - done);
    if (ftrial < fnow || std::exp((fnow - ftrial) / T) > RanD(1.0)) {
      pnow = std::move(trial);
      fnow = ftrial;
    }
  }
  p = pnow;
  fret = func(pnow);
}
