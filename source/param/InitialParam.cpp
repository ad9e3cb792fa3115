// Starting values of the entries to fit, from the parameter file of an
// earlier run.
#include "../intra/settings.h"
#include "../mol.h"
#include "param.h"

bool Param::GiveStartingTerm(Dihes& d) {
  for (int n = 0; n < kDiheTerms; ++n)
    if (d.NonZero[n] > 0) return false;
  d.force[1] = 0.01;
  d.angle[1] = 0.0;
  d.NonZero[1] = 1;
  return true;
}

void Param::ReadInitialParam(const std::string& filename) {
  // Entries are matched by index, so the values are read into a copy of
  // this very table.
  Param previous = *this;
  previous.readParamFromFile(filename);

  for (int e = 0; e < nbonds; ++e) {
    auto& b = bond[e];
    const auto& from = previous.bond[e];
    if (!b.fOpt || !from.ifread) continue;
    b.force = from.force;
    b.rmin = b.ideal = from.rmin;
    b.comment = from.comment;
    b.paramfile = filename;
  }
  for (int e = 0; e < nangles; ++e) {
    auto& a = angle[e];
    const auto& from = previous.angle[e];
    if (!a.fOpt || !from.ifread) continue;
    a.ub = from.ub;
    a.force = from.force;
    a.amin = from.amin;
    a.ideal = from.ideal;
    a.kub = from.kub;
    a.s0 = from.s0;
    a.comment = from.comment;
  }
  for (int e = 0; e < ndihe; ++e) {
    auto& d = dihe[e];
    const auto& from = previous.dihe[e];
    if (!d.fOpt || !from.ifread) continue;
    for (int n = 0; n < kDiheTerms; ++n) {
      d.force[n] = from.force[n];
      d.angle[n] = d.ideal[n] = from.angle[n];
      d.NonZero[n] = from.NonZero[n];
      d.paramfile[n] = filename;
    }
    d.comment = from.comment;
  }
  for (int e = 0; e < nimpr; ++e) {
    auto& m = impr[e];
    const auto& from = previous.impr[e];
    if (!m.fOpt || !from.ifread) continue;
    m.force = from.force;
    m.comment = from.comment;
  }

  // A dihedral needs at least one term.
  for (int e = 0; e < ndihe; ++e) GiveStartingTerm(dihe[e]);

  if (OptInter.fBondFromStructure) {
    for (int e = 0; e < nbonds; ++e) {
      auto& b = bond[e];
      if (b.fOpt) b.rmin = b.ideal = mol1.dist(b.i, b.j);
    }
  }
  if (OptInter.fAngleFromStructure) {
    for (int e = 0; e < nangles; ++e) {
      auto& a = angle[e];
      if (!a.fOpt) continue;
      a.amin = a.ideal = mol1.Angle(a.i, a.j, a.k) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
      if (a.ub == 1) a.s0 = mol1.dist(a.i, a.k);
    }
  }
  PrintParam();
}
