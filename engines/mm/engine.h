#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "coordinates.h"
#include "molecule.h"
#include "restraints.h"

namespace OpenMM {
class System;
class Context;
class CustomAngleForce;
class CustomBondForce;
class CustomTorsionForce;
class VerletIntegrator;
class Platform;
}  // namespace OpenMM

// The CHARMM energy of one molecule as an OpenMM System, evaluated and
// minimised on OpenMM's Reference platform. Input and output in Angstrom and
// kcal/mol; OpenMM works in nm and kJ/mol.
namespace mm {

struct EnergyTerms {
  double bond = 0, angle = 0, ub = 0, dihedral = 0, improper = 0, elec = 0, vdw = 0;
  double Total() const { return bond + angle + ub + dihedral + improper + elec + vdw; }
};

// How Engine::Minimize searches: the BFGS search of minimiser.h over
// OpenMM's energies and forces, or OpenMM's own L-BFGS minimiser (slower on
// stiff restraints; kept to check the other against).
enum class MinimizerKind { Bfgs, OpenMM };

// The kind named by QM2FF_MM_MINIMIZER ("bfgs", the default also when unset
// or empty, or "openmm"); std::runtime_error for any other value.
MinimizerKind MinimizerFromEnvironment();

class Engine {
 public:
  explicit Engine(const Molecule& m);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Energy terms of structure c, restraints not included.
  EnergyTerms Energies(const Coords& c);
  // RMS of the 3N components of the gradient of the unrestrained energy,
  // kcal/mol/Angstrom.
  double GradientRms(const Coords& c);
  // Minimises from start under the restraints (targets of holdCurrent
  // restraints taken from start) until the gradient RMS of the restrained
  // energy is below tolerance (kcal/mol/Angstrom) and, with the BFGS
  // search, the energy within 1e-7 kcal/mol of the minimum its model
  // expects; returns the structure.
  Coords Minimize(const Coords& start, const std::vector<Restraint>& restraints,
                  double tolerance = 1e-3);

  MinimizerKind minimizer;

 private:
  // The molecule with restraint forces on one set of atom lists; a scan
  // minimises many points under restraints on the same atoms, so the
  // context (whose set-up compiles the custom forces) serves them all, with
  // only the force constants and targets changed.
  struct Restrained {
    std::unique_ptr<OpenMM::System> system;
    OpenMM::CustomBondForce* distances = nullptr;  // owned by system
    OpenMM::CustomAngleForce* angles = nullptr;
    OpenMM::CustomTorsionForce* dihedrals = nullptr;
    std::unique_ptr<OpenMM::VerletIntegrator> integrator;
    std::unique_ptr<OpenMM::Context> context;
  };
  Restrained& RestrainedFor(const std::vector<Restraint>& restraints);
  Coords MinimizeBfgs(OpenMM::Context& ctx, const Coords& start, double tolerance);

  const Molecule& mol_;
  std::unique_ptr<OpenMM::System> system_;  // unrestrained, one force group per term kind
  std::unique_ptr<OpenMM::VerletIntegrator> integrator_;
  std::unique_ptr<OpenMM::Context> context_;
  std::map<std::string, std::unique_ptr<Restrained>> restrained_;  // by the restraints' atom lists
};

// A System holding every term of m, force group g for the kinds in the order
// of EnergyTerms (0 bond ... 6 vdw).
std::unique_ptr<OpenMM::System> BuildSystem(const Molecule& m);

}  // namespace mm
