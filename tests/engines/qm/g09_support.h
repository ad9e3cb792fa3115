#pragma once

#include <array>
#include <string>
#include <vector>

#include "gaussian.h"

// Running the stand-in QM program on decks and reading what it answers.
namespace g09_testing {

using Point = std::array<double, 3>;

struct Atom {
  int atomicNumber;
  Point xyz;
};

// Small molecules in Angstrom.
std::vector<Atom> Methanol();       // C1 O2 H3 H4 H5 H6(hydroxyl)
std::vector<Atom> Formaldehyde();   // C1 O2 H3 H4
std::vector<Atom> Ammonia();        // N1 H2 H3 H4
std::vector<Atom> Hexane();         // 20 atoms, C1..C6 then hydrogens

struct G09Run {
  int status = -1;
  std::string out;                   // the output text
  Gaussian::GaussianOutputData data; // the output as the system reads it
};

// Writes deck into a fresh directory, runs "g09 < deck > output" there,
// reads the output with the system's reader. When `leftOver` is given it
// receives the names of the files found in the directory afterwards.
G09Run RunG09(const std::string& deck, std::vector<std::string>* leftOver = nullptr);

// Atom lines "%3d <code> %9.5f %9.5f %9.5f".
std::string AtomLines(const std::vector<Atom>& atoms, int freezeCode);

// The decks the system writes for a molecule (neutral singlet).
std::string SinglePointDeck(const std::vector<Atom>& atoms);
std::string OptimisationDeck(const std::vector<Atom>& atoms, const std::string& constraintLines);
std::string PopulationDeck(const std::vector<Atom>& atoms);

// Water-probe decks. Atom numbers are 1-based; `bonded` lists the neighbours
// of the probed atom (1, 2 or 3 of them; with one neighbour a third atom
// `third` fixes the frame). A and D are the frame angles of decks whose
// probed atom has two or three neighbours.
std::string PositiveProbeDeck(const std::vector<Atom>& atoms, int probed, const std::vector<int>& bonded,
                              int third, double rx, double turn);
std::string NegativeProbeDeck(const std::vector<Atom>& atoms, int probed, const std::vector<int>& bonded,
                              int third, double rx, double turn);

// Geometry helpers (degrees).
double Distance(const Point& a, const Point& b);
double Angle(const Point& a, const Point& b, const Point& c);
double Dihedral(const Point& a, const Point& b, const Point& c, const Point& d);
// Point i (0-based) of a flat x, y, z list.
Point At(const std::vector<double>& xyz, int i);

constexpr double kHartreeToKcal = 627.51;

}  // namespace g09_testing
