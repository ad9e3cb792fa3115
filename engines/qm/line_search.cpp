#include "line_search.h"

#include <algorithm>
#include <cmath>

namespace {

// Minimum of the cubic through two points with their slopes, or the midpoint
// when the cubic has none or it lies too close to an end.
double CubicStep(const LinePoint& a, const LinePoint& b) {
  const double mid = 0.5 * (a.x + b.x);
  const double d1 = a.g + b.g - 3 * (a.f - b.f) / (a.x - b.x);
  const double disc = d1 * d1 - a.g * b.g;
  if (disc < 0) return mid;
  const double d2 = (b.x > a.x ? 1.0 : -1.0) * std::sqrt(disc);
  const double denominator = b.g - a.g + 2 * d2;
  if (denominator == 0) return mid;
  const double x = b.x - (b.x - a.x) * (b.g + d2 - d1) / denominator;
  const double lo = std::min(a.x, b.x), hi = std::max(a.x, b.x), margin = 0.1 * (hi - lo);
  if (!std::isfinite(x) || x < lo + margin || x > hi - margin) return mid;
  return x;
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
    near = far;
    h *= 2;
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
