// The ESP error of a geometry as a quadratic function of the charges. With
// A_pk = 332.0716 / d_pk and V_p the QM potential at point p, the summed
// squared misfit, its mean removed, is |A_c q - V_c|^2 (subscript c: column
// means removed) = |R (q, -1)|^2, where R is the triangular factor of the
// matrix [A_c | V_c]. R is built once per geometry by Givens rotations, a row
// per point; the Gram matrix [A_c | V_c]^T [A_c | V_c] is never formed, so a
// close fit keeps its digits instead of losing them to cancellation.
#include "charge/esp_term.h"

#include <cmath>
#include <stdexcept>

namespace {

using Form = CMolecule::CESP::CMisfitForm;

bool HasPoints(const CMolecule& s, int g) {
  const auto& e = s.ESP;
  if (g < 0 || static_cast<std::size_t>(g) >= e.QMESPval.size() ||
      static_cast<std::size_t>(g) >= e.distESPPoint.size()) {
    return false;
  }
  const std::size_t npt = e.QMESPval[g].size();
  return npt > 0 && e.distESPPoint[g].size() >= npt * static_cast<std::size_t>(s.natm);
}

bool Prepared(const CMolecule& s, int g) {
  if (static_cast<std::size_t>(g) >= s.ESP.misfit.size()) return false;
  const Form& f = s.ESP.misfit[g];
  return f.npt > 0 && f.natm == s.natm && f.npt == s.ESP.QMESPval[g].size();
}

// Rotates the row x into the triangular factor R (m x m, row-major).
void AddRow(std::vector<double>& R, std::vector<double>& x, std::size_t m) {
  for (std::size_t j = 0; j < m; ++j) {
    if (x[j] == 0.0) continue;
    double* r = &R[j * m];
    const double h = std::hypot(r[j], x[j]);
    const double c = r[j] / h, s = x[j] / h;
    r[j] = h;
    for (std::size_t k = j + 1; k < m; ++k) {
      const double t = c * r[k] + s * x[k];
      x[k] = c * x[k] - s * r[k];
      r[k] = t;
    }
  }
}

}  // namespace

namespace OptimizeCharge {

Form EspMisfitForm(const CMolecule& s, int g) {
  Form f;
  if (!HasPoints(s, g)) return f;
  const std::vector<double>& v = s.ESP.QMESPval[g];
  const std::vector<double>& d = s.ESP.distESPPoint[g];
  const std::size_t n = static_cast<std::size_t>(s.natm), m = n + 1, npt = v.size();
  std::vector<double> mean(m, 0.0);
  for (std::size_t p = 0; p < npt; ++p) {
    for (std::size_t k = 0; k < n; ++k) mean[k] += Const::_ATOMIC_TO_KCALS_ / d[p * n + k];
    mean[n] += v[p];
  }
  for (double& x : mean) x /= static_cast<double>(npt);
  f.natm = s.natm;
  f.npt = npt;
  f.R.assign(m * m, 0.0);
  std::vector<double> row(m);
  for (std::size_t p = 0; p < npt; ++p) {
    for (std::size_t k = 0; k < n; ++k) row[k] = Const::_ATOMIC_TO_KCALS_ / d[p * n + k] - mean[k];
    row[n] = v[p] - mean[n];
    AddRow(f.R, row, m);
  }
  return f;
}

void PrepareEspFit(CMolecule& s) {
  s.ESP.misfit.assign(s.ESP.QMESPval.size(), Form());
  for (int g = 0; g < static_cast<int>(s.ESP.misfit.size()); ++g) s.ESP.misfit[g] = EspMisfitForm(s, g);
}

Real EspMisfit(const Form& form, const CMolecule& s) {
  if (form.npt == 0) return 0.0;
  if (form.natm != s.natm) throw std::invalid_argument("the ESP misfit form belongs to another molecule");
  const std::size_t n = static_cast<std::size_t>(form.natm), m = n + 1;
  Real sum = 0.0;
  for (std::size_t i = 0; i < m; ++i) {
    const double* r = &form.R[i * m];
    Real y = -r[n];
    for (std::size_t k = i; k < n; ++k) y += r[k] * s.atom[k].q;
    sum += y * y;
  }
  return std::sqrt(sum / static_cast<Real>(form.npt));
}

}  // namespace OptimizeCharge

Real CMolecule::GetRMSESPfit(int igeom) const {
  if (!HasPoints(*this, igeom)) return 0.0;
  if (Prepared(*this, igeom)) return OptimizeCharge::EspMisfit(ESP.misfit[igeom], *this);
  return OptimizeCharge::EspMisfit(OptimizeCharge::EspMisfitForm(*this, igeom), *this);
}
