// The bonded fit: the parameter tables prepared, the families to fit chosen,
// and one stage per family with its free parameters and QM references.
#include <cstdio>

#include "capacity.h"
#include "errors.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "param/param.h"

namespace {

// ---------------------------------------------------------------------------
// The objective and the minimisers are not part of the program yet: every
// place that would evaluate the fit ends the run here.
[[noreturn]] void FitNotAvailable() {
  EndProcess(1,
             "$ err fitting the bonded terms is not available yet; fc computes the QM "
             "references\n");
}
// ---------------------------------------------------------------------------

// A fitted dihedral entry without any term has nothing to fit and no
// parameters for CHARMM: it starts from a weak two-fold term.
void GiveEmptyDihedralsATerm() {
  for (int e = 0; e < param.ndihe; ++e) {
    Param::Dihes& d = param.dihe.at(e);
    if (d.fOpt == 0 || !Param::GiveStartingTerm(d)) continue;
    std::printf(
        "$ dihedral %s %s %s %s has no term: it starts from 0.01 kcal/mol, multiplicity 2, "
        "phase 0\n",
        d.atp1.c_str(), d.atp2.c_str(), d.atp3.c_str(), d.atp4.c_str());
  }
}

int FittedBonds() {
  int n = 0;
  for (int e = 0; e < param.nbonds; ++e) n += param.bond.at(e).fOpt != 0;
  return n;
}

// Fitted angle entries, those with a Urey-Bradley term counted `ubWeight` times.
int FittedAngles(int weight, int ubWeight) {
  int n = 0;
  for (int e = 0; e < param.nangles; ++e) {
    const Param::Angles& a = param.angle.at(e);
    if (a.fOpt != 0) n += a.ub == 1 ? ubWeight : weight;
  }
  return n;
}

// Set terms of fitted dihedral entries plus fitted improper entries.
int FittedDiheTerms() {
  int n = 0;
  for (int e = 0; e < param.ndihe; ++e) {
    const Param::Dihes& d = param.dihe.at(e);
    if (d.fOpt == 0 || d.ntms <= 0) continue;
    for (int k = 0; k < d.ntms && k < kDiheTerms; ++k) n += d.NonZero[k] != 0;
  }
  for (int e = 0; e < param.nimpr; ++e) n += param.impr.at(e).fOpt != 0;
  return n;
}

int DegreesOfFreedom() {
  int n = 0;
  if (OptInter.sBond > 0) n += 2 * FittedBonds();
  if (OptInter.sAngle > 0) n += FittedAngles(2, 4);
  if (OptInter.sDihe > 0) n += FittedDiheTerms();
  return n;
}

// Makes paramToOpt the stage's free parameters and their values the start.
void SetStageParameters() {
  nPrt = static_cast<int>(paramToOpt.param.size());
  if (nPrt > 0) CheckCapacity(nPrt - 1, ParamInit.size(), "free parameters of a stage");
  for (int i = 0; i < nPrt; ++i) ParamInit[i] = paramToOpt.param[i].value;
}

}  // namespace

void CMolecule::OptimizeBondedTerms() {
  if (OptInter.fPrev > 0) param.ReadInitialParam(OptInter.filePrev);
  GiveEmptyDihedralsATerm();
  param.write_param();
  if (OptInter.fPrintMiss == 1) EndProcess(0);
  param.read_restr();
  if (DegreesOfFreedom() == 0) {
    std::printf("$ number of deegres of freedom: %i\n", 0);
    BondedTermsAbInitio();
  }
  moltmp = *this;
  paramInitial = param;
  // The force constants of every family, then the end of the run.
  if (OptInter.fc) BondedTermsAbInitio();
  if (OptInter.single == 1) {
    TestBondedTerms();
    return;
  }

  const int b = OptInter.sBond, a = OptInter.sAngle, d = OptInter.sDihe;
  const auto only = [&](int sb, int sa, int sd, void (CMolecule::*stage)()) {
    OptInter.sBond = sb;
    OptInter.sAngle = sa;
    OptInter.sDihe = sd;
    (this->*stage)();
    OptInter.sBond = b;
    OptInter.sAngle = a;
    OptInter.sDihe = d;
  };
  if (b + a + d > 1) {
    for (int it = 0; it < NGlobalIterations; ++it) {
      if (d) only(0, 0, d, &CMolecule::OptimizeBondedTermsDiheImpr);
      if (b) only(b, 0, 0, &CMolecule::OptimizeBondedTermsBonds);
      if (a) only(0, a, 0, &CMolecule::OptimizeBondedTermsAngles);
    }
    OptInter.single = 1;
    TestBondedTerms();
  }
  for (int it = 0; it < NGlobalIterations; ++it) {
    if (b) OptimizeBondedTermsBonds();
    if (a) OptimizeBondedTermsAngles();
    if (d) OptimizeBondedTermsDiheImpr();
  }
  if (OptInter.single == 1) TestBondedTerms();
}

void CMolecule::OptimizeBondedTermsBonds() {
  if (FittedBonds() == 0) return;
  std::printf("$ optimization of bond terms\n");
  BondedTermsAbInitio();
  paramToOpt.init();
  for (int e = 0; e < param.nbonds; ++e)
    if (param.bond[e].fOpt != 0) paramToOpt.newParam('b', 'f', 0, e, param.bond[e].force);
  SetStageParameters();
  FitNotAvailable();  // the force constants, then the lengths
}

void CMolecule::OptimizeBondedTermsAngles() {
  const int n = FittedAngles(1, 2);
  if (n == 0) return;
  std::printf("$ optimization of angle terms\n");
  std::printf("$ number of deegres of freedom: %i\n", n);
  BondedTermsAbInitio();
  paramToOpt.init();
  for (int e = 0; e < param.nangles; ++e) {
    const Param::Angles& g = param.angle[e];
    if (g.fOpt == 0) continue;
    paramToOpt.newParam('a', 'f', 0, e, g.force);
    if (g.ub == 1) paramToOpt.newParam('a', 'k', 0, e, g.kub);
  }
  SetStageParameters();
  FitNotAvailable();  // the trial moves and the minimiser, then the equilibrium values
}

void CMolecule::OptimizeBondedTermsDiheImpr() {
  const int n = FittedDiheTerms();
  if (n == 0) return;
  std::printf("$ optimization of dihedral and improper terms \n");
  std::printf("$ number of deegres of freedom: %i\n", n);
  BondedTermsAbInitio();
  paramToOpt.init();
  for (int e = 0; e < param.ndihe; ++e) {
    const Param::Dihes& g = param.dihe[e];
    if (g.fOpt == 0) continue;
    for (int k = 0; k < g.ntms && k < kDiheTerms; ++k)
      if (g.NonZero[k] != 0) paramToOpt.newParam('d', 'f', k, e, g.force[k]);
  }
  for (int e = 0; e < param.nimpr; ++e)
    if (param.impr[e].fOpt != 0) paramToOpt.newParam('i', 'f', 0, e, param.impr[e].force);
  SetStageParameters();
  FitNotAvailable();  // the trial moves and the minimiser
}
