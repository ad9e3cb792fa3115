// The bonded fit: the parameter tables prepared, the families to fit chosen,
// and one stage per family with its free parameters and QM references.
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "capacity.h"
#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "intra/trial_moves.h"
#include "mol.h"
#include "param/param.h"

namespace {

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

// The stage's free parameters at their current values.
Vec_DP StartVector() {
  Vec_DP p(nPrt);
  for (int i = 0; i < nPrt; ++i) p[i] = paramToOpt.param[i].value;
  return p;
}

// Makes the parameters that add lists the stage's free parameters; returns
// their current values.
Vec_DP StageStart(const std::function<void(CParamToOptArray&)>& add) {
  paramToOpt.init();
  add(paramToOpt);
  SetStageParameters();
  return StartVector();
}

// An evaluation that is computed in full whatever the one before it was:
// the first of a stage, whose parameters are not those of the last stage.
Real EvaluateAfresh(Vec_I_DP& p) {
  xPrev[0] = -100.0;
  return rmsd_b(p);
}

// Powell's method on the objective from p, at most itmax + 1 sweeps; each
// parameter starts with a direction as long as its own value. Afterwards
// param and the parameter file hold the best point found.
void Minimise(Vec_DP& p, int itmax, const char* stopped) {
  const int n = p.size();
  Mat_DP xi(0.0, n, n);
  for (int i = 0; i < n; ++i) xi[i][i] = p[i];
  xPrev[0] = -100.0;
  minx.clear();
  minFunc = 1e9;
  int iter = 0;
  Real fret = 0.0;
  charmmJobMemo.Switch(true);
  try {
    NR::powell(p, xi, 1e-9, itmax, iter, fret, rmsd_b);
  } catch (const std::exception&) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", stopped);
  }
  charmmJobMemo.Switch(false);
  // The minimiser's last evaluation is a trial point of its last line search,
  // not the point it returns: evaluate that point, so that the parameter table
  // and the parameter file hold the stage's result.
  EvaluateAfresh(p);
}

// The atoms a fitted angle entry shares as an end with each fitted angle
// entry (itself twice), listed per free parameter of the angle stage.
void PrintAngleNeighbours() {
  int element = 0;
  for (int e = 0; e < param.nangles; ++e) {
    const Param::Angles& a = param.angle[e];
    if (a.fOpt == 0) continue;
    int size = 0;
    for (int j = 0; j < param.nangles; ++j) {
      const Param::Angles& other = param.angle[j];
      if (other.fOpt == 0) continue;
      size += (a.i == other.i || a.i == other.k) + (a.k == other.i || a.k == other.k);
    }
    for (int copy = 0; copy < (a.ub == 1 ? 2 : 1); ++copy, ++element)
      for (int q = 0; q < size; ++q) std::printf("%i %i\n", element, q);
  }
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
  StartFitTables();
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
    // One evaluation of every family closes the fit, with the soft-dihedral data.
    OptInter.single = 1;
    TestBondedTerms();
    return;
  }
  for (int it = 0; it < NGlobalIterations; ++it) {
    if (b) OptimizeBondedTermsBonds();
    if (a) OptimizeBondedTermsAngles();
    if (d) OptimizeBondedTermsDiheImpr();
  }
  if (OptInter.single == 1) TestBondedTerms();
  termRmsdHistory.Print();
}

void CMolecule::OptimizeBondedTermsBonds() {
  if (FittedBonds() == 0) return;
  std::printf("$ optimization of bond terms\n");
  BondedTermsAbInitio();
  Vec_DP p = StageStart([](CParamToOptArray& list) { AddBondParameters(param, "f", list); });
  EvaluateAfresh(p);
  Minimise(p, 3, "$ powell stopped");
  std::printf("$ Optimization complete\n");

  p = StageStart([](CParamToOptArray& list) { AddBondParameters(param, "b", list); });
  Minimise(p, 2, "$ powell stopped");
  std::printf("$ Optimization complete\n");
}

void CMolecule::OptimizeBondedTermsAngles() {
  const int n = FittedAngles(1, 2);
  if (n == 0) return;
  std::printf("$ optimization of angle terms\n");
  std::printf("$ number of deegres of freedom: %i\n", n);
  BondedTermsAbInitio();
  Vec_DP p = StageStart([](CParamToOptArray& list) { AddAngleParameters(param, "fk", list); });
  PrintAngleNeighbours();
  Real best = EvaluateAfresh(p);
  AngleTrialMoves(p, best, rmsd_b);
  Minimise(p, 2, "powell stopped");
  std::printf("Optimization complete\n");

  p = StageStart([](CParamToOptArray& list) { AddAngleParameters(param, "as", list); });
  if (OptInter.single == 1)
    rmsd_b(p);
  else
    Minimise(p, 2, "powell stopped");
}

void CMolecule::OptimizeBondedTermsDiheImpr() {
  const int n = FittedDiheTerms();
  if (n == 0) return;
  std::printf("$ optimization of dihedral and improper terms \n");
  std::printf("$ number of deegres of freedom: %i\n", n);
  BondedTermsAbInitio();
  Vec_DP p = StageStart([](CParamToOptArray& list) { AddDiheImprForceConstants(param, list); });
  Real best = EvaluateAfresh(p);
  DiheTrialMoves(p, best, rmsd_b);
  Minimise(p, 2, "powell stopped");
  std::printf("$ Optimization complete\n");
}
