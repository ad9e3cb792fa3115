#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "vec3.h"

// A directory of its own under the system temporary directory, removed with
// everything in it when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The system handed to xtb: real atoms only, positions in Angstrom.
struct XtbSystem {
  std::vector<int> atomicNumbers;
  std::vector<Vec3> positions;
  int charge = 0;
  int unpairedElectrons = 0;
  int threads = 1;
};

// Result of one energy and gradient calculation.
struct XtbPoint {
  double energy = 0;             // hartree
  std::vector<Vec3> gradient;    // hartree/bohr, per atom
  std::vector<double> charges;   // Mulliken charges, e
  Vec3 dipole;                   // Debye
  std::vector<double> potential; // hartree/e at the requested points
};

// Energy, gradient, charges and dipole at the given geometry; with points
// (Angstrom) also the electrostatic potential at each of them.
XtbPoint XtbSinglePoint(const XtbSystem& system, const std::vector<Vec3>& espPoints = {});

// A frozen internal coordinate handed to xtb: 2, 3 or 4 atoms (0-based).
struct XtbConstraint {
  std::vector<int> atoms;
  bool hasValue = false;
  double value = 0;  // Angstrom or degrees
};

struct XtbOptimisation {
  std::vector<std::vector<Vec3>> steps;  // geometry of every step, the last is the result
  std::vector<double> stepEnergies;      // hartree, restraint energy included
  bool converged = false;
};

// Geometry optimisation with xtb's own optimiser: frozen atoms stay in place,
// constrained coordinates are held by a stiff harmonic restraint, at most
// maxCycle steps when maxCycle > 0.
XtbOptimisation XtbOptimise(const XtbSystem& system, const std::vector<int>& frozenAtoms,
                            const std::vector<XtbConstraint>& constraints, int maxCycle);

// Force constant of the restraints that hold constrained coordinates
// (hartree/bohr^2 and hartree/rad^2).
constexpr double kConstraintForceConstant = 15.0;
