// Starting values of the entries to fit from an earlier result file.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "param/molecule_fixture.h"
#include "param/param.h"
#include "support/forcefield_state.h"
#include "support/run.h"

using testing_support::ForceFieldState;
using testing_support::TempDir;
using testing_support::TypedMethanol;

namespace {

const char* kPrevious =
    "BONDS\n"
    "HGA3   CG331   300.0   1.2 ! previous\n"
    "CG331  OG311   400.0   1.5\n"
    "ANGLES\n"
    "HGA3   CG331  HGA3    33.0  109.0   5.0  1.8 ! with ub\n"
    "HGA3   CG331  OG311   44.0  111.0\n"
    "IMPROPER\n"
    "CG331  X      X      HGA3   9.0  0  0.0\n";

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

  // Reads the file with the table listing captured.
  void Read(const std::string& text) {
    const std::string path = dir.Write("prev.prm", text);
    testing::internal::CaptureStdout();
    param.ReadInitialParam(path);
    listing = testing::internal::GetCapturedStdout();
  }

  ForceFieldState state;
  TempDir dir;
  std::string listing;
};

TEST_F(InitialParamTest, OnlyEntriesToFitTakeTheFileValues) {
  param.bond[0].fOpt = 1;
  param.angle[1].fOpt = 1;
  param.impr[0].fOpt = 1;
  param.angle[1].paramfile = "initial.prm";
  Read(kPrevious);
  EXPECT_DOUBLE_EQ(param.bond[0].force, 300.0);
  EXPECT_DOUBLE_EQ(param.bond[0].rmin, 1.2);
  EXPECT_DOUBLE_EQ(param.bond[0].ideal, 1.2);
  EXPECT_EQ(param.bond[0].comment, " PREVIOUS");
  EXPECT_EQ(param.bond[0].paramfile, (dir.path() / "prev.prm").string());
  EXPECT_DOUBLE_EQ(param.bond[1].force, 200.0);

  EXPECT_EQ(param.angle[1].ub, 1);
  EXPECT_DOUBLE_EQ(param.angle[1].force, 33.0);
  EXPECT_DOUBLE_EQ(param.angle[1].amin, 109.0);
  EXPECT_DOUBLE_EQ(param.angle[1].kub, 5.0);
  EXPECT_DOUBLE_EQ(param.angle[1].s0, 1.8);
  EXPECT_EQ(param.angle[1].paramfile, "initial.prm");
  EXPECT_DOUBLE_EQ(param.angle[0].force, 50.0);
  EXPECT_DOUBLE_EQ(param.impr[0].force, 9.0);

  // The dihedral, not fitted and without terms, gets a weak two-fold one.
  const auto& d = param.dihe[0];
  EXPECT_EQ(d.NonZero, (std::array<int, kDiheTerms>{0, 1, 0, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(d.force[1], 0.01);
  EXPECT_DOUBLE_EQ(d.angle[1], 0.0);
  EXPECT_EQ(listing.substr(0, 5), "BOND\n");
  EXPECT_NE(
      listing.find("   HGA3   CG331   OG311    HGP1    0.01000 2    0.00000 ! optimize :  no |"),
      std::string::npos);
}

TEST_F(InitialParamTest, DihedralTermsOfTheFileAreAddedToTheTable) {
  param.dihe[0].fOpt = 1;
  param.dihe[0].NonZero[0] = 1;
  param.dihe[0].force[0] = 2.0;
  Read("DIHEDRALS\nHGP1 OG311 CG331 HGA3 0.18 3 0.0\n");
  const auto& d = param.dihe[0];
  const std::string path = (dir.path() / "prev.prm").string();
  // The values are read on top of a copy of the table: its terms stay.
  EXPECT_EQ(d.NonZero[0], 1);
  EXPECT_DOUBLE_EQ(d.force[0], 2.0);
  EXPECT_EQ(d.NonZero[1], 0);
  EXPECT_EQ(d.NonZero[2], 1);
  EXPECT_DOUBLE_EQ(d.force[2], 0.18);
  EXPECT_EQ(d.paramfile[0], path);
  EXPECT_EQ(d.paramfile[5], path);
}

TEST_F(InitialParamTest, EquilibriumValuesFromTheStructure) {
  OptInter.fBondFromStructure = true;
  OptInter.fAngleFromStructure = true;
  param.bond[1].fOpt = 1;   // C-O, 1.5 A in the file
  param.angle[0].fOpt = 1;  // H1-C-O, made Urey-Bradley here
  param.angle[0].ub = 1;
  mol1.atom[1].xyz = {0.0, 0.0, 0.1};  // moves the carbon
  Read(kPrevious);
  EXPECT_DOUBLE_EQ(param.bond[1].rmin, std::hypot(1.43, 0.1));
  EXPECT_DOUBLE_EQ(param.bond[1].ideal, param.bond[1].rmin);
  EXPECT_DOUBLE_EQ(param.bond[0].rmin, 1.09);  // kept: not fitted
  EXPECT_NEAR(param.angle[0].s0, std::hypot(1.43, 1.09), 1e-12);
  const double cosine = 0.01 / (std::hypot(1.09, 0.1) * std::hypot(1.43, 0.1));
  EXPECT_NEAR(param.angle[0].amin, std::acos(cosine) * 180.0 / M_PI, 1e-4);
}

}  // namespace
