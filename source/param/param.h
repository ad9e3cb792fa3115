#pragma once

#include <array>
#include <string>
#include <vector>

#include "../constants.h"

class Charmm;

// Number of Fourier terms a dihedral entry holds; slot n is multiplicity n + 1.
inline constexpr int kDiheTerms = 6;

// The bonded parameters the molecule needs, one entry per distinct
// combination of atom types: the table that the bonded fit changes and that
// is written back as CHARMM parameter text.
//
// The entry lists grow as needed; `nbonds`, `nangles`, `ndihe` and `nimpr`
// count the entries in use. Entries beyond the counts are kept, so that an
// entry made again by a later listing keeps the fields the listing does not
// set (see AddBond and the others).
class Param {
 public:
  class Bonds {
   public:
    int i = 0, j = 0;  // atoms of the first molecule bond that made the entry
    std::string atp1, atp2;
    std::string name1, name2;
    std::string comment;    // text after "!" of the line that gave the values
    std::string paramfile;  // file that gave the values
    Real force = 0.0;       // Kb, kcal/mol/Å²
    Real forceInitial = 0.0;
    Real rmin = 0.0;   // b0, Å
    Real ideal = 0.0;  // reference length, Å
    Real restr = 0.0;
    int fOpt = 0;  // 1: fitted, 0: kept
    bool ifread = false;
  };

  class Angles {
   public:
    int i = 0, j = 0, k = 0;
    std::string atp1, atp2, atp3;
    std::string name1, name2, name3;
    std::string comment;
    std::string paramfile;
    Real force = 0.0;  // Ktheta, kcal/mol/rad²
    Real forceInitial = 0.0;
    Real amin = 0.0;   // theta0, degrees
    Real ideal = 0.0;  // degrees
    Real restr = 0.0;
    int fOpt = 0;
    int ub = 0;      // 1: the entry has a Urey-Bradley term
    Real kub = 0.0;  // kcal/mol/Å²
    Real s0 = 0.0;   // Å
    Real idealUB = 0.0;
    bool ifread = false;
  };

  class Dihes {
   public:
    int i = 0, j = 0, k = 0, l = 0;
    std::string atp1, atp2, name1, name2, atp3, atp4, name3, name4;
    std::string comment;
    std::array<std::string, kDiheTerms> paramfile;  // one per term
    int ntms = kDiheTerms;                          // number of term slots
    std::array<Real, kDiheTerms> force{};           // Kchi per term, kcal/mol
    std::array<Real, kDiheTerms> angle{};           // phase per term, degrees
    std::array<Real, kDiheTerms> ideal{};           // phase as read
    Real restr = 0.0;
    std::array<int, kDiheTerms> NonZero{};  // 1: term present
    Real dmin = 0.0;                        // dihedral of the creating atoms, degrees
    int fOpt = 0;
    int bfix = 0;
    bool ifread = false;
    std::array<bool, kDiheTerms> ifReadHarm{};  // term already read from a file
  };

  class Imprs {
   public:
    int i = 0, j = 0, k = 0, l = 0;
    std::string atp1, atp2, name1, name2, atp3, atp4, name3, name4;
    std::string comment;
    std::string paramfile;
    Real force = 0.0;  // Kpsi, kcal/mol/rad²; psi0 is always 0
    Real restr = 0.0;
    int fOpt = 0;
    bool ifread = false;
  };

  // Side of relDihe at construction; read_restr widens it for more entries.
  static constexpr int kRelDiheSize = 100;

  Param();

  int nbonds = 0, nangles = 0, ndihe = 0, nimpr = 0;
  // Relations between dihedral entries: diagonal -1 = held fixed,
  // off-diagonal 1 = tied. At least kRelDiheSize x kRelDiheSize, and at least
  // ndihe x ndihe after read_restr.
  std::vector<std::vector<int>> relDihe;
  std::vector<Bonds> bond;
  std::vector<Angles> angle;
  std::vector<Dihes> dihe;
  std::vector<Imprs> impr;

  // The entry at position nbonds (made when the list is shorter, otherwise
  // the record left there earlier); nbonds grows by one. Likewise the others.
  Bonds& AddBond();
  Angles& AddAngle();
  Dihes& AddDihe();
  Imprs& AddImpr();

  // Updates every entry that a line of the CHARMM parameter file fits.
  void readParamFromFile(const std::string& fname);
  // Reads the parameter files of charmm in order, then marks every entry that
  // no file supplied for fitting.
  void Initialize(const Charmm& charmm);
  // The whole table on the standard output.
  void PrintParam() const;
  // The entries to fit, as CHARMM parameter text, to fpath + "/add_para.inp".
  void write_param() const;
  // Starting values of the entries to fit from an earlier result file.
  void ReadInitialParam(const std::string& filename);
  // Gives a dihedral entry without any term a weak two-fold one to start
  // from (0.01 kcal/mol, multiplicity 2, phase 0); false when it has a term.
  static bool GiveStartingTerm(Dihes& d);
  // Fixed and tied dihedral entries from fpath + "/bparam.inp".
  void read_restr();
};

// Type matching between the types of a parameter line (a, where "X" is a
// wildcard) and those of a table entry (b).
bool compareBond(const std::string& a1, const std::string& a2, const std::string& b1,
                 const std::string& b2);
bool compareAngle(const std::string& a1, const std::string& a2, const std::string& a3,
                  const std::string& b1, const std::string& b2, const std::string& b3);
bool compareDihe(const std::string& a1, const std::string& a2, const std::string& a3,
                 const std::string& a4, const std::string& b1, const std::string& b2,
                 const std::string& b3, const std::string& b4);
bool compareImpr(const std::string& a1, const std::string& a2, const std::string& a3,
                 const std::string& a4, const std::string& b1, const std::string& b2,
                 const std::string& b3, const std::string& b4);

extern Param param;
extern Param paramInitial;
