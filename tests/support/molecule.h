#pragma once

#include <string>
#include <vector>

#include "mol.h"

namespace testing_support {

struct AtomSpec {
  std::string name;
  int atmnum = 0;
  double x = 0.0, y = 0.0, z = 0.0;
};

// A molecule with the given atoms as a topology reader leaves it: serial
// numbers from 1, residue MOL 1, occupancy 1, empty adjacency rows, and the
// given coordinates active and stored as geometry 0.
CMolecule MakeMolecule(const std::vector<AtomSpec>& atoms);

// The atoms (serial, name, type, segment, element, mass, charge, population
// charge, charge penalty, group, number of bonds, coordinates, Lennard-Jones
// values) and the bonded terms by atom index, one line each, for comparison
// with a reference file.
std::string Describe(const CMolecule& m);

// Small molecules with typical bond lengths (Angstrom).
CMolecule Methanol();  // C O H1 H2 H3 HO
CMolecule Water();     // OH2 H1 H2
// H1 O1 O2 H2, a small molecule for QM decks.
CMolecule HydrogenPeroxide();

// Files of a methanol residue: MASS lines of its four types, the residue
// topology (names CB OG HG1 HB1 HB2 HB3) and a PDB file of it.
extern const char* const kMethanolTypesRtf;
extern const char* const kMethanolRtf;
extern const char* const kMethanolPdb;

}  // namespace testing_support
