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
// starts from fresh fit settings (the water's QM energy given), no probed
// atoms, no waters and no NBFIX pairs.
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

// Formaldehyde (C O H1 H2) in the xy plane, C bonded to the three others.
CMolecule Formaldehyde();

}  // namespace testing_support
