#pragma once

#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gaussian.h"
#include "mol.h"

// Running the stand-in QM program on decks and reading what it answers.
namespace g09_testing {

using Point = std::array<double, 3>;

struct Atom {
  int atomicNumber;
  Point xyz;
};
using Bonds = std::vector<std::pair<int, int>>;  // 1-based atom numbers

// Small molecules in Angstrom.
std::vector<Atom> Methanol();       // C1 O2 H3 H4 H5 H6(hydroxyl)
std::vector<Atom> Formaldehyde();   // C1 O2 H3 H4
std::vector<Atom> Ammonia();        // N1 H2 H3 H4
Bonds MethanolBonds();

// The atoms as a molecule of the system, atom k named "A<k>".
CMolecule ToMolecule(const std::vector<Atom>& atoms, const Bonds& bonds = {});

struct G09Run {
  int status = -1;
  std::string out;                   // the output text
  Gaussian::GaussianOutputData data; // the output as the system reads it
  std::set<std::string> files;       // the files in the directory afterwards
};

// Writes deck into a fresh directory, runs "g09 < deck > output" there and
// reads the output with the system's reader.
G09Run RunG09(const std::string& deck);
// The last non-empty line of a text.
std::string LastLine(const std::string& text);

// Atom lines "%3d <code> %9.5f %9.5f %9.5f".
std::string AtomLines(const std::vector<Atom>& atoms, int freezeCode);

// The decks the system writes for a molecule (neutral singlet).
std::string SinglePointDeck(const std::vector<Atom>& atoms);
std::string OptimisationDeck(const std::vector<Atom>& atoms, const std::string& constraintLines);
std::string PopulationDeck(const std::vector<Atom>& atoms);
// The system's water-probe deck on atom `probed` (1-based) of the molecule.
std::string ProbeDeck(const std::vector<Atom>& atoms, const Bonds& bonds, int probed, bool positive, double rx,
                      double turn);

// Geometry helpers (degrees).
double Distance(const Point& a, const Point& b);
double Angle(const Point& a, const Point& b, const Point& c);
double Dihedral(const Point& a, const Point& b, const Point& c, const Point& d);
// Point i (0-based) of a flat x, y, z list.
Point At(const std::vector<double>& xyz, int i);

}  // namespace g09_testing
