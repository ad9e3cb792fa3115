#pragma once

#include "constants.h"
#include "mol.h"

namespace OptimizeCharge {

// The misfit form of geometry g of s, built from its fit points: their
// distances to the atoms (A) and QM potential (kcal/(mol e)). Costs
// points x (natm + 1)^2 operations; an empty form when g has no points.
CMolecule::CESP::CMisfitForm EspMisfitForm(const CMolecule& s, int g);

// Prepares the misfit form of every geometry of s that has fit points, so
// that the ESP error costs (natm + 1)^2 operations whatever the number of
// points. Run once before the charges are fitted.
void PrepareEspFit(CMolecule& s);

// Root-mean-square misfit (kcal/(mol e)), a constant offset removed, of the
// potential of the charges of s against the QM potential the form was
// prepared from.
Real EspMisfit(const CMolecule::CESP::CMisfitForm& form, const CMolecule& s);

}  // namespace OptimizeCharge
