// The stiffness of a scanned coordinate from one constrained QM optimisation
// at its first scan point: the scan points are respaced so that the outermost
// ones lie maxEnerQMScan above the minimum in a harmonic well.
#include <cmath>
#include <cstdio>

#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "intra/qm_constrained.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

std::string ForceConstStem(const CMolecule::ClassPESScanBonded& t) {
  return fpath + "/bond/" + t.name + "/fc";
}

}  // namespace

void CMolecule::Force_Const(int iScan) { Force_Consts({iScan}); }

void CMolecule::Force_Consts(const std::vector<int>& terms) {
  Gaussian::RunQMGroups(
      Gaussian::IndependentGroups(terms),
      [this](int iScan, std::vector<Gaussian::QMJob>& batch) {
        const ClassPESScanBonded& t = term.at(iScan);
        std::vector<Real> start(static_cast<std::size_t>(natm) * 3);
        CopyFromCoor(start, "main");
        const std::string stem = ForceConstStem(t);
        PrepareConstrainedQMOptimization(*this, stem + ".inp", stem + ".out", start,
                                         TermConstraints(t, t.val[0]), batch);
      },
      [this](int iScan) { ForceConstFromOutput(iScan); });
}

void CMolecule::ForceConstFromOutput(int iScan) {
  ClassPESScanBonded& t = term.at(iScan);
  const std::string dir = fpath + "/bond/" + t.name + "/";
  const std::string inp = ForceConstStem(t) + ".inp";
  const std::string out = ForceConstStem(t) + ".out";
  const Gaussian::GaussianOutputData w = ReadConstrainedQMOptimization(*this, out);
  run_gauss(inp, out);
  SetComparisonCoordinates(*this, w.prop.xyzInputOrient);
  WriteCoorPDB(dir + "pdb/fc.pdb", "comp");

  const Real e = w.prop.energy - energy;
  if (e < 0.0) {
    std::printf(
        "$ error during force constant calculations %s:  minimum structure is not the real "
        "minimum;\n$ redo optimization\n",
        t.name.c_str());
    EndProcess(1);
  }
  if (e == 0.0) {
    EndProcess(1, "$ error during force constant calculations " + t.name +
                      ": the first scan point has the energy of the minimum, so no step can be "
                      "derived; check " +
                      out + "\n");
  }
  const int npt = t.npt;
  const Real half = (t.val[npt - 1] - t.val[0]) / 2.0;
  const Real de = e * Const::_HARTREES_TO_KCALS_;
  const Real reach = half * std::sqrt(OptInter.maxEnerQMScan / de);
  const Real step = reach / (npt / 2);
  const Real centre = t.val[(npt - 1) / 2];
  for (int k = 0; k < npt; ++k) t.val[k] = centre + (k - npt / 2) * step;
}
