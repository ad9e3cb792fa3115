// Lennard-Jones parameters of the molecule's atoms and NBFIX overrides
// between the molecule and the water probes.
#include <cstdio>
#include <iostream>
#include <set>
#include <stdexcept>
#include <utility>

#include "io.h"
#include "mol.h"
#include "param.h"
#include "util.h"

void CMolecule::read_nnbond() {
  for (auto& a : atom) {
    try {
      const std::string line = CharmmTopPar.read_par(a.type);
      if (line.empty())
        throw std::runtime_error("No nonbonded parameters found for type: " + a.type);
      a.eps = strfloat(tprint(line, 3));
      a.rmin = strfloat(tprint(line, 4));
      // Field 5 is the placeholder in front of the optional 1-4 values.
      if (is_number(tprint(line, 5))) {
        a.eps14 = strfloat(tprint(line, 6));
        a.rmin14 = strfloat(tprint(line, 7));
      }
    } catch (const std::exception& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "$ Error: %s\n", e.what());
    }
  }
}

void read_nbfix_for_two_mol(const CMolecule& solute, const CMolecule& water) {
  std::set<std::pair<std::string, std::string>> pairs;
  for (const auto& s : solute.atom)
    for (const auto& w : water.atom) pairs.emplace(s.type, w.type);

  for (const auto& [soluteType, waterType] : pairs) {
    try {
      const std::string line = CharmmTopPar.read_nbfix(soluteType, waterType);
      if (line.empty()) continue;
      CNBFIX entry;
      entry.eps = strfloat(tprint(line, 3));
      entry.rmin = strfloat(tprint(line, 4));
      entry.a1 = Upper(tprint(line, 1));
      entry.a2 = Upper(tprint(line, 2));
      nbfix.push_back(entry);
    } catch (const std::exception& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "$ Error: %s\n", e.what());
    }
  }
  if (nbfix.empty()) return;
  std::cout << "$ nbfix was defined for atom types : \n";
  for (const auto& e : nbfix)
    std::cout << e.a1 << " " << e.a2 << " " << e.eps << " " << e.rmin << "\n";
  std::cout.flush();
}
