#include "minimiser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace mm {

namespace {

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
  return sum;
}

double LargestMagnitude(const std::vector<double>& v) {
  double m = 0;
  for (const double x : v) m = std::max(m, std::fabs(x));
  return m;
}

// The inverse Hessian of the quadratic model, n x n, row by row.
struct InverseHessian {
  std::size_t n = 0;
  double start = 1.0;  // the diagonal it starts from
  std::vector<double> h;
  bool updated = false;  // learnt something since the start

  void Reset() {
    h.assign(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) h[i * n + i] = start;
    updated = false;
  }
  // out = -H g
  void Descent(const std::vector<double>& g, std::vector<double>& out) const {
    for (std::size_t i = 0; i < n; ++i) {
      double sum = 0;
      for (std::size_t j = 0; j < n; ++j) sum += h[i * n + j] * g[j];
      out[i] = -sum;
    }
  }
  // The BFGS update for step s and gradient change y; skipped unless the
  // curvature along s is positive.
  void Update(const std::vector<double>& s, const std::vector<double>& y) {
    const double sy = Dot(s, y);
    if (!(sy > 1e-12 * std::sqrt(Dot(s, s) * Dot(y, y)))) return;
    updated = true;
    std::vector<double> hy(n);
    for (std::size_t i = 0; i < n; ++i) {
      double sum = 0;
      for (std::size_t j = 0; j < n; ++j) sum += h[i * n + j] * y[j];
      hy[i] = sum;
    }
    const double a = (sy + Dot(y, hy)) / (sy * sy);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) h[i * n + j] += a * s[i] * s[j] - (hy[i] * s[j] + s[i] * hy[j]) / sy;
  }
};

// Armijo's sufficient decrease, and the shortest step tried before the
// search gives up (rounding).
constexpr double kSufficientDecrease = 1e-4;
constexpr double kShortestStep = 1e-10;

}  // namespace

MinimiserResult MinimiseBfgs(const Objective& f, std::vector<double> x, const MinimiserSettings& settings) {
  const std::size_t n = x.size();
  MinimiserResult r;
  std::vector<double> g(n), p(n), xn(n), gn(n), s(n), y(n);
  double e = f(x, g);
  r.evaluations = 1;
  InverseHessian hinv;
  hinv.n = n;
  hinv.start = settings.startInverseCurvature;
  hinv.Reset();
  while (n > 0) {
    hinv.Descent(g, p);
    double slope = Dot(g, p);
    if (std::sqrt(Dot(g, g) / n) <= settings.gradientRms && -0.5 * slope <= settings.valueChange) {
      break;
    }
    if (!(slope < 0)) {  // the model lost its positive curvature: start it again
      hinv.Reset();
      hinv.Descent(g, p);
      slope = Dot(g, p);
    }
    const double longest = LargestMagnitude(p);
    if (longest > settings.maxStep) {
      for (double& v : p) v *= settings.maxStep / longest;
      slope *= settings.maxStep / longest;
    }
    // Back-track from the full quasi-Newton step, the length from the
    // parabola through e, the slope and the value at the step that failed.
    double a = 1.0, en = 0.0;
    bool accepted = false;
    while (r.evaluations < settings.maxEvaluations && a >= kShortestStep) {
      for (std::size_t i = 0; i < n; ++i) xn[i] = x[i] + a * p[i];
      en = f(xn, gn);
      ++r.evaluations;
      if (en <= e + kSufficientDecrease * a * slope) {
        accepted = true;
        break;
      }
      const double curvature = 2 * (en - e - a * slope);
      const double next = curvature > 0 ? -slope * a * a / curvature : 0.5 * a;
      a = std::clamp(next, 0.1 * a, 0.5 * a);
    }
    if (!accepted) {
      if (hinv.updated && r.evaluations < settings.maxEvaluations) {  // once more down the gradient itself
        hinv.Reset();
        continue;
      }
      break;
    }
    for (std::size_t i = 0; i < n; ++i) {
      s[i] = xn[i] - x[i];
      y[i] = gn[i] - g[i];
    }
    hinv.Update(s, y);
    x.swap(xn);
    g.swap(gn);
    e = en;
  }
  r.x = std::move(x);
  r.value = e;
  return r;
}

}  // namespace mm
