#pragma once

#include <string>
#include <vector>

#include "MolecularGeometry.h"
#include "capacity.h"
#include "constants.h"
#include "intra/settings.h"
#include "vector.h"

class Param;

// The molecule being parameterised: atoms, stored geometries, bonded terms,
// QM reference data and the bonded terms being fitted.
class CMolecule {
 public:
  class CAtom {
   public:
    std::vector<double> xyz = std::vector<double>(3, -999.9);   // active coordinates, Angstrom
    std::vector<double> xyzcomp = std::vector<double>(3, 0.0);  // comparison set
    Real b = 0.0;                                               // B-factor column of PDB files
    Real ocp = 0.0;                                             // occupancy column of PDB files
    int atmnum = 0;  // atomic number (0 for lone pairs and dummies)
    std::string symbol;
    Vector3 rv;  // copy of xyz for vector arithmetic
    Real q = 0.0;
    Real qpop = 0.0;
    Real qopt = 0.0;
    Real qstart = 0.0;
    Real qpenalty = 1000.0;
    Real eps = 0.0, rmin = 0.0;      // Lennard-Jones well depth and Rmin/2
    Real eps14 = 0.0, rmin14 = 0.0;  // the same for 1-4 pairs
    Real mass = 0.0;
    std::string name;  // unique within the molecule
    std::string segid, resn, chain;
    std::string type;  // force-field atom type
    int group = 0;     // charge group, 0-based
    int serial = 0;    // 1-based
    int resid = 0;
    Real rmsf = 0.0;
    std::vector<int> bond;  // adjacency row: 1 when bonded to atom j
    int ibond = 0;          // number of bonded neighbours
    int polar = 0;
    std::vector<double> qrel;  // row of the charge-relation matrix
    int chem = 0;
    int fix = 0;
  };

  // Bonded terms: atom indices in topology order and the index of the
  // matching entry of the bonded parameter table (-1 until linked).
  class BondClass {
   public:
    BondClass() = default;
    BondClass(int i, int j) : aid{i, j} {}
    std::vector<int> aid = std::vector<int>(2, -1);
    int fid = -1;
  };
  class AngleClass {
   public:
    AngleClass() = default;
    AngleClass(int i, int j, int k) : aid{i, j, k} {}
    std::vector<int> aid = std::vector<int>(3, -1);
    int fid = -1;
  };
  class DihedralClass {
   public:
    DihedralClass() = default;
    DihedralClass(int i, int j, int k, int l) : aid{i, j, k, l} {}
    std::vector<int> aid = std::vector<int>(4, -1);
    int fid = -1;
  };
  class ImproperClass {
   public:
    ImproperClass() = default;
    ImproperClass(int i, int j, int k, int l) : aid{i, j, k, l} {}
    std::vector<int> aid = std::vector<int>(4, -1);
    int fid = -1;
  };

  // Order of evaluation of scan points: point i is seeded by point iprev.
  class ClassOrderOpt {
   public:
    int i = 0;
    int iprev = 0;
  };

  // One fitted bonded term with its scan data.
  class ClassPESScanBonded {
   public:
    static constexpr int kMaxPoints = 50;
    char type = ' ';  // 'b', 'a', 'd' or 'i'
    std::string name;
    std::vector<int> aid;
    int npt = 0;  // number of scan points, at most kMaxPoints
    Real optval = 0.0;
    std::vector<double> energyQM;
    FixedArray<Real, kMaxPoints> val;
    std::vector<ClassOrderOpt> optOrder;
    FixedArray<Real, kMaxPoints> charmmEner;
    FixedArray<Real, kMaxPoints> charmmVal;
    FixedArray<Real, kMaxPoints> charmmRMS;
    FixedArray<Real, kMaxPoints> charmmRMSForce;
    Real rmsdEner = 0.0;
    Real rmsdVal = 0.0;
    Real rmsdSTR = 0.0;
    Real rmsdForce = 0.0;
    Real scaleCoeff = 0.0;
    std::vector<Constraint> cons;
    std::vector<CMolecularGeometry> QMPESStructure;
    std::vector<CMolecularGeometry> EMPPESStructure;
  };

  // QM electrostatic potential data, per geometry.
  class CESP {
   public:
    // Makes sure there are entries for the geometries 0..n-1.
    void Resize(int n);
    // Stores the work lists `val` and `dist` as the data of geometry g and
    // empties them; the misfit form of g is dropped until prepared again.
    void Finalize(int g);

    // The squared ESP misfit of one geometry as a function of the charges
    // q (e): |R (q, -1)|^2, with R the upper-triangular (natm+1)-square
    // factor of the point matrix [332.0716/d_pk | QM potential], column
    // means removed (charge/esp_term.h prepares and evaluates it).
    class CMisfitForm {
     public:
      int natm = 0;
      std::size_t npt = 0;   // fit points it was prepared from
      std::vector<double> R;  // row-major
    };

    std::vector<std::vector<double>> QMESPval;
    std::vector<std::vector<double>> distESPPoint;
    std::vector<CMisfitForm> misfit;  // per geometry, when prepared
    std::vector<double> val;
    std::vector<double> dist;
  };

  // --- atoms and stored geometries ---
  // Index of the first atom named exactly `name`; ends the process when none.
  int AtomIndex(const std::string& name) const;
  std::string AtomName(int i) const;
  std::string AtomType(int i) const;
  // Makes stored geometry g the active coordinates (with its QM energy and dipole).
  void ActivateGeometry(int g);
  // Stores the active coordinates as geometry g.
  void CopyMainSetToGeometry(int g);

