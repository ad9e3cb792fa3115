#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "gaussian.h"
#include "intra/BondOpt.h"
#include "io.h"
#include "mol.h"
#include "support/forcefield_state.h"
#include "support/fpath_scope.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"
#include "support/shell_variable.h"
#include "util.h"

namespace {

using namespace testing_support;

// The QM operations on a small molecule in a directory of its own, with the
// outputs of tests/data/qm (whose orientations differ from the molecule's
// own coordinates); the QM options, the process-wide molecule, the
// bonded-fit settings and the working directory are put back.
class QMOperations : public ::testing::Test {
 protected:
  void TearDown() override { Gaussian::options = savedOptions_; }

  // Adds a second stored geometry with the same coordinates.
  void AddGeometry() {
    mol_.ngeom = 2;
    mol_.xyz.insert(mol_.xyz.end(), mol_.xyz.begin(), mol_.xyz.end());
    mol_.QMEnergy.resize(2, 0.0);
    mol_.QMDipoleMoment.resize(2);
  }

  // What was printed (times of day and the directory masked), the molecule,
  // its stored geometries and QM values, and the deck, for comparison with
  // the references <name>.txt and <name>.inp.
  void ExpectOutcome(const std::string& printed, const std::string& deck, const std::string& name) {
    std::string s = std::regex_replace(
        printed, std::regex(R"(\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4})"), "TIME");
    for (auto at = s.find(fpath); at != std::string::npos; at = s.find(fpath, at))
      s.replace(at, fpath.size(), "DIR/");
    s += Describe(mol_) + "stored:";
    for (const Real v : mol_.xyz) s += Format(" %g", v);
    s += Format("\nactive: energy %.10g dipole %g %g %g %g\n", mol_.energy, mol_.QMDipole.x,
                mol_.QMDipole.y, mol_.QMDipole.z, mol_.QMDipole.norma);
    for (std::size_t g = 0; g < mol_.QMEnergy.size(); ++g) {
      const Vector3& d = mol_.QMDipoleMoment.at(g);
      s += Format("geometry %zu: energy %.10g dipole %g %g %g %g\n", g, mol_.QMEnergy[g], d.x, d.y,
                  d.z, d.norma);
      if (g < mol_.ESP.QMESPval.size()) {
        s += "  potentials";
        for (const Real v : mol_.ESP.QMESPval[g]) s += Format(" %.10g", v);
        s += "\n  distances";
        for (const Real v : mol_.ESP.distESPPoint.at(g)) s += Format(" %.10g", v);
        s += "\n";
      }
    }
    EXPECT_TRUE(mol_.ESP.val.empty() && mol_.ESP.dist.empty());
    ExpectSameAsReference(s, "qm/" + name + ".txt");
    ExpectSameAsReference(dir_.Read(deck), "qm/" + name + ".inp");
  }

  // Places tests/data/qm/<name>.out where the job would leave it.
  void Place(const std::string& name, const std::string& file) {
    dir_.Write(file, ReadFile(DataPath("qm/" + name + ".out")));
  }

  ShellVariable shell_{"/bin/sh"};  // without SHELL the runner prints a notice
  TempDir dir_;
  FpathScope fpath_{dir_.path().string() + "/"};
  ForceFieldState state_;
  Gaussian::GaussianJob savedOptions_ = Gaussian::options;
  CMolecule mol_ = HydrogenPeroxide();
};

// Two of the three constraints are written; the output is reused, and the
// standard orientation, energy, dipole and Mulliken charges are taken.
TEST_F(QMOperations, OptimisationDeckAndResults) {
  mol_.netcharge = -1.0;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  OptInter.nCostrGlobal = 2;
  OptInter.FixDihe[0].AtomName = {1, 2, -1, -1};
  OptInter.FixDihe[0].value = 500.0;
  OptInter.FixDihe[1].AtomName = {0, 1, 2, 3};
  OptInter.FixDihe[1].value = 120.5;
  OptInter.FixDihe[2].AtomName = {3, 2, 1, 0};
  Place("optimisation", "opt1.out");
  ExpectOutcome(Printed([&] { mol_.QMOptCoordinates(0); }), "opt1.inp", "optimisation");
  ExpectSameAsReference(dir_.Read("opt1.pdb"), "qm/optimisation.pdb");
}

// The extra command is not part of this deck; MP2 energies replace SCF ones.
TEST_F(QMOperations, SinglePointDeckAndEnergyOfTheSecondGeometry) {
  mol_.netcharge = -1.0;
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  AddGeometry();
  Place("single_point", "wat2.out");
  ExpectOutcome(Printed([&] { mol_.QMSinglePoint("wat", "MP2/6-31G* ", 1); }), "wat2.inp",
                "single_point");
}

// Gaussian leaves the dummy centre out of the charges. Potentials and
// distances to the atoms are kept per geometry.
TEST_F(QMOperations, PopulationDeckAndChargesDipoleAndPotentialPointByPoint) {
  Gaussian::options.nproc = 4;
  Gaussian::options.addCommand = "%mem=1GB";
  mol_.netcharge = -1.0;
  mol_.atom[3].atmnum = 0;
  AddGeometry();
  Place("population", "pop2.out");
  ExpectOutcome(Printed([&] { mol_.PopEspCharges(1); }), "pop2.inp", "population");
}

// The real optimisation output of divinylbenzene, placed where the job
// would leave it.
TEST_F(QMOperations, RealOptimisationOutputIsTakenWithoutAJob) {
  const std::string ref = SharedReferenceDir();
  if (ref.empty()) GTEST_SKIP() << "no reference data";
  dir_.Write("opt1.out", ReadFile(ref + "/gaussian/dvb_opt_b3lyp.out"));
  std::vector<AtomSpec> atoms;
  for (const int z : {6, 6, 6, 6, 6, 1, 1, 1, 6, 6, 1, 1, 1, 6, 1, 6, 1, 1, 6, 1})
    atoms.push_back({(z == 6 ? "C" : "H") + std::to_string(atoms.size() + 1), z});
  mol_ = MakeMolecule(atoms);
  ExpectOutcome(Printed([&] { mol_.QMOptCoordinates(0); }), "opt1.inp", "dvb_optimisation");
  ExpectSameAsReference(dir_.Read("opt1.pdb"), "qm/dvb_optimisation.pdb");
}

}  // namespace
