#pragma once

#include <string>

#include "charge/water.h"
#include "gaussian.h"

// The Gaussian Z-matrix deck that optimises the distance RX between the
// probed atom of water w and its facing water atom, with the solute frozen:
// the oxygen faces the atom in a positive deck, H1 in a negative one.
std::string WaterProbeDeck(const WaterTIP3P& w, const CMolecule& solute, Real dist, Real angle,
                           bool positive);

// The QM energy of one TIP3P water (hartree) at level `theory`, from its own
// single-point job fpath + "/tip3p.inp" (reused like every QM job); printed
// with the output's name.
Real QMWaterMonomerEnergy(const std::string& theory);

// Directory and file stem of the probe job of water w at the given angle:
// fpath + "/water" + geometry + "/" + atm1 + "/" and atm1 + "." + angle.
std::string WaterProbeDir(const WaterTIP3P& w);
std::string WaterProbeStem(const WaterTIP3P& w, Real angle);

// The probe job of water w in two steps: the deck (start distance dist,
// Angstrom; the turn angle, degrees) and, after the job has run, its output
// read into w: `energy`, QMInterDist and the water atoms' positions. A job
// that ended in error or an output without the energy, the distance or the
// complex's coordinates ends the process.
Gaussian::QMJob WriteWaterProbeDeck(const WaterTIP3P& w, const CMolecule& solute, Real dist,
                                    Real angle, bool positive);
void ReadWaterProbe(WaterTIP3P& w, const CMolecule& solute, Real angle, bool positive);
