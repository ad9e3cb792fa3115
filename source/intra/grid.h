#pragma once

// The regular grid over the dihedral space of a multi-dimensional scan, the
// QM points computed on it and their neighbours.
#include <fstream>
#include <string>
#include <vector>

#include "constants.h"

// Tolerance on grid coordinates, degrees.
inline constexpr Real _TINY = 1e-05;

// One line of the point file of an earlier run.
class CPoint {
 public:
  int id = -1;
  std::vector<Real> v;   // coordinates, degrees
  std::vector<Real> cr;  // Cartesian coordinates
  std::string fname;
};

// One point of the grid.
class CGridPoint {
 public:
  // "%4i " id, "%9.2f " per coordinate, then the relative and the absolute
  // QM energy (or cutEnergy + 5 and 0 when the point has no value below it).
  void Print() const;
  // One line of the point file: id, coordinates, eQMnorm, eQMest.
  void Print(std::ofstream& out) const;

  int id = -1;
  bool ifHasValue = false;    // a QM energy is known
  bool ifToCalculate = false;  // scheduled for a QM job
  bool ifSeed = false;        // the starting point
  Real eQM = 0.0;             // hartree
  Real eQMnorm = 0.0;         // kcal/mol above the lowest computed point
  Real eQMest = -100.0;
  std::vector<Real> val;  // one dihedral value per dimension, degrees
  std::vector<Real> cr;   // Cartesian coordinates of the optimised structure, Angstrom
  std::vector<Real> gr;
  int type = 0;  // -1 local minimum, 1 local maximum, 0 otherwise
  std::vector<CGridPoint*> closePoint;
};

class CGrid {
 public:
  // Appends a point at v, which must have nDim elements.
  void NewPoint(std::vector<double>& v);
  // Every combination of -180, -180 + meshSize, ... below 180 from
  // dimension k on, the coordinates before k taken from v.
  void AddPoints(int k, std::vector<double>& v);
  // Fills closePoint of every point.
  void FindNeighbors();
  void PrintPoints() const;

  int nDim = 0;
  std::vector<CGridPoint> point;
};

// a - b, brought into [-360, 360] by one turn at most.
Real angleDiff(Real a, Real b);
// a brought into [-360, 360] by whole turns.
Real angle360(Real a);
// True when the four-atom lists are equal or one is the other reversed.
bool ifDiheTheSame(std::vector<int>& a, std::vector<int> b);
