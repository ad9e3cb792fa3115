#pragma once

#include "mol.h"

// The scan terms of the parameters being fitted (in the order bonds, angles,
// rigid dihedrals, scanned soft dihedrals, impropers) with their points and
// the soft dihedrals they hold, the ideal bond lengths and angles of `param`,
// the completed soft dihedrals, restrdihe.inp and the result directories: all
// of the QM reference preparation that runs no external program.
void BuildScanTerms(CMolecule& m);
