// How well the MM-minimised scan structures follow the QM-optimised ones in
// the optimised bond lengths and angles: changes between neighbouring scan
// points compared, not absolute values.
#include <cmath>

#include "intra/BondOpt.h"

namespace {

constexpr Real kDegreesPerRadian = 180.0 / Const::PI;

// Sum over neighbouring points of the squared difference between the QM and
// the MM change of coordinate q (a function of one structure).
template <class Coordinate>
Real SquaredChangeDifferences(const CMolecule::ClassPESScanBonded& t, Coordinate q, bool degrees) {
  Real sum = 0.0;
  for (int k = 1; k < t.npt; ++k) {
    const auto& qm0 = t.QMPESStructure.at(k - 1);
    const auto& qm1 = t.QMPESStructure.at(k);
    const auto& mm0 = t.EMPPESStructure.at(k - 1);
    const auto& mm1 = t.EMPPESStructure.at(k);
    Real d = (q(qm0) - q(qm1)) - (q(mm0) - q(mm1));
    if (degrees) {
      d *= kDegreesPerRadian;
      if (d > 180.0) d -= 180.0;
    }
    sum += d * d;
  }
  return sum;
}

Real RootMean(Real sum, int n) { return n != 0 ? std::sqrt(sum / n) : 0.0; }

}  // namespace

Real rmsd_str() {
  Real rb = 0.0, ra = 0.0, rub = 0.0;
  if (OptInter.sBond >= 1) {
    Real sum = 0.0;
    int count = 0;
    for (const auto& b : mol1.bond) {
      if (param.bond.at(static_cast<std::size_t>(b.fid)).fOpt == 0) continue;
      const int i = b.aid[0], j = b.aid[1];
      for (const auto& t : mol1.term) {
        if (t.type != 'b') continue;
        sum += SquaredChangeDifferences(t, [=](const CMolecularGeometry& g) { return g.distance(i, j); }, false);
        if (t.npt > 1) count += t.npt - 1;
      }
    }
    rb = RootMean(sum, count);
  }
  if (OptInter.sAngle >= 1) {
    Real sum = 0.0, sumUB = 0.0;
    int count = 0;
    for (const auto& a : mol1.angle) {
      const Param::Angles& entry = param.angle.at(static_cast<std::size_t>(a.fid));
      if (entry.fOpt == 0) continue;
      const int i = a.aid[0], j = a.aid[1], k = a.aid[2];
      for (const auto& t : mol1.term) {
        if (t.type != 'a') continue;
        sum += SquaredChangeDifferences(t, [=](const CMolecularGeometry& g) { return g.angle(i, j, k); }, true);
        if (entry.ub) {
          sumUB += SquaredChangeDifferences(t, [=](const CMolecularGeometry& g) { return g.distance(i, j); }, false);
          sumUB += SquaredChangeDifferences(t, [=](const CMolecularGeometry& g) { return g.distance(j, k); }, false);
        }
        if (t.npt > 1) count += t.npt - 1;
      }
    }
    ra = RootMean(sum, count);
    rub = RootMean(sumUB, count);
  }
  return 1000.0 * rb + 10.0 * ra + 1000.0 * rub;
}
