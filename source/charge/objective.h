#pragma once

#include "charge/water.h"
#include "constants.h"
#include "mol.h"
#include "numerical_recipes/nrutil_nr.h"

// Number of evaluations of the charge objective so far (the report restarts
// it at 1) and the water whose distance is being minimised.
extern int iStepOpt;
extern int itoopt;

namespace OptimizeCharge {

// Bracket and tolerance of the search for a water's MM optimal distance.
inline constexpr Real kWaterBracketLow = 1.4;
inline constexpr Real kWaterBracketMid = 2.0;
inline constexpr Real kWaterBracketHigh = 5.0;
inline constexpr Real kWaterDistanceTol = 1e-9;
// Shortest distance at which a water's MM energy is evaluated.
inline constexpr Real kShortestWaterDistance = 1.0;
// Waters whose QM interaction energy lies above this are left out when
// fRemovePositiveInter is set.
inline constexpr Real kRepulsiveWaterEnergy = -0.1;
// Atoms with a charge penalty below this are restrained.
inline constexpr Real kRestrainedPenalty = 30.0;

// Resolves the Lennard-Jones parameters of every solute-water atom pair
// (NBFIX included) for every water of h2o and prepares the ESP misfit of
// every geometry of s; run once before evaluations.
void PrepareTargetFunction(CMolecule& s);
// The same for one water.
void PrepareWaterPairs(WaterTIP3P& w, const CMolecule& s);
// MM interaction energy (Coulomb + Lennard-Jones, kcal/mol) of water w with
// s at their current positions, from the prepared pair parameters.
Real WaterEnergy(const WaterTIP3P& w, const CMolecule& s);

// Sets the charges of mol1 from the independent charges x (relations and
// net charge applied) and returns TargetFunction().
Real OptimizedFunction(Vec_I_DP& x);
// Scores the current charges of mol1; records the weighted terms in
// targetFunctionContributions.
Real TargetFunction();
// MM interaction energy of water itoopt with mol1 at distance x (at least 1 A).
Real WaterInterEnergy(Real x);
// ESP error of geometry igeom (kcal/(mol e)); a constant offset is not
// penalised. Prepared geometries cost (natm + 1)^2 operations.
Real GetRMSESPfit(const CMolecule& system, int igeom);
// Unweighted charge restraint of the current charges (see docs/charge-fit.md).
Real ChargeRestraint(const CMolecule& s);

}  // namespace OptimizeCharge
