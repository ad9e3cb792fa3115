#pragma once

#include <string>
#include <vector>

#include "constants.h"
#include "mol.h"

// One TIP3P water probe placed next to an atom of the molecule: a small
// molecule of its own (OH2, H1, H2) with the QM reference of its position
// and the MM optimum found by the charge objective.
class WaterTIP3P : public CMolecule {
 public:
  WaterTIP3P();

  // Moves the water rigidly so that its facing atom lies `dist` Angstrom from
  // atom aid1 of s, on the line through both. Ends the process when the
  // current or the requested distance is zero.
  void h2otrans(const CMolecule& s, Real dist);

  // QM optimisation of the probe distance RX with the molecule frozen: the
  // water oxygen faces a positive atom / the water hydrogen H1 faces a
  // negative or neutral one. On return `energy` is the QM energy of the
  // complex (hartree), QMInterDist the optimised RX and the water atoms sit
  // at their optimised positions.
  void QMProbePositiveAtom(const CMolecule& solute, Real dist, Real angleH1);
  void QMProbeNegativeAtom(const CMolecule& solute, Real dist, Real angleH2);

  Real h2oangle = 0.0;     // placement angle around the probed atom, degrees
  Real h2oscale = 1.0;     // weight of this water in the objective
  Real QMInterEner = 0.0;  // QM interaction energy, kcal/mol
  Real QMInterDist = 0.0;  // QM distance probed atom - facing atom, Angstrom
  Real empdst = 2.5;       // MM optimal distance, Angstrom
  Real empenr = 0.0;       // MM interaction energy at empdst, kcal/mol
  std::string atm1, atm2, atm3, atm4;
  int aid1 = -1, aid2 = -1, aid3 = -1, aid4 = -1;
  int iWaterProbeAtom = 0;  // 0: oxygen faces the atom; 1: H1 does
  int iProbedGeometry = 0;

  // Lennard-Jones parameters of every (solute atom i, water atom j) pair at
  // element i * 3 + j, NBFIX overrides resolved; filled once before the
  // objective is evaluated (OptimizeCharge::PrepareTargetFunction).
  std::vector<Real> pairEps;
  std::vector<Real> pairRmin;
};

// The water probes in creation order; the position of a water is its
// identity in every step of the charge fit.
class CH2O {
 public:
  WaterTIP3P& AddWater() { return h2o.emplace_back(); }
  std::size_t size() const { return h2o.size(); }
  WaterTIP3P& operator[](std::size_t i) { return h2o[i]; }
  const WaterTIP3P& operator[](std::size_t i) const { return h2o[i]; }

  std::vector<WaterTIP3P> h2o;
};

extern CH2O h2o;

namespace OptimizeCharge {

// Start distance of every QM probe, Angstrom. Each probe starts here, not
// from the result of the one before, so that the probes are independent jobs
// and may run at the same time.
inline constexpr Real kProbeStartDistance = 2.2;

// Places the waters of every probed atom (the probes of OptCharge) into h2o
// without running anything: frame atoms, angles and facing atom.
void SetUpWaters(const CMolecule& s);
// Builds h2o and obtains the QM interaction energy and distance of every
// water from Gaussian probe optimisations, all in one batch of QM jobs.
void CreateWaters(CMolecule& s);

}  // namespace OptimizeCharge
