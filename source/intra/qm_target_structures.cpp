// QM relative energies of the target structures the user prepared as
// Gaussian outputs under bond/target-structures/.
#include <algorithm>
#include <fstream>

#include "errors.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "intra/qm_constrained.h"
#include "io.h"
#include "mol.h"
#include "util.h"

void CMolecule::QM_Target_Structures(CTargetStructures& t) {
  const std::string dir = fpath + "bond/target-structures/";
  mkdr(fpath + "bond/");
  mkdr(dir);
  mkdr(dir + "pdb/");
  {
    std::ifstream count(dir + "n-structures.dat");
    std::string line;
    if (count && std::getline(count, line)) {
      try {
        t.nStr = strint(tprint(line, 1));
      } catch (const std::exception&) {
        throw DetailedError("$ err the first line of " + dir +
                            "n-structures.dat does not start with the number of structures");
      }
    }
  }
  std::vector<Real> energies;
  for (int i = 0; i < t.nStr; ++i) {
    const std::string out = dir + inttostr(i) + ".out";
    if (!GaussianOutputComplete(out)) {
      throw DetailedError("$ err target structure " + out +
                          " is missing or incomplete (no termination line)");
    }
    const Gaussian::GaussianOutputData w = Gaussian::ReadJobOutput(out, Gaussian::JobKind::Result);
    const std::vector<Real>& xyz =
        w.prop.xyzInputOrient.empty() ? w.prop.xyzStandardOrient : w.prop.xyzInputOrient;
    if (xyz.size() != static_cast<std::size_t>(natm) * 3 || !w.IfRead("energy")) {
      throw DetailedError(Format("$ err target structure %s holds %zu coordinates%s, %d expected",
                                 out.c_str(), xyz.size(),
                                 w.IfRead("energy") ? "" : " and no energy", natm * 3));
    }
    SetComparisonCoordinates(*this, xyz);
    WriteCoorPDB(dir + "pdb/" + inttostr(i) + ".pdb", "comp");
    energies.push_back(w.prop.energy);
  }
  t.Eqm.clear();
  if (!energies.empty()) {
    const Real lowest = *std::min_element(energies.begin(), energies.end());
    for (const Real e : energies) t.Eqm.push_back((e - lowest) * Const::_HARTREES_TO_KCALS_);
  }
  std::ofstream ref(dir + "qm_ref.dat", std::ios::trunc);
  ref << "# Nstr Eqm\n";
  for (int i = 0; i < t.nStr; ++i) ref << i << " " << t.Eqm[i] << "\n";
  ref.close();
  if (!ref) EndProcess(1, "$ err unable to open file : " + dir + "qm_ref.dat\n");
}
