#include "MolecularGeometry.h"

#include <stdexcept>

#include "errors.h"
#include "io.h"
#include "mol.h"
#include "vector.h"

Real PointDistance(const double* a, const double* b) { return Vector3(a, b).norm(); }

Real PointAngle(const double* a, const double* b, const double* c, int i, int j, int k) {
  const Vector3 u(a, b), v(c, b);
  const Real nu = u.norm(), nv = v.norm();
  if (nu <= Const::Tiny || nv <= Const::Tiny) {
    EndProcess(1, Format("$ err angle was computed with zero distance between atoms : %i %i %i\n",
                         i, j, k));
  }
  return AcosSingle((u * v) / (nu * nv));
}

Real PointDihedral(const double* a, const double* b, const double* c, const double* d, int i, int j,
                   int k, int l) {
  const Vector3 b1(b, a), b2(c, b), b3(d, c);
  if (b1.norm() <= Const::Tiny || b2.norm() <= Const::Tiny || b3.norm() <= Const::Tiny) {
    EndProcess(1, Format("$ err dihe angle was computed with zero distance between atoms : "
                         "%i %i %i %i\n",
                         i, j, k, l));
  }
  return b1.angle(b2, b3);
}

// --- the molecule's active coordinates ---

namespace {

const double* AtomXYZ(const CMolecule& m, int i) { return m.atom.at(i).xyz.data(); }

}  // namespace

Real CMolecule::dist(int i, int j) const {
  return PointDistance(AtomXYZ(*this, i), AtomXYZ(*this, j));
}

Real CMolecule::Angle(int i, int j, int k) const {
  return PointAngle(AtomXYZ(*this, i), AtomXYZ(*this, j), AtomXYZ(*this, k), i, j, k);
}

Real CMolecule::Dihe(int i, int j, int k, int l) const {
  return PointDihedral(AtomXYZ(*this, i), AtomXYZ(*this, j), AtomXYZ(*this, k), AtomXYZ(*this, l),
                       i, j, k, l);
}

Real CMolecule::IC(const std::vector<int>& aid) const {
  switch (aid.size()) {
    case 2:
      return dist(aid[0], aid[1]);
    case 3:
      return Angle(aid[0], aid[1], aid[2]) * 180.0 / Const::PI;
    case 4:
      return Dihe(aid[0], aid[1], aid[2], aid[3]) * 180.0 / Const::PI;
    default:
      EndProcess(1, "wrong number of atoms in IC()");
  }
}

void CMolecule::fill_rv() {
  for (int i = 0; i < natm; ++i) {
    auto& a = atom.at(i);
    a.rv = Vector3(a.xyz[0], a.xyz[1], a.xyz[2]);
  }
}

void CMolecule::trans(const Vector3& t) {
  for (int i = 0; i < natm; ++i) {
    auto& a = atom.at(i);
    a.xyz[0] += t.x;
    a.xyz[1] += t.y;
    a.xyz[2] += t.z;
  }
  fill_rv();
}

void CMolecule::swap() {
  for (int i = 0; i < natm; ++i) std::swap(atom.at(i).xyz, atom.at(i).xyzcomp);
  fill_rv();
}

// --- coordinate snapshots ---

CMolecularGeometry::CMolecularGeometry(const CMolecule& m)
    : xyz(static_cast<std::size_t>(m.natm) * 3, 0.0) {}

void CMolecularGeometry::CopyFromCompMolecule(const CMolecule& m) {
  xyz.assign(static_cast<std::size_t>(m.natm) * 3, 0.0);
  for (int i = 0; i < m.natm; ++i) {
    for (int c = 0; c < 3; ++c) xyz[static_cast<std::size_t>(i) * 3 + c] = m.atom.at(i).xyzcomp[c];
  }
}

namespace {

const double* SnapshotXYZ(const CMolecularGeometry& g, int i) {
  if (i < 0 || static_cast<std::size_t>(i) * 3 + 3 > g.xyz.size()) {
    throw std::out_of_range("atom " + std::to_string(i) + " is not in the coordinate snapshot");
  }
  return g.xyz.data() + static_cast<std::size_t>(i) * 3;
}

}  // namespace

Real CMolecularGeometry::distance(int i, int j) const {
  return PointDistance(SnapshotXYZ(*this, i), SnapshotXYZ(*this, j));
}

Real CMolecularGeometry::angle(int i, int j, int k) const {
  return PointAngle(SnapshotXYZ(*this, i), SnapshotXYZ(*this, j), SnapshotXYZ(*this, k), i, j, k);
}

Real CMolecularGeometry::dihedral(int i, int j, int k, int l) const {
  return PointDihedral(SnapshotXYZ(*this, i), SnapshotXYZ(*this, j), SnapshotXYZ(*this, k),
                       SnapshotXYZ(*this, l), i, j, k, l);
}
