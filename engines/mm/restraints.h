#pragma once

#include <map>
#include <string>
#include <vector>

#include "molecule.h"

// Harmonic restraints on internal coordinates and the stream files that
// define them: mmfp GEO blocks, CONS DIHE lines and `set` variables.
namespace mm {

// k (x - target)^2 on a distance (2 atoms, Angstrom), an angle (3) or a
// dihedral (4, periodic); angles in degrees, k per radian squared for angles.
struct Restraint {
  std::vector<int> atoms;
  double target = 0;
  double k = 0;
  bool holdCurrent = false;  // target = value in the structure being minimised
};

// The variables and CONS DIHE lines of a CHARMM stream of `set` commands.
struct SetFile {
  std::string path;
  std::map<std::string, std::string> vars;  // lower-case names
  std::map<std::string, int> lineOf;
  std::vector<Restraint> cons;

  bool Has(const std::string& name) const;
  // Value of a variable; InputError naming the file when it is not set.
  const std::string& Get(const std::string& name) const;
  double GetReal(const std::string& name) const;
  int GetInt(const std::string& name) const;
};

// Reads "set NAME VALUE" / "set NAME = VALUE" lines, CONS DIHE lines (atoms
// looked up in m) and comments. Throws InputError naming file and line.
SetFile ReadSetFile(const std::string& path, const Molecule& m);

// Reads a restraint stream: mmfp GEO blocks (distance, angle, dihedral with
// atoms chosen by `select type NAME end`) and CONS DIHE lines.
std::vector<Restraint> ReadRestraintStream(const std::string& path, const Molecule& m);

// Parses the words of one CONS DIHE line (the first two words included).
Restraint ParseConsDihe(const std::vector<std::string>& words, const Molecule& m);

}  // namespace mm
