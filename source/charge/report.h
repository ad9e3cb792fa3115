#pragma once

#include "mol.h"

namespace OptimizeCharge {

// Compares the start charges (qstart) and the optimised charges (qopt) of s
// with the QM references: water energies and distances, their statistics
// per geometry and overall, ESP errors and dipole moments. Leaves every
// charge at its qopt.
void PrintChargeOptResults(CMolecule& s);

// Angle in degrees between two dipoles; 0 when either has zero length.
Real DipoleAngle(const Vector3& a, const Vector3& b);

}  // namespace OptimizeCharge
