// The QM profile of one scanned internal coordinate: a constrained QM
// optimisation per point, the structures and forces reached, and the
// relative energies in qm_ref.dat.
#include <algorithm>
#include <fstream>

#include "errors.h"
#include "intra/BondOpt.h"
#include "intra/qm_constrained.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

// Forces in hartree/bohr as gradients in kcal/mol/Angstrom (627.51 / 0.53, sign turned).
constexpr Real kForceToKcalPerAngstrom = -627.51 / 0.53;

}  // namespace

void CMolecule::QM_PES_scan(int iScan) {
  ClassPESScanBonded& t = term.at(iScan);
  const GeometryGuard reference(*this);
  std::vector<Real> saved(static_cast<std::size_t>(natm) * 3);
  CopyFromCoor(saved, "main");
  t.energyQM.assign(t.npt, 0.0);
  t.QMPESStructure.assign(t.npt, CMolecularGeometry(*this));
  t.EMPPESStructure.assign(t.npt, CMolecularGeometry(*this));
  const std::string dir = fpath + "/bond/" + t.name + "/";

  for (const ClassOrderOpt& o : t.optOrder) {
    const std::string point = inttostr(o.i);
    std::vector<Real> start = saved;
    if (o.iprev >= 0) {
      ReadCoorPDB(dir + "pdb/" + inttostr(o.iprev) + ".pdb", 0, "main");
      CopyFromCoor(start, "main");
    }
    const std::string out = dir + point + ".scan.out";
    const Gaussian::GaussianOutputData w = ConstrainedQMOptimization(
        *this, dir + point + ".scan.inp", out, start, TermConstraints(t, t.val[o.i]));
    if (w.prop.force.size() != static_cast<std::size_t>(natm) * 3) {
      throw DetailedError(
          Format("$ err gaussian output %s holds %zu force components, %d expected: "
                 "inspect or remove it",
                 out.c_str(), w.prop.force.size(), natm * 3));
    }
    SetComparisonCoordinates(*this, w.prop.xyzInputOrient);
    t.energyQM[o.i] = w.prop.energy;
    swap();
    t.val[o.i] = IC(t.aid);
    swap();
    WriteCoorPDB(dir + "pdb/" + point + ".pdb", "comp");
    t.QMPESStructure[o.i].CopyFromCompMolecule(*this);

    std::vector<Real> force = w.prop.force;
    for (Real& f : force) f *= kForceToKcalPerAngstrom;
    SetComparisonCoordinates(*this, force);
    WriteCoorPDB(dir + "forces/" + point + ".pdb", "comp");
  }

  for (Real& e : t.energyQM) {
    e = (e - energy) * Const::_HARTREES_TO_KCALS_;
    if (t.type == 'b' || t.type == 'a') e *= OptInter.fBondScale;
  }
  if (!t.energyQM.empty()) {
    const Real lowest = *std::min_element(t.energyQM.begin(), t.energyQM.end());
    for (Real& e : t.energyQM) e -= lowest;
  }

  std::ofstream ref(dir + "qm_ref.dat", std::ios::trunc);
  if (!ref) EndProcess(1, "$ err unable to open file : " + dir + "qm_ref.dat\n");
  for (int k = 0; k < t.npt; ++k) ref << t.val[k] << " " << t.energyQM[k] << "\n";
}
