#pragma once

#include <vector>

#include "constants.h"

class CMolecule;

// A snapshot of the coordinates of a molecule: x, y, z per atom, flat.
class CMolecularGeometry {
 public:
  CMolecularGeometry() = default;
  // 3 x (number of atoms of m) zeros.
  explicit CMolecularGeometry(const CMolecule& m);

  // Copies the comparison coordinates (`xyzcomp`) of every atom of m.
  void CopyFromCompMolecule(const CMolecule& m);

  // Internal coordinates of the snapshot, radians for the angles; a zero
  // distance ends the process as for the molecule's own coordinates.
  Real distance(int i, int j) const;
  Real angle(int i, int j, int k) const;
  Real dihedral(int i, int j, int k, int l) const;

  std::vector<double> xyz;
};

// Internal coordinates of points given by their three coordinates; i, j, k
// and l are the atom numbers named in the messages. A zero-length vector ends
// the process with status 1.
Real PointDistance(const double* a, const double* b);
// Bond angle at b in radians, arc cosine in single precision.
Real PointAngle(const double* a, const double* b, const double* c, int i, int j, int k);
// Dihedral angle a-b-c-d in radians, range (-pi, pi].
Real PointDihedral(const double* a, const double* b, const double* c, const double* d, int i, int j,
                   int k, int l);
