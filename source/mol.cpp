#include "mol.h"

#include "errors.h"

namespace {

[[noreturn]] void GeometryNotSetUp() { EndProcess(1, "$ err this geometry was not setup\n"); }

// Storage for every stored geometry: the geometry array grows with zeros
// when the atoms were created without it.
void SizeGeometryStorage(CMolecule& m) {
  const auto needed = static_cast<std::size_t>(m.ngeom) * m.natm * 3;
  if (m.xyz.size() < needed) m.xyz.resize(needed, 0.0);
  if (m.QMEnergy.size() < static_cast<std::size_t>(m.ngeom)) m.QMEnergy.resize(m.ngeom, 0.0);
  if (m.QMDipoleMoment.size() < static_cast<std::size_t>(m.ngeom)) {
    m.QMDipoleMoment.resize(m.ngeom, Vector3());
  }
}

// Atom i; ends the process when the molecule has none.
const CMolecule::CAtom& ExistingAtom(const CMolecule& m, int i) {
  if (i < 0 || static_cast<std::size_t>(i) >= m.atom.size()) {
    EndProcess(1, "$ err atom was not found : " + std::to_string(i) + "\n");
  }
  return m.atom[i];
}

}  // namespace

int CMolecule::AtomIndex(const std::string& name) const {
  for (std::size_t i = 0; i < atom.size(); ++i) {
    if (atom[i].name == name) return static_cast<int>(i);
  }
  // An empty name is a word missing from the line being read: its reader names the line.
  if (name.empty()) throw DetailedError("$ err an atom name is missing");
  EndProcess(1, "$ err atom was not found : " + name + "\n");
}

std::string CMolecule::AtomName(int i) const { return ExistingAtom(*this, i).name; }

std::string CMolecule::AtomType(int i) const { return ExistingAtom(*this, i).type; }

void CMolecule::ActivateGeometry(int g) {
  if (g < 0 || g >= ngeom) GeometryNotSetUp();
  SizeGeometryStorage(*this);
  for (int i = 0; i < natm; ++i) {
    auto& a = atom.at(i);
    for (int c = 0; c < 3; ++c) a.xyz[c] = xyz[(static_cast<std::size_t>(g) * natm + i) * 3 + c];
  }
  fill_rv();
  QMDipole = QMDipoleMoment[g];
  energy = QMEnergy[g];
}

void CMolecule::CopyMainSetToGeometry(int g) {
  if (g < 0 || g >= ngeom) GeometryNotSetUp();
  SizeGeometryStorage(*this);
  for (int i = 0; i < natm; ++i) {
    const auto& a = atom.at(i);
    for (int c = 0; c < 3; ++c) xyz[(static_cast<std::size_t>(g) * natm + i) * 3 + c] = a.xyz[c];
  }
}
