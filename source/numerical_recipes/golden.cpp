#include <cmath>

#include "numerical_recipes/nrutil_nr.h"

namespace NR {

DP golden(const DP ax, const DP bx, const DP cx, RealFunction f, const DP tol, DP& xmin) {
  constexpr DP R = 0.61803399;
  constexpr DP C = 1.0 - R;
  // Each step narrows the bracket by the factor R, so no bracket of doubles
  // needs more than about 3000 steps to reach the tolerance or a width of one
  // rounding unit. Once the bracket cannot be narrowed further in floating
  // point (a tolerance of 0, or a minimum at 0 where the tolerance vanishes)
  // the steps would go round for ever; this many steps means that point has
  // been reached and the search ends with what it has.
  constexpr int MAXSTEPS = 10000;

  // x0 and x3 are the ends of the bracket, x1 and x2 the inner points.
  DP x0 = ax;
  DP x3 = cx;
  DP x1, x2;
  if (std::fabs(cx - bx) > std::fabs(bx - ax)) {
    x1 = bx;
    x2 = bx + C * (cx - bx);
  } else {
    x2 = bx;
    x1 = bx - C * (bx - ax);
  }
  DP f1 = f(x1);
  DP f2 = f(x2);
  for (int step = 0; step < MAXSTEPS && std::fabs(x3 - x0) > tol * (std::fabs(x1) + std::fabs(x2));
       ++step) {
    if (f2 < f1) {
      x0 = x1;
      x1 = x2;
      x2 = R * x2 + C * x3;
      f1 = f2;
      f2 = f(x2);
    } else {
      x3 = x2;
      x2 = x1;
      x1 = R * x1 + C * x0;
      f2 = f1;
      f1 = f(x1);
    }
  }
  if (f1 < f2) {
    xmin = x1;
    return f1;
  }
  xmin = x2;
  return f2;
}

}  // namespace NR
