#pragma once

#include "mol.h"

// The charge model of the fit: every atom's row `qrel` of relation factors.
// Atom i is independent (one parameter of the fit) when its own entry is
// positive; entry j of its row (j > i) ties atom j's charge to it by that
// factor. A zero row marks a fixed charge.

// True when atom i of s is an independent charge.
bool IsIndependent(const CMolecule& s, int i);
// Number of independent charges of s.
int CountIndependent(const CMolecule& s);

// The charge-relations file as it is opened.
std::string RelationFilePath();

namespace OptimizeCharge {

// Checks the charge-relations file, when there is one, before the QM jobs
// of the probes run: a line that ties an atom to itself ends the process.
void CheckRelationFile();
// Builds the relation rows, the polar flags, the water scales and the
// geometry weights from the charge-relations file, and prints the table.
void RestrainCharges(CMolecule& s);
// Scales and shifts the QM water data of polar atoms, prints them and
// applies the `wdata` lines of the charge-relations file.
void ApplyCorrectionToQMData(const CMolecule& s);
// Spreads the difference between the net charge and the total charge over
// the independent atoms and their dependants, keeping every relation.
void EqualizeCharge(CMolecule& s);

}  // namespace OptimizeCharge
