#pragma once

#include <vector>

#include "constants.h"

// One free parameter of the current stage of the bonded fit.
class CParamToOpt {
 public:
  char typeTerm = ' ';    // 'b' bond, 'a' angle, 'd' dihedral, 'i' improper
  char typeParam = ' ';   // 'f' force constant, 'b' bond length, 'a' angle,
                          // 'k' Urey-Bradley force constant, 's' Urey-Bradley distance
  int imultiplicity = 0;  // index of the dihedral term within its entry
  int ip = 0;             // index into the table of `param` of that term kind
  Real value = 0.0;
};

// The free parameters of a stage, one per element of the parameter vector.
class CParamToOptArray {
 public:
  // Empties the list.
  void init();
  // Appends one parameter.
  void newParam(char typeTerm, char typeParam, int imultiplicity, int ip, Real value);

  std::vector<CParamToOpt> param;
};
