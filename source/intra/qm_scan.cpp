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

// Step `step` of the order of scan term `term`.
struct ScanPoint {
  int term = 0;
  std::size_t step = 0;
};

// The groups of scan points that may run at once. One job at a time: every
// point alone, term after term, in each term's order. Else by wavefront: the
// starting point of every term, then the points one step further from it,
// and so on, since each point starts from the structure of the one before.
std::vector<std::vector<ScanPoint>> ScanGroups(
    const std::vector<CMolecule::ClassPESScanBonded>& term, const std::vector<int>& terms) {
  std::vector<std::vector<ScanPoint>> groups;
  for (const int i : terms) {
    const std::vector<CMolecule::ClassOrderOpt>& order = term.at(i).optOrder;
    std::vector<std::size_t> depth(order.size(), 0);
    for (std::size_t s = 0; s < order.size(); ++s) {
      for (std::size_t r = 0; r < s; ++r)
        if (order[r].i == order[s].iprev) depth[s] = depth[r] + 1;
      const std::size_t group = Gaussian::options.jobs > 1 ? depth[s] : groups.size();
      if (groups.size() <= group) groups.resize(group + 1);
      groups[group].push_back({i, s});
    }
  }
  return groups;
}

}  // namespace

void CMolecule::QM_PES_scan(int iScan) { QM_PES_scans({iScan}); }

void CMolecule::QM_PES_scans(const std::vector<int>& terms) {
  const GeometryGuard reference(*this);
  std::vector<Real> saved(static_cast<std::size_t>(natm) * 3);
  CopyFromCoor(saved, "main");
  for (const int i : terms) {
    ClassPESScanBonded& t = term.at(i);
    t.energyQM.assign(t.npt, 0.0);
    t.QMPESStructure.assign(t.npt, CMolecularGeometry(*this));
    t.EMPPESStructure.assign(t.npt, CMolecularGeometry(*this));
  }
  const auto dirOf = [this](int i) { return fpath + "/bond/" + term.at(i).name + "/"; };

  const auto prepare = [&](const ScanPoint& p, std::vector<Gaussian::QMJob>& batch) {
    const ClassPESScanBonded& t = term.at(p.term);
    const ClassOrderOpt& o = t.optOrder.at(p.step);
    const std::string stem = dirOf(p.term) + inttostr(o.i);
    std::vector<Real> start = saved;
    if (o.iprev >= 0) {
      ReadCoorPDB(dirOf(p.term) + "pdb/" + inttostr(o.iprev) + ".pdb", 0, "main");
      CopyFromCoor(start, "main");
    }
    PrepareConstrainedQMOptimization(*this, stem + ".scan.inp", stem + ".scan.out", start,
                                     TermConstraints(t, t.val[o.i]), batch);
  };
  const auto finish = [&](const ScanPoint& p) {
    ClassPESScanBonded& t = term.at(p.term);
    const ClassOrderOpt& o = t.optOrder.at(p.step);
    const std::string dir = dirOf(p.term);
    const std::string point = inttostr(o.i);
    const std::string out = dir + point + ".scan.out";
    const Gaussian::GaussianOutputData w = ReadConstrainedQMOptimization(*this, out);
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
  };
  Gaussian::RunQMGroups(ScanGroups(term, terms), prepare, finish);

  for (const int i : terms) {
    ClassPESScanBonded& t = term.at(i);
    for (Real& e : t.energyQM) {
      e = (e - energy) * Const::_HARTREES_TO_KCALS_;
      if (t.type == 'b' || t.type == 'a') e *= OptInter.fBondScale;
    }
    if (!t.energyQM.empty()) {
      const Real lowest = *std::min_element(t.energyQM.begin(), t.energyQM.end());
      for (Real& e : t.energyQM) e -= lowest;
    }
    const std::string ref = dirOf(i) + "qm_ref.dat";
    std::ofstream file(ref, std::ios::trunc);
    if (!file) EndProcess(1, "$ err unable to open file : " + ref + "\n");
    for (int k = 0; k < t.npt; ++k) file << t.val[k] << " " << t.energyQM[k] << "\n";
  }
}
