#pragma once

// The tables of the charge fit that the report script reads, in the working
// directory. Formats: docs/report.md.
#include <string>
#include <vector>

#include "mol.h"

namespace OptimizeCharge {

// One water probe against its QM reference, with the start and the fitted
// charges: energies in kcal/mol, distances in Angstrom, angle in degrees.
class WaterComparison {
 public:
  int geometry = 0;  // from 1
  std::string site;  // probed atom and its partner, "O1-H1"
  Real angle = 0.0;
  Real qmEnergy = 0.0, startEnergy = 0.0, fittedEnergy = 0.0;
  Real qmDistance = 0.0, startDistance = 0.0, fittedDistance = 0.0;
};
// charge_waters.dat: one line per water.
void WriteWaterTable(const std::vector<WaterComparison>& waters);

// The dipole of one geometry (Debye): QM, QM scaled, and the MM dipoles of
// the start and the fitted charges.
class DipoleComparison {
 public:
  int geometry = 0;  // from 1
  Vector3 qm, qmScaled, start, fitted;
};
// charge_dipoles.dat: four lines per geometry.
void WriteDipoleTable(const std::vector<DipoleComparison>& dipoles);

// charge_atoms.dat: per atom of s its start charge (qstart), its fitted
// charge (q) and its restraint class (qpenalty).
void WriteChargeTable(const CMolecule& s);

}  // namespace OptimizeCharge
