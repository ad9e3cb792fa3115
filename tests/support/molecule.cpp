#include "support/molecule.h"

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

CMolecule Methanol() {
  return MakeMolecule({{"C", 6, 0.0, 0.0, 0.0},
                       {"O", 8, 1.43, 0.0, 0.0},
                       {"H1", 1, -0.36, 1.03, 0.0},
                       {"H2", 1, -0.36, -0.51, 0.89},
                       {"H3", 1, -0.36, -0.51, -0.89},
                       {"HO", 1, 1.75, 0.91, 0.0}});
}

CMolecule Ethane() {
  return MakeMolecule({{"C1", 6, 0.0, 0.0, 0.0},
                       {"C2", 6, 1.53, 0.0, 0.0},
                       {"H11", 1, -0.36, 1.03, 0.0},
                       {"H12", 1, -0.36, -0.51, 0.89},
                       {"H13", 1, -0.36, -0.51, -0.89},
                       {"H21", 1, 1.89, -1.03, 0.0},
                       {"H22", 1, 1.89, 0.51, 0.89},
                       {"H23", 1, 1.89, 0.51, -0.89}});
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

}  // namespace testing_support
