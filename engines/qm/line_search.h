#pragma once

#include <functional>

// One evaluated point of a one-dimensional function: position, value, slope.
struct LinePoint {
  double x = 0;
  double f = 0;
  double g = 0;
};

// Minimises a function of one variable from x0, given its value and slope at
// any point (`evaluate`). It walks downhill with doubling steps from `step`
// until the slope turns, then narrows the bracket by cubic interpolation
// (bisection when the cubic step is unsafe) until the bracket is shorter than
// `tolerance` or the slope smaller than `slopeTolerance`. The variable stays
// in [lower, upper]. Returns the lowest point evaluated and the curvature
// (second derivative) estimated from the last two slopes, 0 when unknown.
struct LineMinimum {
  LinePoint best;
  double curvature = 0;
};
LineMinimum MinimiseAlongLine(const std::function<LinePoint(double)>& evaluate, double x0, double step,
                            double lower, double upper, double tolerance, double slopeTolerance,
                            int maxEvaluations);
