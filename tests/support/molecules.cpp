#include "support/molecules.h"

namespace testing_support {

CMolecule HydrogenPeroxide() {
  struct Atom {
    const char* name;
    int atmnum;
    double x, y, z;
  };
  const Atom atoms[] = {{"H1", 1, 0.9, 0.8, 0.5},
                        {"O1", 8, 0.0, 0.7, 0.0},
                        {"O2", 8, 0.0, -0.7, 0.0},
                        {"H2", 1, -0.9, -0.8, 0.5}};
  CMolecule m;
  for (const Atom& a : atoms) {
    CMolecule::CAtom atom;
    atom.name = a.name;
    atom.atmnum = a.atmnum;
    atom.xyz = {a.x, a.y, a.z};
    atom.serial = m.natm + 1;
    atom.resn = "HOOH";
    atom.resid = 1;
    atom.segid = "MOL";
    atom.ocp = 1.0;
    m.atom.push_back(atom);
    ++m.natm;
    m.xyz.insert(m.xyz.end(), {a.x, a.y, a.z});
  }
  m.fill_rv();
  return m;
}

}  // namespace testing_support
