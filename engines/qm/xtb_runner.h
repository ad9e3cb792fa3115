#pragma once

#include "engine.h"
#include "process.h"

// The xtb engine: every number is GFN2-xTB, whatever method the route names.
// Each calculation runs the xtb program in a scratch directory of its own.
class XtbEngine : public QmEngine {
 public:
  std::string Description() const override;
  std::string ScfName() const override { return "GFN2-xTB"; }
  bool Correlated() const override { return false; }
  // The potential does not depend on system.threads or system.processes.
  QmPoint SinglePoint(const QmSystem& system, const std::vector<Vec3>& espPoints) const override;
  // xtb's own optimiser; constrained coordinates are held by a stiff
  // harmonic restraint, and the step energies include it.
  QmOptimisation Optimise(const QmSystem& system, const std::vector<int>& frozenAtoms,
                          const std::vector<QmConstraint>& constraints, int maxCycle) const override;
};

// Force constant of the restraints that hold constrained coordinates
// (hartree/bohr^2 and hartree/rad^2).
constexpr double kConstraintForceConstant = 15.0;
