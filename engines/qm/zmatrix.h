#pragma once

#include <map>
#include <string>
#include <vector>

#include "deck.h"
#include "vec3.h"

// Positions (Angstrom) of every centre of the deck, dummies included, in deck
// order. Cartesian centres stand where they are written; a Z-matrix centre is
// placed from its bond length, angle and dihedral to earlier centres.
// `variables` overrides the values of the Variables: section (lower-case
// names). Throws DeckError when a centre cannot be placed.
std::vector<Vec3> CentrePositions(const Deck& deck, const std::map<std::string, double>& variables);

// The deck's Variables: as a map of lower-case name to value.
std::map<std::string, double> StartVariables(const Deck& deck);
