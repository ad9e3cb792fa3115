#include "esp_fit.h"

#include <cmath>
#include <stdexcept>

#include "elements.h"

namespace {

double ShellScale(int layer, int layers) {
  return layers == 1 ? 1.4 : 1.4 + 0.6 * layer / (layers - 1);
}

// Nearly even points on a sphere: rings of latitude spaced by the mean
// distance between points, each ring filled in proportion to its length.
void AddSpherePoints(const Vec3& centre, double radius, int density, std::vector<Vec3>& out) {
  const double spacing = 1.0 / std::sqrt(static_cast<double>(density));
  const int rings = std::max(1, static_cast<int>(std::lround(kPi * radius / spacing)));
  for (int i = 0; i < rings; ++i) {
    const double theta = kPi * (i + 0.5) / rings;
    const int perRing = std::max(1, static_cast<int>(std::lround(2 * kPi * radius * std::sin(theta) / spacing)));
    for (int j = 0; j < perRing; ++j) {
      const double phi = 2 * kPi * j / perRing;
      out.push_back(centre + radius * Vec3{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                                           std::cos(theta)});
    }
  }
}

// Solves a x = b in place by elimination with partial pivoting.
std::vector<double> Solve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const size_t n = b.size();
  for (size_t col = 0; col < n; ++col) {
    size_t pivot = col;
    for (size_t r = col + 1; r < n; ++r) {
      if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
    }
    if (std::abs(a[pivot][col]) < 1e-12) throw std::runtime_error("the ESP charge fit is singular");
    std::swap(a[pivot], a[col]);
    std::swap(b[pivot], b[col]);
    for (size_t r = col + 1; r < n; ++r) {
      const double f = a[r][col] / a[col][col];
      for (size_t k = col; k < n; ++k) a[r][k] -= f * a[col][k];
      b[r] -= f * b[col];
    }
  }
  std::vector<double> x(n);
  for (size_t r = n; r-- > 0;) {
    double s = b[r];
    for (size_t k = r + 1; k < n; ++k) s -= a[r][k] * x[k];
    x[r] = s / a[r][r];
  }
  return x;
}

}  // namespace

std::vector<Vec3> MerzKollmanPoints(const std::vector<int>& atomicNumbers,
                                    const std::vector<Vec3>& positions, int layers, int density) {
  std::vector<Vec3> points;
  for (int layer = 0; layer < layers; ++layer) {
    const double scale = ShellScale(layer, layers);
    for (size_t a = 0; a < positions.size(); ++a) {
      std::vector<Vec3> shell;
      AddSpherePoints(positions[a], scale * EspRadius(atomicNumbers[a]), density, shell);
      for (const Vec3& p : shell) {
        bool outside = true;
        for (size_t b = 0; b < positions.size() && outside; ++b) {
          if (b == a) continue;
          const double r = scale * EspRadius(atomicNumbers[b]);
          outside = Distance(p, positions[b]) >= r;
        }
        if (outside) points.push_back(p);
      }
    }
  }
  return points;
}

EspCharges FitEspCharges(const std::vector<Vec3>& positions, const std::vector<Vec3>& points,
                         const std::vector<double>& potential, double totalCharge) {
  const size_t n = positions.size();
  if (points.size() < n) throw std::runtime_error("too few fit points for the ESP charge fit");
  // Normal equations with a Lagrange multiplier for the total charge.
  std::vector<std::vector<double>> a(n + 1, std::vector<double>(n + 1, 0.0));
  std::vector<double> b(n + 1, 0.0);
  std::vector<double> inverse(n);
  for (size_t p = 0; p < points.size(); ++p) {
    for (size_t k = 0; k < n; ++k) inverse[k] = kBohrInAngstrom / Distance(points[p], positions[k]);
    for (size_t j = 0; j < n; ++j) {
      b[j] += potential[p] * inverse[j];
      for (size_t k = 0; k < n; ++k) a[j][k] += inverse[j] * inverse[k];
    }
  }
  for (size_t k = 0; k < n; ++k) {
    a[n][k] = 1;
    a[k][n] = 1;
  }
  b[n] = totalCharge;
  const std::vector<double> x = Solve(a, b);
  EspCharges fit;
  fit.charges.assign(x.begin(), x.begin() + static_cast<long>(n));
  double misfit = 0, norm = 0;
  for (size_t p = 0; p < points.size(); ++p) {
    double v = 0;
    for (size_t k = 0; k < n; ++k) v += fit.charges[k] * kBohrInAngstrom / Distance(points[p], positions[k]);
    misfit += (v - potential[p]) * (v - potential[p]);
    norm += potential[p] * potential[p];
  }
  fit.rms = std::sqrt(misfit / static_cast<double>(points.size()));
  fit.rrms = norm > 0 ? std::sqrt(misfit / norm) : 0;
  return fit;
}
