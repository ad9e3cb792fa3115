#pragma once

#include <array>
#include <istream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// A fault in an input deck: the message names the line and the problem.
class DeckError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A number written in a centre line: a literal, or a named value (optionally
// negated) defined in the Variables: or Constants: section.
struct DeckValue {
  bool isName = false;
  std::string name;  // as written, without the sign
  bool negate = false;
  double number = 0;
};

// One centre of the deck's molecule section.
struct DeckCentre {
  int line = 0;             // line number in the deck (1-based)
  std::string label;        // as written ("6", "C", "OH2", "X")
  int atomicNumber = 0;     // 0 for a dummy centre
  bool cartesian = true;
  int freezeCode = 0;       // Cartesian centres: 0 free, -1 frozen
  std::array<DeckValue, 3> xyz;  // Cartesian coordinates, Angstrom
  std::array<int, 3> refs = {-1, -1, -1};  // Z-matrix: earlier centres (0-based), -1 unused
  std::array<DeckValue, 3> internal;       // Z-matrix: bond length, angle, dihedral
};

// A frozen internal coordinate of a ModRedun section: 2, 3 or 4 centres.
struct DeckConstraint {
  int line = 0;
  std::vector<int> centres;  // 0-based
  bool hasValue = false;
  double value = 0;  // Angstrom or degrees
};

struct DeckRoute {
  std::string text;      // the route lines joined, as written
  std::string method;    // method/basis as written, "" when none
  bool opt = false;
  bool optZMatrix = false;
  bool modRedun = false;
  int maxCycle = 0;      // 0: not given
  bool noSymm = false;
  bool popMK = false;
  bool printEspPoints = false;  // IOp(6/33=2)
  int espLayers = 4;            // IOp(6/41=n)
  int espDensity = 1;           // IOp(6/42=n), points per square Angstrom
};

struct Deck {
  std::vector<std::string> link0;  // as written
  int nproc = 1;
  bool nprocGiven = false;  // a %NPROC line was read
  DeckRoute route;
  std::vector<std::string> titleLines;
  int charge = 0;
  int multiplicity = 1;
  std::vector<DeckCentre> centres;
  std::vector<std::pair<std::string, double>> variables;  // in deck order
  std::vector<std::pair<std::string, double>> constants;
  std::vector<DeckConstraint> constraints;

  // True when any centre is given as a Z-matrix line.
  bool HasZMatrix() const;
  // Indices of the centres that are real atoms (not dummies), in deck order.
  std::vector<int> AtomCentres() const;
};

// Reads a whole deck. Throws DeckError for anything it cannot accept.
Deck ParseDeck(std::istream& in);

// Value of a centre number: a literal, or the named value from the deck's
// Variables: (overridden by `variables` when given) or Constants: section.
double ResolveValue(const Deck& deck, const DeckValue& value,
                    const std::map<std::string, double>& variables);
