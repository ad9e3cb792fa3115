#pragma once

// The bonded-parameter fit: its settings, free-parameter list, objective and
// the state the stages share.
#include <string>
#include <vector>

#include "capacity.h"
#include "constants.h"
#include "intra/ParamToOpt.h"
#include "intra/settings.h"
#include "mol.h"
#include "numerical_recipes/nrutil_nr.h"

// --- driver state (intra/driver.cpp) ---

// Number of free parameters of the current stage.
extern int nPrt;
// The free parameters of the current stage, one per element of the vector.
extern CParamToOptArray paramToOpt;
// Starting values of the current stage, element for element (5000 elements).
extern Vec_DP ParamInit;
// Copy of mol1 taken before fitting: the reference structure of the MM jobs.
extern CMolecule moltmp;
// Evaluation counter of the objective.
extern int iCcycle;
// Number of global iterations over the fitted families.
extern int NGlobalIterations;
// The target structures of the bonded fit.
extern CTargetStructures TargetStr;

// --- scan terms (intra/ab_initio.cpp) ---

// Points from the reference point iopt outwards: (iopt, -1), then each point
// seeded by its neighbour towards iopt, first upwards, then downwards.
void defineOrderPesScan(std::vector<CMolecule::ClassOrderOpt>& order, int npt, int iopt);

// --- objective (intra/objective.cpp) ---

// Largest parameter vector the repeat check holds.
inline constexpr int kMaxBondedParams = 1000;
// Previous computed parameter vector, each element in single precision.
extern FixedArray<Real, kMaxBondedParams> xPrev;
// Value of the previous full evaluation.
extern Real prevrmsd;
// Lowest value since the driver last reset it, and its parameter vector.
extern Real minFunc;
extern std::vector<Real> minx;
// The two energy series func0 compares.
extern std::vector<Real> r_1, r_2;

// The bonded objective for the parameter vector x (one element per entry of
// paramToOpt): writes the trial parameters, runs the MM jobs and returns the
// weighted deviation from the QM references plus penalties and restraints.
Real rmsd_b(Vec_I_DP& x);
// The constant shift e that best aligns the series a with b (golden-section
// search of func0 in -10 .. 10 kcal/mol).
Real E0(const std::vector<double>& a, const std::vector<double>& b);
// Root of the summed squares of r_1[i] - r_2[i] - e; 0 for empty series.
Real func0(Real e);
// Adapter for gradient-based minimisers: value of rmsd_b at x, central
// differences of it in grad.
Real targetFunc(const std::vector<double>& x, std::vector<double>& grad, void* data);

// --- structure deviations (intra/structure_rmsd.cpp) ---

// Deviation of the MM scan structures from the QM ones in the changes of the
// optimised bond lengths and angles between neighbouring points.
Real rmsd_str();
