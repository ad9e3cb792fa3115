// The data from which the dihedral terms about a soft dihedral's central
// bond are fitted: for every point of its scan, the torsion angles about the
// bond, the non-bonded energies between the ends of each torsion, and the
// energy the dihedral terms must make up (QM energy less the MM energy
// without its dihedral part). One table per soft-dihedral scan, under
// results/.
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "intra/BondOpt.h"
#include "intra/mm_job.h"
#include "io.h"
#include "util.h"

namespace {

constexpr Real kDegreesPerRadian = 180.0 / Const::PI;
// Scans with more points than this are soft-dihedral scans.
constexpr int kMostPointsRigidScan = 10;

// The distinct torsions of m about the bond b - c.
std::vector<std::vector<int>> TorsionsAbout(const CMolecule& m, int b, int c) {
  std::vector<std::vector<int>> torsions;
  for (const auto& d : m.dihedral) {
    const bool about = (d.aid[1] == b && d.aid[2] == c) || (d.aid[1] == c && d.aid[2] == b);
    if (!about) continue;
    bool present = false;
    for (const auto& t : torsions) present = present || compareDihe(t, d.aid);
    if (!present) torsions.push_back(d.aid);
  }
  return torsions;
}

// Atom `end` and every atom bonded to it other than `inner`, in atom order.
std::vector<int> EndSet(const CMolecule& m, int end, int inner) {
  std::vector<int> set{end};
  for (int i = 0; i < m.natm; ++i)
    if (i != inner && m.atom.at(end).bond.at(i) == 1) set.push_back(i);
  return set;
}

int NeighboursOtherThan(const CMolecule& m, int atom, int other) {
  int n = 0;
  for (int i = 0; i < m.natm; ++i)
    if (i != other && m.atom.at(atom).bond.at(i) == 1) ++n;
  return n;
}

std::string Names(const CMolecule& m, const std::vector<int>& atoms) {
  std::string text;
  for (const int a : atoms) text += m.AtomName(a) + " ";
  return text;
}

// The table of one soft-dihedral scan t of m (a copy whose coordinates it may
// change).
std::string SoftDiheTable(CMolecule& m, const CMolecule::ClassPESScanBonded& t) {
  const int b = t.aid.at(1), c = t.aid.at(2);
  const auto torsions = TorsionsAbout(m, b, c);
  std::string text = "$number of bonds for atom 2 and 3 : \n" + inttostr(NeighboursOtherThan(m, b, c)) + " " +
                     inttostr(NeighboursOtherThan(m, c, b)) + "\n";
  text += "$dihedral terms with unknown parameters " + inttostr(static_cast<int>(torsions.size())) + " : \n";
  for (std::size_t k = 0; k < torsions.size(); ++k) {
    text += inttostr(static_cast<int>(k)) + ") " + Names(m, torsions[k]) + "    |    ";
    for (const int a : torsions[k]) text += m.AtomType(a) + " ";
    text += "\n";
  }

  std::vector<std::vector<int>> first, second;
  for (std::size_t k = 0; k < torsions.size(); ++k) {
    const auto& d = torsions[k];
    first.push_back(EndSet(m, d[0], d[1]));
    second.push_back(EndSet(m, d[3], d[2]));
    std::cout << "dihedral angle " << k << " " << Names(m, first[k]) << " | " << Names(m, second[k]) << "\n";
  }

  std::cout << "reading all structures" << std::endl;
  std::vector<std::vector<Real>> structures;
  for (int ip = 0; ip < t.npt; ++ip) {
    m.ReadCoorPDB(fpath + "/bond/" + Lower(t.name) + "/pdb/" + inttostr(ip) + ".pdb", 0, "main");
    structures.emplace_back(3 * static_cast<std::size_t>(m.natm));
    m.CopyFromCoor(structures.back(), "main");
  }

  text += "$fi1 einter1 fi2 einter2 ... eref \n";
  for (int ip = 0; ip < t.npt; ++ip) {
    for (int i = 0; i < m.natm; ++i)
      for (int x = 0; x < 3; ++x) m.atom[i].xyz[x] = structures[ip][3 * static_cast<std::size_t>(i) + x];
    m.fill_rv();
    m.UpdateDistMatrix();
    Real edihe = 0.0;
    std::string row;
    for (std::size_t k = 0; k < torsions.size(); ++k) {
      const auto& d = torsions[k];
      const Real angle = m.Dihe(d[0], d[1], d[2], d[3]);
      edihe += m.diheEner(d);
      row += Format("%12.5f %12.5f ", angle * kDegreesPerRadian, m.EnergyIJ(first[k], second[k]));
    }
    const Real qm = t.energyQM.at(static_cast<std::size_t>(ip));
    const Real eref = qm - (t.charmmEner[ip] - edihe);
    std::cout << " edihe " << edihe << " " << qm << " " << qm - edihe << "\n";
    text += row + Format("%12.5f\n", eref);
  }
  return text;
}

}  // namespace

bool compareDihe(const std::vector<int>& a, const std::vector<int>& b) {
  if (a.size() != 4 || b.size() != 4) throw std::invalid_argument("wrong array size in compareDihe");
  return (a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3]) ||
         (a[0] == b[3] && a[1] == b[2] && a[2] == b[1] && a[3] == b[0]);
}

void CMolecule::FitSD() {
  CMolecule m = *this;
  std::vector<std::string> missing;
  m.read_nnbond(&missing);
  if (!missing.empty()) {
    std::string types;
    for (const std::string& t : missing) types += " " + t;
    std::fflush(stdout);
    std::fprintf(stderr,
                 "$ warning: no NONBONDED parameters for the types%s: the soft-dihedral data leave "
                 "out their Lennard-Jones terms\n",
                 types.c_str());
  }
  for (const auto& t : term) {
    if (t.npt <= kMostPointsRigidScan) continue;
    const std::string path =
        fpath + "/results/soft_dihe_" + AtomName(t.aid.at(1)) + "_" + AtomName(t.aid.at(2)) + ".dat";
    WriteTextFile(path, SoftDiheTable(m, t));
  }
}
