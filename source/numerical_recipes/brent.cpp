#include <cmath>

#include "numerical_recipes/nrutil_nr.h"

namespace NR {

namespace {

// |a| with the sign of b.
DP WithSignOf(DP a, DP b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

}  // namespace

DP brent(const DP ax, const DP bx, const DP cx, RealFunction f, const DP tol, DP& xmin) {
  constexpr int ITMAX = 100000;
  constexpr DP CGOLD = 0.381966;
  constexpr DP ZEPS = 2.220446049250313e-16 * 1.0e-3;

  // a, b: the interval; x: least value so far; w: second least; v: the
  // previous w; u: the latest evaluation.
  DP a = ax < cx ? ax : cx;
  DP b = ax > cx ? ax : cx;
  DP x = bx, w = bx, v = bx;
  DP fx = f(x);
  DP fw = fx, fv = fx;
  DP d = 0.0;  // the last step
  DP e = 0.0;  // the step before it
  for (int iter = 0; iter < ITMAX; ++iter) {
    const DP xm = 0.5 * (a + b);
    const DP tol1 = tol * std::fabs(x) + ZEPS;
    const DP tol2 = 2.0 * tol1;
    if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) {
      xmin = x;
      return fx;
    }
    bool golden_step = true;
    if (std::fabs(e) > tol1) {
      // Parabola through x, w and v: its vertex is x + p / q.
      const DP r = (x - w) * (fx - fv);
      DP q = (x - v) * (fx - fw);
      DP p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) p = -p;
      q = std::fabs(q);
      const DP etemp = e;
      e = d;
      // The parabolic step is refused when it is not smaller than half the
      // step before last or leaves the interval (a not-a-number step is not
      // refused: it ends as a minimal step).
      const bool refused = std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a - x) ||
                           p >= q * (b - x);
      if (!refused) {
        golden_step = false;
        d = p / q;
        const DP u = x + d;
        if (u - a < tol2 || b - u < tol2) d = WithSignOf(tol1, xm - x);
      }
    }
    if (golden_step) {
      e = x >= xm ? a - x : b - x;
      d = CGOLD * e;
    }
    const DP u = std::fabs(d) >= tol1 ? x + d : x + WithSignOf(tol1, d);
    const DP fu = f(u);
    if (fu <= fx) {
      if (u >= x)
        a = x;
      else
        b = x;
      v = w;
      w = x;
      x = u;
      fv = fw;
      fw = fx;
      fx = fu;
    } else {
      if (u < x)
        a = u;
      else
        b = u;
      if (fu <= fw || w == x) {
        v = w;
        w = u;
        fv = fw;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
  nrerror("Too many iterations in brent");
}

}  // namespace NR
