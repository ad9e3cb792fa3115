#include "charge/determinacy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charge/ChargeSettings.h"
#include "charge/objective.h"
#include "charge/relations.h"
#include "charge/water.h"
#include "constants.h"
#include "io.h"

namespace {

// Share of a column's length below which the other columns leave it nothing
// of its own, and the largest fitted charge that raises no question, e.
constexpr Real kOwnShare = 0.05;
constexpr Real kLargeCharge = 1.2;

using Row = std::vector<Real>;

bool IsFree(const CMolecule& s, int i) {
  return IsIndependent(s, i) && s.atom[i].qpenalty >= OptimizeCharge::kRestrainedPenalty;
}

// One row per datum: the derivative of the datum by each free charge, through
// the relations that tie other atoms to it; unit length, so that kinds of
// data in other units weigh alike.
void AddRow(Row row, std::vector<Row>& rows) {
  Real norm = 0.0;
  for (const Real v : row) norm += v * v;
  if (norm <= 0.0) return;
  for (Real& v : row) v /= std::sqrt(norm);
  rows.push_back(std::move(row));
}

std::vector<Row> DataRows(CMolecule& s, const std::vector<int>& free) {
  std::vector<Row> rows;
  const auto perAtom = [&](auto value) {
    Row row;
    for (const int i : free) {
      Real d = 0.0;
      const Row& rel = s.atom[i].qrel;
      for (int j = 0; j < s.natm && j < static_cast<int>(rel.size()); ++j)
        if (rel[j] != 0.0) d += rel[j] * value(j);
      row.push_back(d);
    }
    return row;
  };
  AddRow(perAtom([](int) { return 1.0; }), rows);
  for (std::size_t k = 0; k < h2o.size(); ++k) {
    const WaterTIP3P& w = h2o[k];
    if (!(w.h2oscale > 0.0)) continue;
    s.ActivateGeometry(w.iProbedGeometry);
    AddRow(perAtom([&](int j) {
             Real potential = 0.0;
             for (const auto& site : w.atom) {
               Real r2 = 0.0;
               for (int c = 0; c < 3; ++c) r2 += std::pow(site.xyz[c] - s.atom[j].xyz[c], 2);
               potential += site.q / std::sqrt(std::max(r2, Const::Tiny));
             }
             return potential;
           }),
           rows);
  }
  if (ParamOptCharges.WeightDipoleMoment > 0.0) {
    for (int g = 0; g < s.ngeom; ++g) {
      s.ActivateGeometry(g);
      for (int c = 0; c < 3; ++c) AddRow(perAtom([&](int j) { return s.atom[j].xyz[c]; }), rows);
    }
  }
  return rows;
}

// The free charges whose columns keep less than kOwnShare of their length
// once the columns before them, in the order of most independent first, are
// taken out (a QR factorisation with column pivoting).
std::vector<int> Unfixed(const std::vector<Row>& rows, const std::vector<int>& free) {
  const std::size_t n = free.size();
  std::vector<Row> col(n, Row(rows.size()));
  std::vector<Real> length(n, 0.0);
  for (std::size_t j = 0; j < n; ++j) {
    for (std::size_t r = 0; r < rows.size(); ++r) col[j][r] = rows[r][j];
    for (const Real v : col[j]) length[j] += v * v;
    length[j] = std::sqrt(length[j]);
  }
  std::vector<bool> done(n, false);
  std::vector<int> unfixed;
  for (std::size_t step = 0; step < n; ++step) {
    std::size_t best = n;
    Real bestShare = -1.0;
    for (std::size_t j = 0; j < n; ++j) {
      if (done[j]) continue;
      Real own = 0.0;
      for (const Real v : col[j]) own += v * v;
      const Real share = length[j] > 0.0 ? std::sqrt(own) / length[j] : 0.0;
      if (share > bestShare) bestShare = share, best = j;
    }
    done[best] = true;
    if (bestShare < kOwnShare) {
      for (std::size_t j = 0; j < n; ++j)
        if (!done[j] || j == best) unfixed.push_back(free[j]);
      break;
    }
    Real norm = 0.0;
    for (const Real v : col[best]) norm += v * v;
    norm = std::sqrt(norm);
    for (std::size_t j = 0; j < n; ++j) {
      if (done[j]) continue;
      Real dot = 0.0;
      for (std::size_t r = 0; r < rows.size(); ++r) dot += col[j][r] * col[best][r] / norm;
      for (std::size_t r = 0; r < rows.size(); ++r) col[j][r] -= dot * col[best][r] / norm;
    }
  }
  return unfixed;
}

}  // namespace

void WarnUnfixedCharges(CMolecule& s) {
  if (ParamOptCharges.WeightESPpot > 0.0) return;
  std::vector<int> free;
  for (int i = 0; i < s.natm; ++i)
    if (IsFree(s, i)) free.push_back(i);
  if (free.empty()) return;
  // The rows visit the stored geometries; the active one is put back.
  std::vector<std::vector<double>> active;
  for (const auto& a : s.atom) active.push_back(a.xyz);
  const Vector3 dipole = s.QMDipole;
  const Real energy = s.energy;
  const std::vector<Row> rows = DataRows(s, free);
  for (int i = 0; i < s.natm; ++i) s.atom[i].xyz = active[i];
  s.fill_rv();
  s.QMDipole = dipole;
  s.energy = energy;
  const std::vector<int> unfixed = Unfixed(rows, free);
  if (unfixed.empty()) return;
  std::string names;
  for (const int i : free) names += " " + s.atom[i].name;
  std::fprintf(stderr,
               "$ warning: the %zu data of the fit (water interaction energies, dipole components, "
               "the net charge) cannot fix the %zu free charges of%s: tie atoms of like chemistry "
               "in the charge-relations file (q A B 1.0), restrain charges to their start values "
               "(a restraint class below %.0f in the start charges or the topology), probe more "
               "atoms or weight the ESP\n",
               rows.size(), free.size(), names.c_str(), OptimizeCharge::kRestrainedPenalty);
}

void WarnLargeCharges(const CMolecule& s) {
  std::string names;
  for (const auto& a : s.atom)
    if (std::fabs(a.q) > kLargeCharge) names += Format(" %s (%.3f)", a.name.c_str(), a.q);
  if (names.empty()) return;
  std::fprintf(stderr,
               "$ warning: fitted charges beyond +-%.1f e:%s; check the QM data, and tie or restrain "
               "these atoms\n",
               kLargeCharge, names.c_str());
}
