#pragma once

#include <vector>

#include "intra/settings.h"
#include "mol.h"
#include "param.h"
#include "param/param.h"
#include "topology.h"

namespace testing_support {

// Saves the process-wide force-field objects and the molecule on
// construction and puts them back on destruction, so that a test may change
// them freely.
class ForceFieldState {
 public:
  ForceFieldState()
      : mol_(mol1),
        charmm_(CharmmTopPar),
        param_(param),
        paramInitial_(paramInitial),
        chem_(chemtp),
        optInter_(OptInter),
        nbfix_(nbfix),
        bonds_(BondStruct) {}
  ~ForceFieldState() {
    mol1 = mol_;
    CharmmTopPar = charmm_;
    param = param_;
    paramInitial = paramInitial_;
    chemtp = chem_;
    OptInter = optInter_;
    nbfix = nbfix_;
    BondStruct = bonds_;
  }
  ForceFieldState(const ForceFieldState&) = delete;
  ForceFieldState& operator=(const ForceFieldState&) = delete;

 private:
  CMolecule mol_;
  Charmm charmm_;
  Param param_;
  Param paramInitial_;
  Chem chem_;
  COptInter optInter_;
  std::vector<CNBFIX> nbfix_;
  CBonds bonds_;
};

}  // namespace testing_support
