#pragma once

#include <array>
#include <vector>

// The bonds named by the BOND and DOUBLE lines of every topology read in the
// process; never cleared.
class CBonds {
 public:
  class StrBond {
   public:
    std::array<int, 2> iatom{};  // the two atom indices
  };
  std::vector<StrBond> bonds;
};

extern CBonds BondStruct;
