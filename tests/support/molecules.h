#pragma once

#include "mol.h"

namespace testing_support {

// H1 O1 O2 H2, a small molecule for QM decks (see MakeMolecule).
CMolecule HydrogenPeroxide();

}  // namespace testing_support
