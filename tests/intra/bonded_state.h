#pragma once

#include <string>
#include <vector>

#include "intra/BondOpt.h"
#include "support/forcefield_state.h"
#include "util.h"

namespace testing_support {

// Saves the molecule, the parameter tables and the state of the bonded fit
// and its objective, and puts them back at the end of a test.
class BondedFitState : public ForceFieldState {
 public:
  BondedFitState()
      : toOpt_(paramToOpt), xPrev_(xPrev), prevrmsd_(prevrmsd), minFunc_(minFunc), minx_(minx),
        target_(TargetStr), restraints_(restraints), charmmPath_(strCharmmPath), fpath_(fpath), nPrt_(nPrt),
        iCcycle_(iCcycle), moltmp_(moltmp) {}
  ~BondedFitState() {
    paramToOpt = toOpt_;
    xPrev = xPrev_;
    prevrmsd = prevrmsd_;
    minFunc = minFunc_;
    minx = minx_;
    TargetStr = target_;
    restraints = restraints_;
    strCharmmPath = charmmPath_;
    fpath = fpath_;
    nPrt = nPrt_;
    iCcycle = iCcycle_;
    moltmp = moltmp_;
  }

 private:
  CParamToOptArray toOpt_;
  FixedArray<Real, kMaxBondedParams> xPrev_;
  Real prevrmsd_, minFunc_;
  std::vector<Real> minx_;
  CTargetStructures target_;
  ClassRestraints restraints_;
  std::string charmmPath_, fpath_;
  int nPrt_, iCcycle_;
  CMolecule moltmp_;
};

}  // namespace testing_support
