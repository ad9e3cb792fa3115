#pragma once

#include <array>
#include <string>
#include <vector>

#include "molecule.h"

// Coordinate files of the MM engine: PDB and CHARMM CARD read, CARD written.
namespace mm {

using Point = std::array<double, 3>;
using Coords = std::vector<Point>;  // Angstrom, one point per atom in molecule order

// Reads a PDB (ATOM/HETATM records) or CARD file, chosen by content: a file
// whose first non-title line is a lone count is CARD. Atoms are matched by
// name; every atom of m must be present. Throws InputError naming file and line.
Coords ReadCoordinates(const std::string& path, const Molecule& m);

// The CARD text (extended format) of coordinates c of m, segment AAAA,
// residue number 1.
std::string CardText(const Molecule& m, const Coords& c, const std::string& title);

}  // namespace mm
