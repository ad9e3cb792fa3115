#pragma once

#include "mol.h"

// Warnings about charges that the fit's data cannot fix, on the error stream.

// Before the fit: the free charges (independent, not restrained) against what
// the data can fix. Every water interaction energy, every dipole component
// and the net charge is a linear function of the free charges; a free charge
// whose column adds less than a twentieth of its own length to the columns
// of the others is not fixed by the data. When any is, names every free atom
// and says how to tie or restrain them. The ESP term, when weighted, fixes
// every charge. Activates each probed geometry in turn.
void WarnUnfixedCharges(CMolecule& s);

// After the fit: names every charge beyond +-1.2 e.
void WarnLargeCharges(const CMolecule& s);
