#pragma once

#include "constants.h"

// Largest distance (Angstrom) at which atoms of atomic numbers z1 and z2 are
// taken as bonded: 0.0 for pairs that are never bonded, -1.0 for pairs (or
// atomic numbers) without a rule.
Real mdist(int z1, int z2);