  // --- coordinate files (coor.cpp); target "main" or "comp" ---
  void ReadCoorPDB(const std::string& path, int geometry, const std::string& target);
  void ReadCoorCARD(const std::string& path, int geometry, const std::string& target);
  void ReadCoorXYZ(const std::string& path, int geometry, const std::string& target);
  void PrintCoorPDB() const;
  void WriteCoorPDB(const std::string& path, const std::string& target) const;
  void CopyFromCoor(std::vector<Real>& values, const std::string& target) const;

  // --- internal coordinates of the active coordinates (radians) ---
  Real dist(int i, int j) const;
  Real Angle(int i, int j, int k) const;
  Real Dihe(int i, int j, int k, int l) const;
  // Distance (2 atoms, Angstrom), angle (3) or dihedral (4) in degrees.
  Real IC(const std::vector<int>& aid) const;
  void fill_rv();
  void trans(const Vector3& t);
  void swap();

  // --- bond perception and structure ---
  void bond_create();
  void GenerateStructure();

  // --- residue topology files ---
  void read_top(const std::string& path);
  void write_top(const std::string& path) const;

  // --- energies and dipole ---
  void Dipole();
  Real Q() const;
  void UpdateDistMatrix();
  Real Energy(bool flag);
  Real inter_ener(const CMolecule& other) const;
  Real EnergyIJ(const std::vector<int>& set1, const std::vector<int>& set2) const;
  Real diheEner(const std::vector<int>& aid) const;

  // --- QM operations ---
  void QMOptCoordinates(int igeom);
  void QMSinglePoint(const std::string& filename, const std::string& theory, int igeom);
  void PopEspCharges(int igeom);

  // --- force-field parameters ---
  void CreateListParam(Param& p);
  // Lennard-Jones terms of every atom from the parameter files. A type
  // without them raises DetailedError; with `missing`, its atoms keep their
  // terms and the type is added there instead.
  void read_nnbond(std::vector<std::string>* missing = nullptr);

  // --- bonded fit: driver and stages (intra/driver.cpp) ---
  void OptimizeBondedTerms();
  void OptimizeBondedTermsBonds();
  void OptimizeBondedTermsAngles();
  void OptimizeBondedTermsDiheImpr();
  // One evaluation of the objective with every enabled family, no fitting.
  void TestBondedTerms();

  // --- bonded fit: QM references ---
  // Builds the scan terms `term` and has every QM reference computed.
  void BondedTermsAbInitio();
  // Respaces the points of scan term iScan to the stiffness QM finds.
  void Force_Const(int iScan);
  // The same for several terms, their QM jobs in one batch.
  void Force_Consts(const std::vector<int>& terms);
  // The respacing of term iScan from its QM output, once that has run.
  void ForceConstFromOutput(int iScan);
  // The QM profile of scan term iScan, one constrained optimisation a point.
  void QM_PES_scan(int iScan);
  // The same for several terms: point k of every term in one batch, since
  // each point starts from its neighbour's structure.
  void QM_PES_scans(const std::vector<int>& terms);
  // The QM surface of one multi-dimensional dihedral scan.
  void QM_PES_Multi_Scan(CSoftDiheMulti& s);
  // The QM relative energies of the user's target structures.
  void QM_Target_Structures(CTargetStructures& t);

  // --- bonded fit: MM counterparts, run at every evaluation ---
  // Shifts the MM scan points by the MM-QM difference of the minimum.
  void AssignNewPoints();
  // All one-dimensional MM scans in one CHARMM job.
  void CHARMM_PES_scan();
  // The MM energies of the points of one multi-dimensional scan.
  void MMMultiPesScan(CSoftDiheMulti& s);
  // The MM energies of the target structures after restrained minimisation.
  void MMStructureOptimizatation(CTargetStructures& t);
  // Tables of torsions and reference energies for every soft-dihedral scan.
  void FitSD();

  // --- charge fit ---
  Real GetRMSESPfit(int igeom) const;

  int natm = 0;
  std::vector<CAtom> atom;
  // All stored geometries, flat: coordinate c of atom i in geometry g is
  // element (g * natm + i) * 3 + c.
  std::vector<double> xyz;
  std::vector<double> dij;  // natm x natm distances, row-major
  Real qpop = 0.0, qopt = 0.0, qstart = 0.0;
  int ngeom = 1;
  std::vector<double> QMEnergy = std::vector<double>(1, 0.0);
  std::vector<Vector3> QMDipoleMoment = std::vector<Vector3>(1);
  std::vector<int> pairlist14;  // first and last atom of every dihedral
  std::vector<int> nbondlist;   // natm x natm: 1 for pairs neither bonded nor 1-3
  int n14inter = 0;
  std::vector<BondClass> bond;
  std::vector<AngleClass> angle;
  std::vector<DihedralClass> dihedral;
  std::vector<ImproperClass> impr;
  int spinm = 1;         // spin multiplicity for QM jobs
  Real netcharge = 0.0;  // net charge of the molecule, e
  Real energy = 0.0;     // QM energy of the active geometry
  int igroup = 0;        // number of charge groups
  Vector3 FFDipole;      // dipole from the atomic charges, Debye
  Vector3 QMDipole;      // QM dipole of the active geometry
  std::vector<ClassPESScanBonded> term;
  int tP = 0, iPDiheScan = 0;
  CESP ESP;
};

extern CMolecule mol1;

// Writes the single-point deck inp of m at its active coordinates and level
// `theory`, runs it into out (or reuses out) and gives back the energy in
// hartree; an output without energy ends the run naming it.
Real SinglePointEnergy(const CMolecule& m, const std::string& theory, const std::string& inp,
                       const std::string& out);

// The MASS table of the last topology read.
class Chem {
 public:
  class Chems {
   public:
    int id = 0;
    std::string name;  // atom type
    std::string atp;   // element symbol
    Real mass = 0.0;
  };
  int nchem = 0;
  std::vector<Chems> chems;
};

extern Chem chemtp;
