#include "charge/driver.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "charge/ChargeSettings.h"
#include "charge/determinacy.h"
#include "charge/objective.h"
#include "charge/relations.h"
#include "charge/report.h"
#include "charge/report_tables.h"
#include "charge/water.h"
#include "errors.h"
#include "io.h"
#include "numerical_recipes/SimAnnealing.h"
#include "numerical_recipes/nrutil_nr.h"
#include "param.h"
#include "util.h"

namespace {

constexpr Real kFitTolerance = 1e-5;
constexpr int kFitMaxSteps = 10000;

void PrintAtomLine(int number, const CMolecule::CAtom& a) {
  std::printf("%3i %7s %7s [q : %10.3f]  [eps : %10.3f]  [rmin/2 : %10.3f]\n", number,
              a.name.c_str(), a.type.c_str(), a.q, a.eps, a.rmin);
}

// The start charges beside the optimised ones.
void PrintChargeTable(const CMolecule& s) {
  std::printf(" Atom   &  initial  & optimized & penalty \n");
  for (int i = 0; i < s.natm; ++i) {
    const CMolecule::CAtom& a = s.atom[i];
    std::printf("%7s & %9.3f & %9.3f & %9.1f \n", a.name.c_str(), a.qstart, a.qopt, a.qpenalty);
  }
}

void KeepOptimised(CMolecule& s) {
  for (CMolecule::CAtom& a : s.atom) a.qopt = a.q;
}

Vec_DP IndependentCharges(const CMolecule& s) {
  Vec_DP p(CountIndependent(s));
  int v = 0;
  for (int i = 0; i < s.natm; ++i) {
    if (IsIndependent(s, i)) p[v++] = s.atom[i].q;
  }
  return p;
}

// A term that is not a finite number at the start charges (a QM energy or
// qmwaterenergy far out of scale) stays so wherever the minimisers go, and
// the fit would end in nan or in unfitted charges: stop before it starts.
void CheckObjectiveIsFinite() {
  const int steps = iStepOpt;
  iStepOpt = 1;  // an evaluation of its own: neither printed nor counted
  OptimizeCharge::TargetFunction();
  iStepOpt = steps;
  const ClassTargetFunctionContributions& c = targetFunctionContributions;
  const std::pair<const char*, Real> parts[] = {
      {"water interaction energies", c.interEnergy}, {"water distances", c.interWaterDist},
      {"dipole moment", c.dipoleMoment},           {"electrostatic potential", c.fitESPpot},
      {"charge restraints", c.chargeRest}};
  std::string bad;
  for (const auto& [name, value] : parts)
    if (!std::isfinite(value)) bad += std::string(bad.empty() ? "" : ", ") + name;
  if (bad.empty()) return;
  EndProcess(1, "$ err the charge-fit objective is not a finite number at the start charges (" + bad +
                    "): check the Lennard-Jones terms of the solute and the water, and the QM "
                    "energies and qmwaterenergy\n");
}

void RunMinimisers(CMolecule& s, int nvar) {
  std::printf("$ Optimization of charges started : %s", LTime().c_str());
  Vec_DP p = IndependentCharges(s);
  Mat_DP xi(0.0, nvar, nvar);
  int iter = 0;
  Real fret = 0.0;
  SimAnnealing(p, xi, kFitTolerance, kFitMaxSteps, iter, fret, OptimizeCharge::OptimizedFunction);
  KeepOptimised(s);
  std::printf("\n$ Charges after simulated annealing: \n");
  PrintChargeTable(s);
  std::printf("\n$ Minimum object function value : %9.3f \n$ total number of minimization steps : %d\n",
              fret, iStepOpt);
  KeepOptimised(s);
  PrintSeparate();

  p = IndependentCharges(s);
  xi = 0.0;
  for (int i = 0; i < nvar; ++i) xi[i][i] = 1.0;
  NR::powell(p, xi, kFitTolerance, kFitMaxSteps, iter, fret, OptimizeCharge::OptimizedFunction);
  std::printf("\n$ Minimum object function value : %9.3f \n$ total number of minimization steps : %d\n",
              fret, iStepOpt);
  KeepOptimised(s);
  std::printf("$ Optimization of charges finished : %s", LTime().c_str());
}

}  // namespace

