#pragma once

#include <map>
#include <string>
#include <vector>

// Residue topology (RTF) files: atom-type masses and residues.
namespace mm {

struct TopAtom {
  std::string name;
  std::string type;
  double charge = 0.0;
};

struct Residue {
  std::string name;
  std::vector<TopAtom> atoms;
  std::vector<std::pair<std::string, std::string>> bonds;  // atom names
  std::vector<std::vector<std::string>> impropers;        // four atom names each
  std::string file;                                       // where it was defined
  int line = 0;
};

struct Topology {
  std::map<std::string, double> masses;  // atom type -> mass
  std::vector<Residue> residues;         // in reading order
};

// Adds the MASS lines and residues of one RTF file. A residue of the same name
// read later replaces the earlier one. Throws InputError naming file and line.
void ReadTopology(const std::string& path, Topology& top);

// The residue named name (case-insensitive), or the only residue when name is
// empty. Throws std::runtime_error when there is none or the choice is open.
const Residue& ChooseResidue(const Topology& top, const std::string& name);

}  // namespace mm
