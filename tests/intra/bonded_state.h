#pragma once

#include <string>
#include <tuple>
#include <type_traits>

#include "intra/BondOpt.h"
#include "support/forcefield_state.h"
#include "util.h"

namespace testing_support {

// The state of the bonded fit and its objective beyond the force-field objects.
inline auto BondedFitGlobals() {
  return std::tie(paramToOpt, xPrev, prevrmsd, minFunc, minx, TargetStr, restraints, strCharmmPath, fpath, nPrt,
                  iCcycle, moltmp);
}

// Saves the molecule, the parameter tables and the state of the bonded fit
// and its objective, and puts them back at the end of a test.
class BondedFitState : public ForceFieldState {
 public:
  ~BondedFitState() { BondedFitGlobals() = saved_; }

 private:
  template <class... T>
  static std::tuple<std::remove_cvref_t<T>...> Copy(const std::tuple<T...>& t) { return t; }
  decltype(Copy(BondedFitGlobals())) saved_ = Copy(BondedFitGlobals());
};

}  // namespace testing_support
