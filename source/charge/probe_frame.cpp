#include "charge/probe_frame.h"

#include "errors.h"
#include "io.h"
#include "vector.h"

namespace {

bool Bonded(const CMolecule& s, int i, int j) {
  const auto& row = s.atom[i].bond;
  return j >= 0 && static_cast<std::size_t>(j) < row.size() && row[j] != 0;
}

// Lowest-numbered atom bonded to `of` other than the excluded ones; -1 when none.
int LowestNeighbour(const CMolecule& s, int of, int x1, int x2 = -1, int x3 = -1) {
  if (of < 0) return -1;
  for (int j = 0; j < s.natm; ++j) {
    if (j != x1 && j != x2 && j != x3 && Bonded(s, of, j)) return j;
  }
  return -1;
}

}  // namespace

int ProbedAtomBonds(const CMolecule& s, int a1) {
  const CMolecule::CAtom& atom = s.atom[a1];
  const int b = atom.ibond;
  if (b == 0) {
    EndProcess(1, "$ err atom " + atom.name + "does not have covalent bonds with any atom\n" +
                      " forgot to define bonds in the topology?\n");
  }
  if (b >= 4) {
    EndProcess(1, "$ err atom " + atom.name + " has " + inttostr(b) +
                      " covalent bonds: a water probe can only be placed on an atom with at "
                      "most three bonds\n");
  }
  return b;
}

ProbeFrameAtoms FindProbeFrame(const CMolecule& s, int a1) {
  ProbeFrameAtoms f;
  f.b = ProbedAtomBonds(s, a1);
  f.a2 = LowestNeighbour(s, a1, a1);
  f.a3 = f.b > 1 ? LowestNeighbour(s, a1, a1, f.a2) : LowestNeighbour(s, f.a2, a1);
  const std::string& name = s.atom[a1].name;
  if (f.a2 < 0 || f.a3 < 0) {
    EndProcess(1, "$ err atom does not participate in any angle " + name + "\n" +
                      " forgot to define bonds in the topology?\n");
  }
  if (f.b == 3) {
    f.a4 = LowestNeighbour(s, a1, a1, f.a2, f.a3);
    if (f.a4 < 0) EndProcess(1, "$ err cannot find the third bonded atom for : " + name + "\n");
  }
  return f;
}

ProbeFrameAngles FrameAngles(const CMolecule& s, int b, int a1, int a2, int a3, int a4) {
  ProbeFrameAngles f;
  if (b == 2) {
    f.A = (360.0 - s.Angle(a2, a1, a3) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES) / 2.0;
    f.D = 180.0;
  } else if (b == 3) {
    const auto pos = [&s](int i) { return s.atom[i].xyz.data(); };
    Vector3 r12(pos(a1), pos(a2));
    Vector3 r23(pos(a2), pos(a3));
    Vector3 r24(pos(a2), pos(a4));
    r12.Normalize();
    r23.Normalize();
    r24.Normalize();
    Vector3 n = r23 % r24;
    n.Normalize();
    if (n * r12 < 0.0) n = n * -1.0;
    const Real phi = (n ^ r12) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
    f.A = 180.0 - phi;
    // The deck's dihedral runs water -> a1 -> a2 -> a3, along -N, -r12, -r23; reversing all
    // three bond vectors reverses the sign of the dihedral they define.
    f.D = -n.angle(r12, r23) * Const::UNITS_ANGLE_RADIANS_TO_DEGREES;
  }
  return f;
}
