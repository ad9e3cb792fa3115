#include "support/molecule.h"

#include "io.h"

namespace testing_support {

CMolecule MakeMolecule(const std::vector<AtomSpec>& atoms) {
  CMolecule m;
  m.natm = static_cast<int>(atoms.size());
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    CMolecule::CAtom a;
    a.name = atoms[i].name;
    a.atmnum = atoms[i].atmnum;
    a.xyz = {atoms[i].x, atoms[i].y, atoms[i].z};
    a.serial = static_cast<int>(i) + 1;
    a.resn = "MOL";
    a.segid = "MOL";
    a.resid = 1;
    a.ocp = 1.0;
    a.bond.assign(atoms.size(), 0);
    m.atom.push_back(a);
  }
  m.xyz.assign(atoms.size() * 3, 0.0);
  m.CopyMainSetToGeometry(0);
  m.fill_rv();
  return m;
}

std::string Describe(const CMolecule& m) {
  std::string s = Format("natm %d netcharge %g\n", m.natm, m.netcharge);
  for (const auto& a : m.atom)
    s += Format(
        "%d %s %s %s Z %d mass %g q %g pop %g penalty %g group %d bonds %d at %g %g %g LJ %g %g %g "
        "%g\n",
        a.serial, a.name.c_str(), a.type.c_str(), a.segid.c_str(), a.atmnum, a.mass, a.q, a.qpop,
        a.qpenalty, a.group, a.ibond, a.xyz.at(0), a.xyz.at(1), a.xyz.at(2), a.eps, a.rmin, a.eps14,
        a.rmin14);
  const auto terms = [&s](const char* kind, const auto& list) {
    s += kind;
    for (const auto& t : list) {
      s += " ";
      for (std::size_t k = 0; k < t.aid.size(); ++k) s += (k ? "-" : "") + std::to_string(t.aid[k]);
    }
    s += "\n";
  };
  terms("bonds", m.bond);
  terms("angles", m.angle);
  terms("dihedrals", m.dihedral);
  terms("impropers", m.impr);
  return s;
}

CMolecule Methanol() {
  return MakeMolecule({{"C", 6, 0.0, 0.0, 0.0},
                       {"O", 8, 1.43, 0.0, 0.0},
                       {"H1", 1, -0.36, 1.03, 0.0},
                       {"H2", 1, -0.36, -0.51, 0.89},
                       {"H3", 1, -0.36, -0.51, -0.89},
                       {"HO", 1, 1.75, 0.91, 0.0}});
}

CMolecule Water() {
  return MakeMolecule(
      {{"OH2", 8, 0.0, 0.0, 0.0}, {"H1", 1, 0.9572, 0.0, 0.0}, {"H2", 1, -0.24, 0.927, 0.0}});
}

CMolecule HydrogenPeroxide() {
  return MakeMolecule({{"H1", 1, 0.9, 0.8, 0.5},
                       {"O1", 8, 0.0, 0.7, 0.0},
                       {"O2", 8, 0.0, -0.7, 0.0},
                       {"H2", 1, -0.9, -0.8, 0.5}});
}

const char* const kMethanolTypesRtf =
    "MASS 1 HGA3    1.00800 H\n"
    "MASS 2 CG331  12.01100 C\n"
    "MASS 3 OG311  15.99940 O\n"
    "MASS 4 HGP1    1.00800 H\n";

const char* const kMethanolRtf =
    "RESI MEOH 0.00\n"
    "GROUP\n"
    "ATOM CB  CG331 -0.04\n"
    "ATOM OG  OG311 -0.65\n"
    "ATOM HG1 HGP1   0.42\n"
    "ATOM HB1 HGA3   0.09\n"
    "ATOM HB2 HGA3   0.09\n"
    "ATOM HB3 HGA3   0.09\n"
    "BOND CB OG OG HG1\n";

const char* const kMethanolPdb =
    "ATOM      1 CB   MEOH    1       0.000   0.000   0.000  1.00  0.00\n"
    "ATOM      2 OG   MEOH    1       1.430   0.000   0.000  1.00  0.00\n"
    "ATOM      3 HG1  MEOH    1       1.750   0.910   0.000  1.00  0.00\n"
    "ATOM      4 HB1  MEOH    1      -0.360   1.030   0.000  1.00  0.00\n"
    "ATOM      5 HB2  MEOH    1      -0.360  -0.510   0.890  1.00  0.00\n"
    "ATOM      6 HB3  MEOH    1      -0.360  -0.510  -0.890  1.00  0.00\n"
    "END\n";

}  // namespace testing_support
