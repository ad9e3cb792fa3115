#pragma once

#include <array>
#include <string>
#include <vector>

#include "capacity.h"
#include "constants.h"

// Settings records of the bonded-parameter fit. The `optintra` script section
// fills them; the QM runner, the `constrain` block of the main script and the
// stages of the bonded fit read them.

// A geometric constraint attached to a scan term.
class Constraint {
 public:
  char type = 'd';                // 'd' for a dihedral
  std::vector<std::string> name;  // atom names
  std::vector<int> aid;           // atom indices
  Real val = 0.0;                 // degrees
};

// A relaxed-scan definition (nothing fills these).
class RelaxedScan {
 public:
  std::string name;
  std::vector<std::string> atms;
  std::vector<float> range;
  std::vector<Constraint> constraints;
};

// One soft (flexible) dihedral.
class CSoftDihe {
 public:
  std::string termName;
  std::vector<std::string> atomName = std::vector<std::string>(4);  // upper case, as in the script
  std::vector<int> aid = std::vector<int>(4, -1);                   // -1 = not given
  Real val = -100.0;                                                // degrees, when given
  bool bValFromStr = true;  // true: value from the current structure, false: `val`
  bool ifScan = true;       // true: scanned (`dihe`), false: held fixed (`fix`)
};

// One multi-dimensional dihedral scan.
class CSoftDiheMulti {
 public:
  int nDim = 0;
  std::vector<CSoftDihe> dihedral;    // scanned dihedrals
  std::vector<CSoftDihe> constraint;  // dihedrals held fixed
  std::vector<int> id;
  std::vector<std::vector<Real>> point;  // grid points, degrees
  std::vector<int> point_type;
  std::vector<Real> Eqm;
  std::vector<Real> Emm;
  std::string termName;
  Real rmsdVal = 0.0;  // weighted energy RMSD
};

// Target structures of the bonded fit.
class CTargetStructures {
 public:
  int nStr = 0;
  std::vector<Real> Eqm;
  std::vector<Real> Emm;
  Real rmsdVal = 0.0;
};

// The bonded-optimisation settings.
class COptInter {
 public:
  static constexpr int kMaxScans = 100;           // `scan` blocks
  static constexpr int kMaxScanConstraints = 20;  // constraint lines per scan
  static constexpr int kMaxFixDihe = 20;          // globally constrained dihedrals
  static constexpr int kMaxScaleBond = 100;       // `scaleBond` entries
  static constexpr int kMaxDiheDubl = 20;

  // A globally constrained dihedral (or bond, with the last two indices -1).
  class ConsDihe {
   public:
    std::array<int, 4> AtomName{};
    Real value = 0.0;
  };
  class Atom {
   public:
    std::string sD1, sD2;
  };

  std::vector<RelaxedScan> PESscan;
  bool fBondFromStructure = false;
  bool fAngleFromStructure = false;
  int bGsOut = 1;  // 0: start no Gaussian job, only read existing outputs
  int fpdb = 1;
  int sBond = 0;
  int sAngle = 0;
  int sDihe = 0;
  int sImpr = 0;
  int nScan = 0;
  int single = 0;
  int fc = 0;
  int dinvert = 1;
  Real fBondScale = 1.0;
  FixedArray<std::string, kMaxScans> strDihe;
  FixedArray<FixedArray<std::array<int, 4>, kMaxScanConstraints>, kMaxScans> AtomName;
  FixedArray<FixedArray<Real, kMaxScanConstraints>, kMaxScans> diheValue;
  FixedArray<int, kMaxScans> nCostr;
  int nCostrGlobal = 0;
  FixedArray<ConsDihe, kMaxFixDihe> FixDihe;
  std::vector<CSoftDihe> SoftDihe;
  std::vector<CSoftDiheMulti> SoftDiheMulti;
  FixedArray<Real, kMaxScaleBond> scaleCoeff;
  FixedArray<std::string, kMaxScaleBond> scaleName;
  int scaleNbr = 0;
  int fPrev = 0;
  Real sFD = 0.0;
  Real sSP = 0.0;
  Real sSDihe = 0.0;
  Real sStr = 0.0;
  Real sRestr = 0.0;
  Real scaleFreq = 1.0;
  std::string filePrev;
  int nScanDubl = 0;
  int fPrintMiss = 0;
  int DeformationBased = 1;
  Real maxEnerQMScan = 2.0;
  int nPointRigidTerm = 7;
  int nPointFlexTerm = 37;
  FixedArray<Atom, kMaxDiheDubl> diheDubl;
};

// Grid settings of multi-dimensional dihedral scans.
class CParamMultiDiheScan {
 public:
  Real meshSize = 10.0;  // grid step, degrees
  Real cutEnergy = 7.0;  // kcal/mol above which grid points are not extended
};

// Restraint accumulators (recomputed at every evaluation of the bonded
// objective) and their weights.
class ClassRestraints {
 public:
  ClassRestraints();
  // Sets the eight accumulators to 0; the weights stay.
  void Init();
  // The weighted sum of the restraints.
  Real Total() const;

  Real bondValRest = 0.0;
  Real angleValRest = 0.0;
  Real angleUBValRest = 0.0;
  Real bondForce = 0.0;
  Real angleForce = 0.0;
  Real angleForceUB = 0.0;
  Real diheForce = 0.0;
  Real imprForce = 0.0;
  Real wBond = 10.0;
  Real wAngle = 0.2;
  Real wUB = 0.1;
  Real wBondForce = 0.0;
  Real wAngleForce = 0.02;
  Real wDiheForce = 0.1;
  Real wImprForce = 0.02;
};

extern COptInter OptInter;
extern ClassRestraints restraints;
extern CParamMultiDiheScan ParamMultiDiheScan;
// Directory of the CHARMM input scripts of the bonded workflow.
extern std::string strCharmmPath;
