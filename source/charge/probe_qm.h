#pragma once

#include <string>

#include "charge/water.h"

// The Gaussian Z-matrix deck that optimises the distance RX between the
// probed atom of water w and its facing water atom, with the solute frozen:
// the oxygen faces the atom in a positive deck, H1 in a negative one.
std::string WaterProbeDeck(const WaterTIP3P& w, const CMolecule& solute, Real dist, Real angle,
                           bool positive);

// Directory and file stem of the probe job of water w at the given angle:
// fpath + "/water" + geometry + "/" + atm1 + "/" and atm1 + "." + angle.
std::string WaterProbeDir(const WaterTIP3P& w);
std::string WaterProbeStem(const WaterTIP3P& w, Real angle);
