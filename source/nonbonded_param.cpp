// Lennard-Jones parameters of the molecule's atoms and NBFIX overrides
// between the molecule and the water probes.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <stdexcept>
#include <utility>

#include "errors.h"
#include "io.h"
#include "mol.h"
#include "param.h"
#include "util.h"

// Every atom needs its Lennard-Jones terms: a fit with zero terms for one
// of them would look fine and be wrong.
void CMolecule::read_nnbond(std::vector<std::string>* missing) {
  for (auto& a : atom) {
    const std::string line = CharmmTopPar.read_par(a.type);
    if (line.empty() && missing != nullptr) {
      if (std::find(missing->begin(), missing->end(), a.type) == missing->end()) missing->push_back(a.type);
      continue;
    }
    if (line.empty()) {
      throw DetailedError("$ err no NONBONDED parameters for the type " + a.type + " of atom " +
                          a.name + " in the parameter files; name the file that has them with param");
    }
    a.eps = WholeReal(tprint(line, 3));
    a.rmin = WholeReal(tprint(line, 4));
    // Field 5 is the placeholder in front of the optional 1-4 values.
    if (is_number(tprint(line, 5))) {
      a.eps14 = WholeReal(tprint(line, 6));
      a.rmin14 = WholeReal(tprint(line, 7));
    }
  }
}

void read_nbfix_for_two_mol(const CMolecule& solute, const CMolecule& water) {
  std::set<std::pair<std::string, std::string>> pairs;
  for (const auto& s : solute.atom)
    for (const auto& w : water.atom) pairs.emplace(s.type, w.type);

  for (const auto& [soluteType, waterType] : pairs) {
    const std::string line = CharmmTopPar.read_nbfix(soluteType, waterType);
    if (line.empty()) continue;
    CNBFIX entry;
    entry.eps = WholeReal(tprint(line, 3));
    entry.rmin = WholeReal(tprint(line, 4));
    entry.a1 = Upper(tprint(line, 1));
    entry.a2 = Upper(tprint(line, 2));
    nbfix.push_back(entry);
  }
  if (nbfix.empty()) return;
  std::cout << "$ nbfix was defined for atom types : \n";
  for (const auto& e : nbfix)
    std::cout << e.a1 << " " << e.a2 << " " << e.eps << " " << e.rmin << "\n";
  std::cout.flush();
}
