#pragma once

#include <functional>
#include <vector>

// A quasi-Newton (BFGS) minimiser of a smooth function of a few hundred
// variables at most, for the restrained minimisations of a scan: it keeps
// the whole inverse Hessian, so a point whose restraints are many orders
// stiffer than the molecule's own terms converges in a few dozen steps.
namespace mm {

// The value at x; writes the gradient into g (resized by the caller to the
// size of x).
using Objective = std::function<double(const std::vector<double>& x, std::vector<double>& g)>;

struct MinimiserSettings {
  // Converged when the RMS of the gradient's components is at most
  // gradientRms and the decrease the quadratic model still expects
  // (g.H^-1.g / 2, H^-1 the current inverse Hessian) is at most valueChange.
  double gradientRms = 1e-3;
  double valueChange = 1e-6;
  // The inverse Hessian starts as this times the identity: one over a
  // curvature typical of the function, not of its stiffest direction, which
  // the updates learn within a few steps.
  double startInverseCurvature = 1.0;
  double maxStep = 0.2;  // largest change of one variable in one step
  // The search also ends when these run out, or when no step along its
  // direction lowers the value any more (rounding).
  int maxEvaluations = 20000;
};

struct MinimiserResult {
  std::vector<double> x;
  double value = 0;
  int evaluations = 0;
};

MinimiserResult MinimiseBfgs(const Objective& f, std::vector<double> x, const MinimiserSettings& settings);

}  // namespace mm
