#pragma once

#include <array>
#include <string>
#include <vector>

#include "parameters.h"
#include "topology.h"

// The molecule of one job with every energy term and its CHARMM parameters.
namespace mm {

struct Atom {
  std::string name, type;
  double charge = 0, mass = 0;
  LJParam lj;
};

struct BondTerm {
  int i, j;
  BondParam p;
};
struct AngleTerm {
  int i, j, k;
  AngleParam p;
};
struct TorsionTermSet {
  std::array<int, 4> a;
  std::vector<TorsionTerm> terms;
};
// A non-bonded pair with its combined Lennard-Jones values.
struct PairTerm {
  int i, j;
  double qq;        // qi * qj
  double eps, rmin;  // eps_ij and Rmin_ij
  bool is14;
  bool nbfix;  // eps and rmin from an NBFIX line
};

class Molecule {
 public:
  std::string residue;
  std::vector<Atom> atoms;
  std::vector<BondTerm> bonds;
  std::vector<AngleTerm> angles;
  std::vector<TorsionTermSet> dihedrals, impropers;
  std::vector<PairTerm> pairs;

  int natm() const { return static_cast<int>(atoms.size()); }
  // Index of the atom named name (case-insensitive); -1 when absent.
  int Index(const std::string& name) const;
  // Index, or std::runtime_error naming the atom.
  int IndexOrThrow(const std::string& name) const;
};

// Builds the molecule of residue r: bonds from the topology, angles and
// dihedrals from the bonds, impropers from the topology, every non-bonded pair
// beyond 1-3, and the parameters of each term from set. A term without
// parameters throws std::runtime_error naming its atoms and types.
Molecule BuildMolecule(const Residue& r, const std::map<std::string, double>& masses,
                       const ParameterSet& set);

}  // namespace mm
