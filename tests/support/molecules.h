#pragma once

#include "mol.h"

namespace testing_support {

// H1 O1 O2 H2 with atomic numbers, PDB fields and one stored geometry, as a
// topology and a coordinate file would leave it.
CMolecule HydrogenPeroxide();

}  // namespace testing_support
