#pragma once

#include <string>
#include <vector>

#include "charge/ChargeOpt.h"
#include "gaussian.h"
#include "mol.h"
#include "param.h"
#include "util.h"

namespace testing_support {

// Saves every process-wide object the charge fit reads or changes and puts
// it back on destruction, so that a test may set them freely.
class ChargeStateGuard {
 public:
  ChargeStateGuard();
  ~ChargeStateGuard();
  ChargeStateGuard(const ChargeStateGuard&) = delete;
  ChargeStateGuard& operator=(const ChargeStateGuard&) = delete;

 private:
  CMolecule mol1_;
  CH2O h2o_;
  COptCharge optCharge_;
  CParamOptCharges param_;
  ClassTargetFunctionContributions contributions_;
  std::string fpath_;
  Gaussian::GaussianJob options_;
  int iStepOpt_;
  int itoopt_;
  std::vector<CNBFIX> nbfix_;
  Charmm charmm_;
  int bGsOut_;
};

// Marks atoms i and j of m as bonded.
void Bond(CMolecule& m, int i, int j);

// Methanol (C O H1 H2 H3 HO) with its bonds, general-force-field types and
// charges C -0.04, O -0.65, H1..H3 0.09 each, HO 0.42 (total 0).
CMolecule BondedMethanol();

// Text of a Gaussian probe output: the optimised RX, the final SCF energy and
// the Z-matrix orientation table of the given centres (x, y, z each).
std::string ProbeOutput(double rx, double energy, const std::vector<double>& centres,
                        bool errorTermination = false);

// Centres of a probe complex: the solute's active coordinates followed by n
// water centres spread along x beyond the solute.
std::vector<double> ComplexCentres(const CMolecule& solute, int nWaterCentres);

}  // namespace testing_support
