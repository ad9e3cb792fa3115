#pragma once

#include <string>

#include "mol.h"

namespace OptimizeCharge {

// The whole charge fit of s (mol1): water probes and their QM references,
// relations and corrections, start charges, simulated annealing and Powell
// refinement of the objective, report, rounding to three decimals at the
// net charge, and PDB snapshots of every probe at its MM and QM distance.
void OptimizeCharges(CMolecule& s);

// Rounds every charge to three decimals and takes the difference to the
// net charge from the first independent atom.
void RoundCharges(CMolecule& s);

// Writes, for every geometry, the molecule and each used water at its MM
// and its QM distance under water<g>/respdb/.
void WriteChargeSnapshots(CMolecule& s);

}  // namespace OptimizeCharge

// Sets the charge (and a penalty of 0 or more, when given) of every atom
// named in the ATOM lines of the file at path. Raises DetailedError naming
// the file (and the line of a charge that is not a finite number).
void ReadInitialChargesFromFile(CMolecule& s, const std::string& path);
