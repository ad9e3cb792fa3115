#pragma once

#include <memory>

#include "engine.h"
#include "level_of_theory.h"

class Psi4Worker;

// The psi4 engine: the route's method and basis computed for real. One psi4
// process, started at the first calculation, answers every calculation of
// the job; it works in a scratch directory of its own (its scratch files
// included), which goes with the engine.
class Psi4Engine : public QmEngine {
 public:
  explicit Psi4Engine(const LevelOfTheory& level);
  ~Psi4Engine() override;
  std::string Description() const override;
  std::string ScfName() const override { return level_.scfName; }
  bool Correlated() const override { return level_.correlated; }
  QmPoint SinglePoint(const QmSystem& system, const std::vector<Vec3>& espPoints) const override;
  // optking's optimiser with Gaussian's convergence criteria: frozen atoms as
  // frozen Cartesians, constraints as frozen (or, with a value, fixed)
  // distances, bends and dihedrals.
  QmOptimisation Optimise(const QmSystem& system, const std::vector<int>& frozenAtoms,
                          const std::vector<QmConstraint>& constraints, int maxCycle) const override;

 private:
  LevelOfTheory level_;
  mutable std::unique_ptr<Psi4Worker> worker_;
};
