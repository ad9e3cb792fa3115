#include <cmath>
#include <stdexcept>

#include "numerical_recipes/nrutil_nr.h"

namespace NR {

void powell(Vec_IO_DP& p, Mat_IO_DP& xi, const DP ftol, const int ITMAX, int& iter, DP& fret,
            VecFunction func) {
  constexpr DP TINY = 1.0e-25;
  const int n = p.size();
  if (xi.nrows() != n || xi.ncols() != n)
    throw std::invalid_argument("powell: direction set does not match the point");
  Vec_DP pt(p);
  Vec_DP ptt(n);
  Vec_DP xit(n);
  fret = func(p);
  for (iter = 0;; ++iter) {
    const DP fp = fret;
    int ibig = 0;
    DP del = 0.0;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) xit[j] = xi[j][i];
      const DP fbefore = fret;
      linmin(p, xit, fret, func);
      if (fbefore - fret > del) {
        del = fbefore - fret;
        ibig = i;
      }
    }
    if (2.0 * (fp - fret) <= ftol * (std::fabs(fp) + std::fabs(fret)) + TINY) return;
    if (iter == ITMAX) return;
    for (int j = 0; j < n; ++j) {
      ptt[j] = 2.0 * p[j] - pt[j];
      xit[j] = p[j] - pt[j];
      pt[j] = p[j];
    }
    const DP fptt = func(ptt);
    if (fptt < fp) {
      const DP gain = fp - fret - del;
      const DP fall = fp - fptt;
      const DP t = 2.0 * (fp - 2.0 * fret + fptt) * gain * gain - del * fall * fall;
      if (t < 0.0) {
        linmin(p, xit, fret, func);
        for (int j = 0; j < n; ++j) {
          xi[j][ibig] = xi[j][n - 1];
          xi[j][n - 1] = xit[j];
        }
      }
    }
  }
}

}  // namespace NR
