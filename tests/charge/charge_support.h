#pragma once

#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "charge/ChargeOpt.h"
#include "gaussian.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "param.h"
#include "util.h"

namespace testing_support {

// The process-wide objects the charge fit reads or changes.
inline auto ChargeGlobals() {
  return std::tie(mol1, h2o, OptCharge, ParamOptCharges, targetFunctionContributions, fpath, Gaussian::options,
                  iStepOpt, itoopt, nbfix, CharmmTopPar, OptInter.bGsOut);
}

// A tuple of copies of the objects a tuple of references refers to.
template <class... T>
std::tuple<std::remove_cvref_t<T>...> ValuesOf(const std::tuple<T...>&);

// Copies ChargeGlobals() and puts them back on destruction. In between a test
// starts from fresh fit settings, no probed atoms, no waters and no NBFIX pairs.
class ChargeStateGuard {
 public:
  ChargeStateGuard();
  ~ChargeStateGuard() { ChargeGlobals() = saved_; }
  ChargeStateGuard(const ChargeStateGuard&) = delete;
  ChargeStateGuard& operator=(const ChargeStateGuard&) = delete;

 private:
  decltype(ValuesOf(ChargeGlobals())) saved_;
};

// Marks atoms i and j of m as bonded.
void Bond(CMolecule& m, int i, int j);

// Methanol (C O H1 H2 H3 HO) with its bonds, general-force-field types and
// charges C -0.04, O -0.65, H1..H3 0.09 each, HO 0.42 (total 0).
CMolecule BondedMethanol();

// Gives m a second geometry, a copy of the active coordinates.
void AddSecondGeometry(CMolecule& m);

// Formaldehyde (C O H1 H2) in the xy plane, C bonded to the three others.
CMolecule Formaldehyde();

// One ion X at the origin: net charge +1 (atom charge left 0), eps -0.1,
// Rmin/2 2.0.
CMolecule Ion();

// Adds to h2o an uncharged water facing atom 0 of Ion(): oxygen (eps -0.1,
// Rmin/2 1.0) at 2.5 A along +x, hydrogens 1 A off in +-y. Its MM optimum
// with the ion lies at exactly 3 A with -0.1 kcal/mol.
WaterTIP3P& AddFacingWater(double qmEnergy, double qmDist, double scale = 1.0, int geometry = 0);

// Text of a Gaussian probe output: the optimised RX, the final SCF energy and
// the Z-matrix orientation table of the given centres (x, y, z each).
std::string ProbeOutput(double rx, double energy, const std::vector<double>& centres,
                        bool errorTermination = false);

// Centres of a probe complex: the solute's active coordinates followed by n
// water centres at x = 5, 6, ... beyond the solute.
std::vector<double> ComplexCentres(const CMolecule& solute, int nWaterCentres);

}  // namespace testing_support
