// Starting values of the entries to fit from an earlier result file.
#include <gtest/gtest.h>

#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/printed.h"
#include "support/reference_file.h"
#include "support/run.h"

using namespace testing_support;

namespace {

class InitialParamTest : public testing::Test {
 protected:
  void SetUp() override {
    mol1 = TypedMethanol();
    mol1.impr.emplace_back(1, 0, 2, 3);
    param = Param();
    mol1.CreateListParam(param);
    OptInter.fBondFromStructure = false;
    OptInter.fAngleFromStructure = false;
  }

  // Reads the file; returns the table listing printed.
  std::string Read(const std::string& path) {
    return Printed([&] { param.ReadInitialParam(path); });
  }

  ForceFieldState state;
  TempDir dir;
};

// Only the entries to fit take the values of previous.prm; a file name set
// before stays. The dihedral, not fitted and without terms, gets a weak
// two-fold one.
TEST_F(InitialParamTest, OnlyEntriesToFitTakeTheFileValues) {
  param.bond[0].fOpt = 1;
  param.angle[1].fOpt = 1;
  param.impr[0].fOpt = 1;
  param.angle[1].paramfile = "initial.prm";
  const std::string listing = Read(DataPath("param/previous.prm"));
  ExpectSameAsReference(Dump(param, {DataPath("param")}), "param/initial.txt");
  EXPECT_EQ(listing.substr(0, 5), "BOND\n");
  EXPECT_NE(
      listing.find("   HGA3   CG331   OG311    HGP1    0.01000 2    0.00000 ! optimize :  no |"),
      std::string::npos);
}

// The values are read on top of a copy of the table: its terms stay.
TEST_F(InitialParamTest, DihedralTermsOfTheFileAreAddedToTheTable) {
  param.dihe[0].fOpt = 1;
  param.dihe[0].NonZero[0] = 1;
  param.dihe[0].force[0] = 2.0;
  Read(dir.Write("prev.prm", "DIHEDRALS\nHGP1 OG311 CG331 HGA3 0.18 3 0.0\n"));
  ExpectSameAsReference(Dump(param, {dir.path().string()}), "param/initial_dihedral.txt");
}

// The fitted C-O bond (1.5 A in the file) and H1-C-O angle, made
// Urey-Bradley here, take their equilibrium values from the structure, whose
// carbon is moved.
TEST_F(InitialParamTest, EquilibriumValuesFromTheStructure) {
  OptInter.fBondFromStructure = true;
  OptInter.fAngleFromStructure = true;
  param.bond[1].fOpt = 1;
  param.angle[0].fOpt = 1;
  param.angle[0].ub = 1;
  mol1.atom[1].xyz = {0.0, 0.0, 0.1};
  Read(DataPath("param/previous.prm"));
  ExpectSameAsReference(Dump(param, {DataPath("param")}), "param/initial_structure.txt");
}

}  // namespace
