// The free parameters of every included family, as one evaluation without
// fitting takes them.
#include "intra/BondOpt.h"

void AllFreeParameters(const Param& p, CParamToOptArray& list) {
  list.init();
  if (OptInter.sBond > 0) AddBondParameters(p, "fb", list);
  if (OptInter.sAngle > 0) AddAngleParameters(p, "faks", list);
  if (OptInter.sDihe > 0) AddDiheImprForceConstants(p, list);
}

void AddBondParameters(const Param& p, const char* kinds, CParamToOptArray& list) {
  for (int i = 0; i < p.nbonds; ++i) {
    const Param::Bonds& b = p.bond.at(i);
    if (b.fOpt == 0) continue;
    for (const char* k = kinds; *k != '\0'; ++k) list.newParam('b', *k, 0, i, *k == 'f' ? b.force : b.rmin);
  }
}

void AddAngleParameters(const Param& p, const char* kinds, CParamToOptArray& list) {
  for (int i = 0; i < p.nangles; ++i) {
    const Param::Angles& a = p.angle.at(i);
    if (a.fOpt == 0) continue;
    for (const char* k = kinds; *k != '\0'; ++k) {
      if ((*k == 'k' || *k == 's') && a.ub != 1) continue;
      const Real value = *k == 'f' ? a.force : *k == 'a' ? a.amin : *k == 'k' ? a.kub : a.s0;
      list.newParam('a', *k, 0, i, value);
    }
  }
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
