#pragma once

#include <string>

// The route's method and basis set, read once for every engine that computes
// them: the names psi4 gives them and the names the output prints.
struct LevelOfTheory {
  std::string method;     // psi4's name: "scf", "b3lyp" or "mp2"
  std::string reference;  // psi4's reference: "rhf", "uhf", "rohf", "rks" or "uks"
  std::string basis;      // psi4's name of the basis set: "6-31G*", "cc-pVDZ"
  std::string scfName;    // the name in "E(...)": "RHF", "UHF", "RB3LYP"
  bool correlated = false;  // MP2: a correlation energy on top of the SCF
};

// Reads the route's method/basis text ("HF/6-31G*", "B3LYP/6-31+G(d,p)",
// "MP2/cc-pVDZ"; a bare basis is HF and a bare method takes STO-3G, as the
// real program does) for a molecule of the given spin multiplicity. Throws
// std::runtime_error, naming the word, for a method or basis name that
// cannot be computed.
LevelOfTheory ReadLevelOfTheory(const std::string& routeMethod, int multiplicity);
