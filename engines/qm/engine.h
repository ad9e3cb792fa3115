#pragma once

#include <memory>
#include <string>
#include <vector>

#include "deck.h"
#include "vec3.h"

// The program that computes the numbers of the stand-in: xtb (GFN2-xTB,
// whatever the route names) or psi4 (the route's method and basis). The
// calculations ask it for energies, gradients, optimised geometries and
// potentials and do not know which one answers.

// The system handed to the engine: real atoms only, positions in Angstrom.
struct QmSystem {
  std::vector<int> atomicNumbers;
  std::vector<Vec3> positions;
  int charge = 0;
  int unpairedElectrons = 0;
  int threads = 1;    // threads of one engine run
  int processes = 1;  // engine runs at once, where the work can be split
};

// Result of one energy and gradient calculation.
struct QmPoint {
  double energy = 0;              // hartree, the method's final energy
  double scfEnergy = 0;           // hartree, the SCF energy (= energy unless correlated)
  std::vector<Vec3> gradient;     // hartree/bohr, per atom
  std::vector<double> charges;    // Mulliken charges, e
  Vec3 dipole;                    // Debye
  std::vector<double> potential;  // hartree/e at the requested points
};

// A frozen internal coordinate: 2, 3 or 4 atoms (0-based), held at its
// starting value or at `value`.
struct QmConstraint {
  std::vector<int> atoms;
  bool hasValue = false;
  double value = 0;  // Angstrom or degrees
};

struct QmOptimisation {
  std::vector<std::vector<Vec3>> steps;  // geometry of every step, the last is the result
  std::vector<double> stepEnergies;      // hartree, the method's energy of every step
  std::vector<double> stepScfEnergies;   // hartree, the SCF energy of every step
  bool converged = false;
  // The optimiser's own last maximum and RMS force and maximum and RMS step
  // (atomic units), empty when it does not give them.
  std::vector<double> measures;
};

class QmEngine {
 public:
  virtual ~QmEngine() = default;

  // Lines under the banner that say what computes the numbers.
  virtual std::string Description() const = 0;
  // The name in "SCF Done:  E(name) =": "RHF", "RB3LYP", "GFN2-xTB".
  virtual std::string ScfName() const = 0;
  // True when the method adds a correlation energy to the SCF energy (the
  // output then carries an "EUMP2" line after "SCF Done").
  virtual bool Correlated() const = 0;

  // Energy, gradient, Mulliken charges and dipole at the given geometry; with
  // points (Angstrom) also the electrostatic potential at each of them.
  virtual QmPoint SinglePoint(const QmSystem& system, const std::vector<Vec3>& espPoints) const = 0;

  // Geometry optimisation: frozen atoms stay in place, constrained
  // coordinates are held; at most maxCycle steps when maxCycle > 0.
  virtual QmOptimisation Optimise(const QmSystem& system, const std::vector<int>& frozenAtoms,
                                  const std::vector<QmConstraint>& constraints, int maxCycle) const = 0;
};

// The engine named by QM2FF_QM_ENGINE ("xtb" when unset or empty, or "psi4")
// for the deck's route. Throws std::runtime_error for an unknown engine or a
// route the engine cannot compute.
std::unique_ptr<QmEngine> SelectEngine(const Deck& deck);
