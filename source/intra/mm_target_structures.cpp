// The MM energies of the user's target structures, each minimised by CHARMM
// with the soft dihedrals held at their values in the structure.
#include <algorithm>

#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

std::string HeldSoftDihedralsText(const CMolecule& m) {
  std::string text;
  for (const CSoftDihe& d : OptInter.SoftDihe) {
    text += ConsDiheAtoms(m, d.aid) + " FORCE 1000000.0 MAIN PERIod 0 WIDTH 0.0\n";
  }
  return text;
}

std::string ResultsText(const CTargetStructures& t) {
  std::string text = "# Emm Eqm\n";
  for (int i = 0; i < t.nStr; ++i) text += floattostr(t.Emm[i], 3) + " " + floattostr(t.Eqm.at(i), 3) + "\n";
  return text;
}

}  // namespace

void CMolecule::MMStructureOptimizatation(CTargetStructures& t) {
  WriteTextFile(fpath + "restraints.str", HeldSoftDihedralsText(*this));
  WriteTextFile(fpath + "multi_str.str", "! number of structures\nset nstr " + inttostr(t.nStr) +
                                             "\n! directory\nset fstr = bond/target-structures/pdb/\n");
  const std::string energies = fpath + "/target-str.dat";
  RunCharmmJob(strCharmmPath + "/target-str.inp", fpath + "/target-str.out", "", {energies});
  t.Emm = ReadMMEnergies(energies, static_cast<std::size_t>(std::max(t.nStr, 0)));
  SubtractLowest(t.Emm);
  WriteTextFile(fpath + "/bond/target-structures/energy.results.dat", ResultsText(t));
}
