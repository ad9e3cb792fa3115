// The regular grid over the dihedral space of a multi-dimensional scan.
#include "intra/grid.h"

#include <cmath>
#include <cstdio>
#include <iomanip>

#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/settings.h"

namespace {

// |a - b| on the circle: reduced by whole turns while that makes it smaller.
Real PeriodicDistance(Real a, Real b) {
  Real d = std::fabs(a - b);
  while (std::fabs(d - 360.0) < d) d = std::fabs(d - 360.0);
  return d;
}

// b - a brought into (-180, 180]: the step from a to b the short way round.
Real PeriodicStep(Real a, Real b) {
  Real d = b - a;
  while (d > 180.0) d -= 360.0;
  while (d <= -180.0) d += 360.0;
  return d;
}

// True when p and q agree in every dimension but `skip`.
bool AgreeBut(const CGridPoint& p, const CGridPoint& q, std::size_t skip) {
  Real sum = 0.0;
  for (std::size_t d = 0; d < p.val.size(); ++d)
    if (d != skip) sum += std::fabs(p.val[d] - q.val[d]);
  return sum <= _TINY;
}

}  // namespace

void CGridPoint::Print() const {
  std::printf("%4i ", id);
  for (const Real v : val) std::printf("%9.2f ", v);
  const Real cut = ParamMultiDiheScan.cutEnergy + 5.0;
  if (ifHasValue && eQMnorm < cut)
    std::printf("%9.2f %12.5f\n", eQMnorm, eQM);
  else
    std::printf("%9.2f %12.5f\n", cut, 0.0);
}

void CGridPoint::Print(std::ofstream& out) const {
  // A blank after the id keeps it apart from a coordinate when read back.
  out << std::setw(4) << id << " " << std::fixed << std::setprecision(2);
  for (const Real v : val) out << v << " ";
  out << std::setw(4) << eQMnorm << " " << eQMest << "\n";
}

void CGrid::NewPoint(std::vector<double>& v) {
  if (static_cast<int>(v.size()) != nDim) EndProcess(1, "error in multidimentional scan\n");
  CGridPoint& p = point.emplace_back();
  p.val = v;
}

void CGrid::AddPoints(int k, std::vector<double>& v) {
  while (v.at(k) < 180.0) {
    if (k + 1 < nDim)
      AddPoints(k + 1, v);
    else
      NewPoint(v);
    v[k] += ParamMultiDiheScan.meshSize;
  }
  v[k] = -180.0;
}

void CGrid::FindNeighbors() {
  const Real mesh = ParamMultiDiheScan.meshSize;
  for (CGridPoint& p : point) {
    p.closePoint.clear();
    if (p.ifSeed) {
      for (CGridPoint& q : point) {
        if (&q == &p) continue;
        bool close = true;
        for (std::size_t d = 0; d < p.val.size(); ++d)
          close = close && PeriodicDistance(p.val[d], q.val[d]) <= mesh;
        if (close) p.closePoint.push_back(&q);
      }
      continue;
    }
    for (std::size_t d = 0; d < p.val.size(); ++d) {
      CGridPoint* below = nullptr;
      CGridPoint* above = nullptr;
      Real stepBelow = 0.0, stepAbove = 0.0;
      for (CGridPoint& q : point) {
        if (&q == &p || !AgreeBut(p, q, d)) continue;
        const Real step = PeriodicStep(p.val[d], q.val[d]);
        if (step < 0.0 && step > -mesh - _TINY && (below == nullptr || step > stepBelow)) {
          below = &q;
          stepBelow = step;
        }
        if (step > 0.0 && step < mesh + _TINY && (above == nullptr || step < stepAbove)) {
          above = &q;
          stepAbove = step;
        }
      }
      p.closePoint.push_back(below != nullptr ? below : &point.front());
      p.closePoint.push_back(above != nullptr ? above : &point.front());
    }
  }
}

void CGrid::PrintPoints() const {
  for (const CGridPoint& p : point) p.Print();
}

Real angleDiff(Real a, Real b) {
  Real d = a - b;
  if (d > 360.0) d -= 360.0;
  if (d < -360.0) d += 360.0;
  return d;
}

Real angle360(Real a) {
  while (a > 360.0) a -= 360.0;
  while (a < -360.0) a += 360.0;
  return a;
}

bool ifDiheTheSame(std::vector<int>& a, std::vector<int> b) {
  if (a.size() != 4 || b.size() != 4) EndProcess(1, "wrong dimentions in func ifDiheTheSame\n");
  return compareDihe(a, b);
}
