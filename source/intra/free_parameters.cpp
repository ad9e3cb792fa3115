// The free parameters of every included family, as one evaluation without
// fitting takes them.
#include "intra/BondOpt.h"

void AllFreeParameters(const Param& p, CParamToOptArray& list) {
  list.init();
  if (OptInter.sBond > 0) {
    for (int i = 0; i < p.nbonds; ++i) {
      const Param::Bonds& b = p.bond.at(i);
      if (b.fOpt == 0) continue;
      list.newParam('b', 'f', 0, i, b.force);
      list.newParam('b', 'b', 0, i, b.rmin);
    }
  }
  if (OptInter.sAngle > 0) {
    for (int i = 0; i < p.nangles; ++i) {
      const Param::Angles& a = p.angle.at(i);
      if (a.fOpt == 0) continue;
      list.newParam('a', 'f', 0, i, a.force);
      list.newParam('a', 'a', 0, i, a.amin);
      if (a.ub) {
        list.newParam('a', 'k', 0, i, a.kub);
        list.newParam('a', 's', 0, i, a.s0);
      }
    }
  }
  if (OptInter.sDihe > 0) AddDiheImprForceConstants(p, list);
}

void AddDiheImprForceConstants(const Param& p, CParamToOptArray& list) {
  for (int i = 0; i < p.ndihe; ++i) {
    const Param::Dihes& d = p.dihe.at(i);
    if (d.fOpt == 0) continue;
    for (int k = 0; k < d.ntms && k < kDiheTerms; ++k)
      if (d.NonZero[k]) list.newParam('d', 'f', k, i, d.force[k]);
  }
  for (int i = 0; i < p.nimpr; ++i)
    if (p.impr.at(i).fOpt != 0) list.newParam('i', 'f', 0, i, p.impr.at(i).force);
}
