#pragma once

#include <string>
#include <vector>

#include "constants.h"

// The molecule being parameterised.
class CMolecule {
 public:
  int natm = 0;
  int spinm = 1;          // spin multiplicity for QM jobs
  Real netcharge = 0.0;   // net charge of the molecule, e
};

extern CMolecule mol1;
