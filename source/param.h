#pragma once

#include <string>
#include <vector>

#include "constants.h"

class CMolecule;

// The CHARMM force-field files named by the script: topology files (for the
// MASS lines), parameter files (for Lennard-Jones, NBFIX and single-line
// bonded lookups) and the atom types read from the MASS lines.
//
// Every lookup reads the files afresh, line by line; each line is upper-cased
// before it is compared, while the types asked for are compared as given.
class Charmm {
 public:
  // One MASS line of a topology file.
  class CAtomType {
   public:
    CAtomType(int index, const std::string& type, Real mass, const std::string& symbol,
              const std::string& comment);

    int index;            // the number written in the MASS line
    std::string type;     // upper-cased type name
    Real mass;            // amu
    std::string symbol;   // upper-cased fifth field, whatever it holds
    std::string comment;  // text after the first "!" of the line
  };

  std::vector<std::string> tops;    // topology files, in script order
  std::vector<std::string> params;  // parameter files, in script order
  std::vector<CAtomType> type;      // MASS records in file order; never cleared

  void AddNewTopology(const std::string& path);
  void AddNewParam(const std::string& path);
  void AddNewType(int index, const std::string& type, Real mass, const std::string& symbol,
                  const std::string& comment);

  // Appends the MASS lines of every topology file to `type`. A file that
  // cannot be opened ends the process.
  void ReadMass();
  // The first record whose type equals typeName exactly; nullptr when none.
  const CAtomType* GetMassType(const std::string& typeName) const;

  // The NONBONDED line of a type, upper-cased; empty when no file has one.
  // Raises std::runtime_error for a file that cannot be opened and for a
  // line whose third or fourth field is not a number.
  std::string read_par(const std::string& atype) const;
  // The NBFIX line of a pair in either order; empty when there is none.
  // Raises std::runtime_error for a file that cannot be opened and for a
  // line whose third or fourth field is not a number.
  std::string read_nbfix(const std::string& atype1, const std::string& atype2) const;

  // Single-line bonded lookups: the first bond, angle, dihedral or improper
  // line (t5 only selects the improper form) that fits the types, or empty.
  // A parameter file that cannot be opened ends the process.
  std::string read_par(const std::string& t1, const std::string& t2) const;
  std::string read_par(const std::string& t1, const std::string& t2, const std::string& t3) const;
  std::string read_par(const std::string& t1, const std::string& t2, const std::string& t3,
                       const std::string& t4) const;
  std::string read_par(const std::string& t1, const std::string& t2, const std::string& t3,
                       const std::string& t4, const std::string& t5) const;
};

// A pair-specific Lennard-Jones override from an NBFIX section.
class CNBFIX {
 public:
  Real eps = 0.0;   // kcal/mol, as written (normally negative)
  Real rmin = 0.0;  // Å, as written
  std::string a1;   // the pair's types, in the order of the file line
  std::string a2;
};

extern Charmm CharmmTopPar;
// NBFIX entries between the solute and the water probes; only appended to.
extern std::vector<CNBFIX> nbfix;

// Checks a parameter file named by the script before it is used: it must
// open, and every line of its NONBONDED and NBFIX sections must hold its
// numbers. Raises DetailedError naming the file and line.
void CheckParamFile(const std::string& path);

// True when text starts with a number that fits a double.
bool is_number(const std::string& text);

// Appends to `nbfix` every NBFIX entry between a solute type and a water type
// and lists all entries held, when there are any.
void read_nbfix_for_two_mol(const CMolecule& solute, const CMolecule& water);
