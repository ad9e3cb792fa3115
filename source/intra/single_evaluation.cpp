// One evaluation of the bonded objective with the current parameters of
// every included family, without fitting: how well the parameters at hand
// reproduce the QM references.
#include <cstdio>

#include "intra/BondOpt.h"

void CMolecule::TestBondedTerms() {
  std::printf("$ test of bonded terms without optimization\n");
  BondedTermsAbInitio();
  AllFreeParameters(param, paramToOpt);
  nPrt = static_cast<int>(paramToOpt.param.size());
  if (nPrt > 0) CheckCapacity(static_cast<std::size_t>(nPrt) - 1, kMaxBondedParams, "free parameters of the bonded fit");
  Vec_DP x(nPrt);
  for (int i = 0; i < nPrt; ++i) x[i] = ParamInit[i] = paramToOpt.param[i].value;
  xPrev[0] = -100.0;
  rmsd_b(x);
}
