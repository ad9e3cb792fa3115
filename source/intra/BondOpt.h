#pragma once

// The bonded-parameter fit: its settings, free-parameter list, objective and
// the state the stages share.
#include <optional>
#include <string>
#include <vector>

#include "capacity.h"
#include "constants.h"
#include "intra/ParamToOpt.h"
#include "intra/settings.h"
#include "mol.h"
#include "numerical_recipes/nrutil_nr.h"
#include "param/param.h"

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

// --- what the fit achieved (intra/fit_summary.cpp) ---

// The energy and coordinate RMSDs of every one-dimensional term at the first
// evaluation that saw it and at the last one.
class CTermRmsdHistory {
 public:
  class Entry {
   public:
    std::string name;
    Real startEner = 0.0, startVal = 0.0;  // kcal/mol; Angstrom or degrees
    Real endEner = 0.0, endVal = 0.0;
  };
  // Takes the RMSDs of every term of m after a full evaluation.
  void Record(const CMolecule& m);
  // After a fit (two evaluations or more): the name of the fitted parameter
  // file and the table of the terms, start against end.
  void Print() const;

  int evaluations = 0;
  std::vector<Entry> terms;
};
extern CTermRmsdHistory termRmsdHistory;

// --- free parameters of one evaluation without fitting (intra/free_parameters.cpp) ---

// Every free parameter of the families OptInter includes, at its current
// value in p: per fitted bond its force constant and length; per fitted angle
// its force constant, angle and Urey-Bradley constant and distance; per
// fitted dihedral each present multiplicity; per fitted improper its force
// constant.
void AllFreeParameters(const Param& p, CParamToOptArray& list);
// Appends the force constant of every present multiplicity of every fitted
// dihedral entry of p, then that of every fitted improper entry.
void AddDiheImprForceConstants(const Param& p, CParamToOptArray& list);
// Appends, per fitted bond entry of p, the parameters named by kinds in that
// order: 'f' force constant, 'b' length.
void AddBondParameters(const Param& p, const char* kinds, CParamToOptArray& list);
// Appends, per fitted angle entry of p, the parameters named by kinds in that
// order: 'f' force constant, 'a' angle, and for an entry with a Urey-Bradley
// term 'k' its force constant and 's' its distance.
void AddAngleParameters(const Param& p, const char* kinds, CParamToOptArray& list);

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

// --- trial parameters (intra/trial_parameters.cpp) ---

// Penalties on trial values that had to be brought into range.
struct TrialPenalties {
  Real bond = 0.0;   // bond force constants below 1 and lengths far from ideal
  Real angle = 0.0;  // angles out of range or far from ideal, Urey-Bradley terms
  // Set when an angle force constant at or below 1 kcal/mol/rad^2 stopped the
  // mapping; holds its distance from 1.
  std::optional<Real> softAngle;
};
// Writes the trial vector x (one value per entry of paramToOpt: kcal/mol/A^2,
// kcal/mol/rad^2, A, degrees or kcal/mol as the entry's kind says) into the
// table p, clamping values out of range, and returns the penalties.
TrialPenalties ApplyTrialParameters(Vec_I_DP& x, Param& p);
// Gives every dihedral entry tied to an earlier one (relDihe 1) the force
// constants and phases of that entry.
void TieRelatedDihedrals(Param& p);
// Sets the accumulators of r from the fitted entries of p and their values in
// initial, for the families OptInter includes.
void SumRestraints(const Param& p, const Param& initial, ClassRestraints& r);

// --- report of the objective (intra/objective_report.cpp) ---

// Deviations of every scan term of m from its QM profile (rmsdVal, rmsdEner),
// one report line per term; adds the term's weighted contributions to
// energySum and valueSum.
void ReportScanTerms(CMolecule& m, Real& energySum, Real& valueSum);
// Boltzmann-weighted energy deviation of every multi-dimensional scan
// (rmsdVal), one line per scan; returns the weighted sum.
Real ReportMultiScans(std::vector<CSoftDiheMulti>& scans);
// 10 x the RMS deviation of the MM from the QM target-structure energies
// after the best shift (0 without structures), also kept in rmsdVal, with
// its report line.
Real ReportTargetStructures(CTargetStructures& t);
// bond/all.results.dat: QM and MM energy of every scan point below the
// energy cut-off.
void WriteAllResults(const CMolecule& m);

// --- tables for the report (intra/report_tables.cpp) ---

// One evaluation of the objective, every part weighted as it enters the sum
// (kcal/mol-based, dimensionless): the one-dimensional scans' energies, the
// multi-dimensional scans' and the target structures' (each times sfactor
// SP), the coordinates, the structures (times sfactor STR), the restraints
// and the penalties of values out of range.
class CObjectiveParts {
 public:
  Real scans = 0.0, multiScans = 0.0, targets = 0.0, coordinates = 0.0;
  Real structure = 0.0, restraints = 0.0, penalties = 0.0, total = 0.0;
};
// Removes bond/objective_history.dat and bond/term_rmsd.dat: a fit starts
// its tables afresh.
void StartFitTables();
// Appends evaluation step of the families OptInter includes to
// bond/objective_history.dat.
void AppendObjectiveHistory(int step, const CObjectiveParts& parts);
// bond/<term>/charmm.start.dat: the MM profile of the first evaluation that
// saw term t (coordinate reached, energy).
void WriteStartProfile(const CMolecule::ClassPESScanBonded& t);
// bond/term_rmsd.dat: per one-dimensional term its RMSDs at the start and
// at the last evaluation.
void WriteTermRmsds(const CTermRmsdHistory& h);

// --- structure deviations (intra/structure_rmsd.cpp) ---

// Deviation of the MM scan structures from the QM ones in the changes of the
// optimised bond lengths and angles between neighbouring points.
Real rmsd_str();

// --- soft-dihedral data (intra/soft_dihedral_data.cpp) ---

// True when the four-atom lists a and b are equal or one is the other
// reversed; lists of another length raise std::invalid_argument
// "wrong array size in compareDihe".
bool compareDihe(const std::vector<int>& a, const std::vector<int>& b);