void ReadInitialChargesFromFile(CMolecule& s, const std::string& path) {
  std::ifstream f(path);
  if (!f) throw DetailedError("$ err can not open the start-charge file " + path);
  std::string line;
  for (int number = 1; std::getline(f, line); ++number) {
    line = Upper(line);
    if (Lower(tprint(line, 1)) != "atom") continue;
    CMolecule::CAtom& a = s.atom[s.AtomIndex(tprint(line, 2))];
    try {
      a.q = WholeReal(tprint(line, 4));
    } catch (const std::exception&) {
      throw DetailedError("$ err " + path + ":" + inttostr(number) + ": the charge of " + a.name +
                          ", '" + tprint(line, 4) + "', is not a finite number");
    }
    if (NF(line) > 5 && ifFloat(tprint(line, 6))) {
      const Real penalty = strfloat(tprint(line, 6));
      if (penalty >= 0.0) a.qpenalty = penalty;
    }
  }
}

namespace OptimizeCharge {

void RoundCharges(CMolecule& s) {
  for (CMolecule::CAtom& a : s.atom) a.q = round(a.q, 3);
  const Real extra = s.Q() - s.netcharge;
  for (int i = 0; i < s.natm; ++i) {
    if (IsIndependent(s, i)) {
      s.atom[i].q = round(s.atom[i].q - extra, 3);
      break;
    }
  }
}

void WriteChargeSnapshots(CMolecule& s) {
  for (int g = 0; g < s.ngeom; ++g) {
    s.ActivateGeometry(g);
    const std::string dir = fpath + "/water" + inttostr(g + 1) + "/respdb/";
    mkdr(fpath + "/water" + inttostr(g + 1));
    mkdr(dir);
    s.WriteCoorPDB(dir + "opt.pdb", "main");
    for (std::size_t i = 0; i < h2o.size(); ++i) {
      WaterTIP3P& w = h2o[i];
      if (w.iProbedGeometry != g || !(w.h2oscale > 0.0)) continue;
      const std::string name = w.atm1 + "." + w.atm3 + "." + floattostr(w.h2oangle, 1) + ".pdb";
      w.h2otrans(s, w.empdst);
      w.WriteCoorPDB(dir + "ff." + name, "main");
      w.h2otrans(s, w.QMInterDist);
      w.WriteCoorPDB(dir + "qm." + name, "main");
    }
  }
}

void OptimizeCharges(CMolecule& s) {
  CParamOptCharges& par = ParamOptCharges;
  CreateWaters(s);
  par.WeghtGeometry.resize(s.ngeom, 1.0);
  RestrainCharges(s);
  ApplyCorrectionToQMData(s);
  s.read_nnbond();
  if (!par.chargeInitFile.empty()) {
    std::printf("$ reading initial charges from %s\n", UserFilePath(par.chargeInitFile).c_str());
    ReadInitialChargesFromFile(s, UserFilePath(par.chargeInitFile));
  }
  if (par.startFromQPOP) {
    for (int i = 0; i < s.natm; ++i) {
      if (IsIndependent(s, i)) s.atom[i].q = s.atom[i].qpop;
    }
  }
  const bool waters = h2o.size() > 0;
  if (waters) read_nbfix_for_two_mol(s, h2o[0]);
  for (CMolecule::CAtom& a : s.atom) a.qstart = a.q;
  EqualizeCharge(s);

  std::printf("$ These charges/vdW parameters will be used for the solute in the charge optimization : \n");
  for (int i = 0; i < s.natm; ++i) PrintAtomLine(i + 1, s.atom[i]);
  if (waters) {
    std::printf("$ for water : \n");
    for (int i = 0; i < h2o[0].natm; ++i) PrintAtomLine(i + 1, h2o[0].atom[i]);
  }
  PrepareTargetFunction(s);
  WarnUnfixedCharges(s);

  const int nvar = CountIndependent(s);
  CheckObjectiveIsFinite();
  if (!par.skipOpt) {
    RunMinimisers(s, nvar);
  } else {
    OptimizedFunction(IndependentCharges(s));
    KeepOptimised(s);
  }

  PrintChargeOptResults(s);
  RoundCharges(s);
  WarnLargeCharges(s);
  std::printf("\n$ Developed charges : \n");
  PrintChargeTable(s);
  WriteChargeTable(s);
  PrintSeparate();
  // The rounded charges sum to the net charge up to the last bits, which
  // must not print as "-0.000".
  Real total = round(s.Q(), 3);
  if (total == 0.0) total = 0.0;
  std::printf("$ Total charge computed / given : %7.3f / %7.3f \n", total, s.netcharge);
  WriteChargeSnapshots(s);
}

}  // namespace OptimizeCharge
