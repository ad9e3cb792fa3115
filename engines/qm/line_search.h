#pragma once

#include <functional>

// One evaluated point of a one-dimensional function: position, value, slope.
struct LinePoint {
  double x = 0;
  double f = 0;
  double g = 0;
};

// Minimises a function of one variable from x0, given its value and slope at
// any point (`evaluate`). It walks downhill from `step`, each further step
// aimed a little past the minimum of the cubic through the last two points
// (else doubled), until the slope turns; then it narrows the bracket by
// cubic interpolation (the midpoint when the cubic has no minimum) until the
// bracket is shorter than `tolerance` or the slope smaller than
// `slopeTolerance`. The variable stays in [lower, upper]. Returns the lowest
// point evaluated and the curvature (second derivative) estimated from the
// last two slopes, 0 when unknown.
struct LineMinimum {
  LinePoint best;
  double curvature = 0;
};
LineMinimum MinimiseAlongLine(const std::function<LinePoint(double)>& evaluate, double x0, double step,
                            double lower, double upper, double tolerance, double slopeTolerance,
                            int maxEvaluations);
