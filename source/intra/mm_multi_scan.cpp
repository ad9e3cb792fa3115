// The MM energies of the points of a multi-dimensional dihedral scan, each
// point minimised by CHARMM with its dihedrals held.
#include <sstream>
#include <stdexcept>

#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "io.h"
#include "mol.h"
#include "util.h"

namespace {

std::string DefaultFormat(Real v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

// The dihedrals held at their values during the scan.
std::string HeldDihedralsText(const CMolecule& m, const CSoftDiheMulti& s) {
  std::string text;
  for (const CSoftDihe& d : s.constraint)
    text += ConsDiheAtoms(m, d.aid) + " FORCE 1000000.0 MIN " + DefaultFormat(d.val) + " PERIod 0 WIDTH 0.0\n";
  return text;
}

// The scan stream: the scanned dihedrals, and per point its coordinates and
// the id of its QM structure bond/<scan>/pdb/<id>.pdb.
std::string ScanStreamText(const CMolecule& m, const CSoftDiheMulti& s) {
  const int nd = static_cast<int>(s.dihedral.size());
  std::string text = "! number of terms\nset nd " + inttostr(nd) + "\n! atoms\n";
  for (int d = 0; d < nd; ++d) {
    if (nd > 1) text += "! dihedral " + inttostr(d + 1) + "\n";
    for (int k = 0; k < 4; ++k)
      text += "set a" + inttostr(k + 1) + "_" + inttostr(d + 1) + " " + m.AtomName(s.dihedral[d].aid.at(k)) + "\n";
  }
  text += "! number of pes points\nset np " + inttostr(static_cast<int>(s.point.size())) + "\n! points\n";
  for (std::size_t i = 0; i < s.point.size(); ++i) {
    const std::string n = inttostr(static_cast<int>(i) + 1);
    for (int d = 0; d < nd; ++d)
      text += "set va" + n + "_" + inttostr(d + 1) + "  = " + floattostr(s.point[i].at(d), 2) + "\n";
    text += "set pdbid" + n + "  = " + inttostr(s.id[i]) + "\n";
  }
  return text;
}

std::string ResultsText(const CSoftDiheMulti& s) {
  std::string text;
  for (std::size_t i = 0; i < s.point.size(); ++i) {
    for (const Real v : s.point[i]) text += floattostr(v, 3) + " ";
    text += floattostr(s.Emm[i], 3) + "\n";
  }
  return text;
}

}  // namespace

void CMolecule::MMMultiPesScan(CSoftDiheMulti& s) {
  if (s.id.size() != s.point.size()) {
    throw std::logic_error("multi-dimensional scan " + s.termName + " has " +
                           inttostr(static_cast<int>(s.point.size())) + " points but " +
                           inttostr(static_cast<int>(s.id.size())) + " structure ids");
  }
  WriteTextFile(fpath + "restraints.str", HeldDihedralsText(*this, s));
  WriteTextFile(fpath + s.termName + ".str", ScanStreamText(*this, s));
  const std::string energies = fpath + "/surf-multi-pes.dat";
  RunCharmmJob(strCharmmPath + "/multi-pes.inp", fpath + s.termName + ".out", "termname:" + s.termName,
               {energies});
  s.Emm = ReadMMEnergies(energies, s.point.size());
  SubtractLowest(s.Emm);
  WriteTextFile(fpath + "/bond/" + Lower(s.termName) + "/charmm.results.dat", ResultsText(s));
}
