#include "line_search.h"

#include <algorithm>
#include <cmath>

namespace {

// Minimum of the cubic through two points with their slopes; NaN when the
// cubic has no minimum.
double CubicMinimum(const LinePoint& a, const LinePoint& b) {
  const double d1 = a.g + b.g - 3 * (a.f - b.f) / (a.x - b.x);
  const double disc = d1 * d1 - a.g * b.g;
  if (disc < 0) return std::nan("");
  const double d2 = (b.x > a.x ? 1.0 : -1.0) * std::sqrt(disc);
  const double denominator = b.g - a.g + 2 * d2;
  if (denominator == 0) return std::nan("");
  return b.x - (b.x - a.x) * (b.g + d2 - d1) / denominator;
}

// Next point inside the bracket [a, b]: the cubic's minimum kept a little
// away from the ends, or the midpoint when the cubic has none.
double CubicStep(const LinePoint& a, const LinePoint& b) {
  const double x = CubicMinimum(a, b);
  const double lo = std::min(a.x, b.x), hi = std::max(a.x, b.x), margin = 0.05 * (hi - lo);
  if (!std::isfinite(x)) return 0.5 * (lo + hi);
  return std::clamp(x, lo + margin, hi - margin);
}

}  // namespace

LineMinimum MinimiseAlongLine(const std::function<LinePoint(double)>& evaluate, double x0, double step,
                              double lower, double upper, double tolerance, double slopeTolerance,
                              int maxEvaluations) {
  int evaluations = 1;
  LinePoint best = evaluate(std::clamp(x0, lower, upper));
  LinePoint previous = best, last = best;
  const auto keep = [&](const LinePoint& p) {
    if (p.f < best.f) best = p;
    previous = last;
    last = p;
  };
  const auto result = [&]() {
    LineMinimum m{best, 0.0};
    if (last.x != previous.x) m.curvature = (last.g - previous.g) / (last.x - previous.x);
    return m;
  };
  if (std::abs(best.g) < slopeTolerance) return result();
  // Walk downhill until the slope changes sign or the value rises.
  const double direction = best.g > 0 ? -1.0 : 1.0;
  LinePoint near = best, far = best;
  double h = step;
  bool bracketed = false;
  while (evaluations < maxEvaluations) {
    const double x = std::clamp(near.x + direction * h, lower, upper);
    if (x == near.x) return result();  // at a bound, still going down
    far = evaluate(x);
    ++evaluations;
    keep(far);
    if (far.g * direction > 0 || far.f > near.f) {
      bracketed = true;
      break;
    }
    if (std::abs(far.g) < slopeTolerance) return result();
    // Still downhill: aim a little past the minimum of the cubic through the
    // last two points when it lies ahead (half to twice the last step), else
    // double the step.
    const double taken = std::abs(far.x - near.x);
    const double ahead = (CubicMinimum(near, far) - far.x) * direction;
    h = std::isfinite(ahead) && ahead > 0 ? std::clamp(1.2 * ahead, 0.5 * taken, 2 * taken) : 2 * taken;
    near = far;
  }
  if (!bracketed) return result();
  // Narrow the bracket [a, b] with slope(a) < 0 < slope(b) (in the walk sense).
  LinePoint a = near.x < far.x ? near : far;
  LinePoint b = near.x < far.x ? far : near;
  while (evaluations < maxEvaluations && b.x - a.x > tolerance) {
    const LinePoint p = evaluate(CubicStep(a, b));
    ++evaluations;
    keep(p);
    if (std::abs(p.g) < slopeTolerance) break;
    if (p.g > 0) {
      b = p;
    } else {
      a = p;
    }
  }
  return result();
}
