#pragma once

#include <map>
#include <string>
#include <vector>

// CHARMM parameter files: bonded terms, Lennard-Jones and NBFIX values, in
// CHARMM units (kcal/mol, Angstrom, degrees).
namespace mm {

struct BondParam {
  double kb = 0, b0 = 0;
};
struct AngleParam {
  double ktheta = 0, theta0 = 0;
  double kub = 0, s0 = 0;  // Urey-Bradley, kub = 0 when absent
};
struct TorsionTerm {
  double k = 0;
  int n = 0;  // multiplicity; 0 = harmonic
  double delta = 0;
};
struct LJParam {
  double eps = 0, rminHalf = 0;      // eps as a positive well depth
  double eps14 = 0, rminHalf14 = 0;  // the 1-4 values (equal to the above when not given)
};
struct PairLJ {
  double eps = 0, rmin = 0;      // eps positive, rmin for the pair (not halved)
  double eps14 = 0, rmin14 = 0;
};

// Keys are the upper-case types joined by blanks, in the order of the file.
struct ParameterSet {
  std::map<std::string, BondParam> bonds;
  std::map<std::string, AngleParam> angles;
  std::map<std::string, std::vector<TorsionTerm>> dihedrals;
  std::map<std::string, std::vector<TorsionTerm>> impropers;
  std::map<std::string, LJParam> lj;
  std::map<std::string, PairLJ> nbfix;
  std::map<std::string, double> masses;
};

std::string Key(const std::vector<std::string>& types);

// Reads one parameter file into set. Entries of this file replace those of
// earlier files with the same types; for dihedrals and impropers all lines of
// one file with the same types make one entry (one term per multiplicity).
// Throws InputError naming the file and line.
void ReadParameters(const std::string& path, ParameterSet& set);

}  // namespace mm
