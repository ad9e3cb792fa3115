// Lennard-Jones parameters of the atoms and NBFIX entries for the water probes.
#include <gtest/gtest.h>

#include "mol.h"
#include "param.h"
#include "support/forcefield_state.h"
#include "support/molecule.h"
#include "support/run.h"

using testing_support::ForceFieldState;
using testing_support::MakeMolecule;
using testing_support::TempDir;

namespace {

CMolecule Typed(const std::vector<std::string>& types) {
  std::vector<testing_support::AtomSpec> specs;
  for (std::size_t i = 0; i < types.size(); ++i)
    specs.push_back({"A" + std::to_string(i), 6, double(i), 0, 0});
  CMolecule m = MakeMolecule(specs);
  for (std::size_t i = 0; i < types.size(); ++i) m.atom[i].type = types[i];
  return m;
}

const char* kNonbonded =
    "NONBONDED\n"
    "HGA3     0.0       -0.0240     1.3400 ! alkane\n"
    "CG331    0.0       -0.0780     2.0500   0.0 -0.01 1.9 ! with 1-4\n"
    "OG311    0.0       -0.1921     1.7650   0.0\n"
    "HT       0.0       -0.046     0.2245\n"
    "OT       0.0       -0.1521    1.7682\n";

class NonbondedParamTest : public testing::Test {
 protected:
  void SetUp() override {
    CharmmTopPar = Charmm();
    nbfix.clear();
  }
  ForceFieldState state;
  TempDir dir;
};

TEST_F(NonbondedParamTest, ReadsWellDepthRadiusAndOneFourValues) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm", kNonbonded));
  CMolecule m = Typed({"HGA3", "CG331"});
  m.atom[0].eps14 = 9.0;
  m.atom[0].rmin14 = 8.0;
  m.read_nnbond();
  EXPECT_DOUBLE_EQ(m.atom[0].eps, -0.024);
  EXPECT_DOUBLE_EQ(m.atom[0].rmin, 1.34);
  // A comment as fifth field: the 1-4 values stay as they were.
  EXPECT_DOUBLE_EQ(m.atom[0].eps14, 9.0);
  EXPECT_DOUBLE_EQ(m.atom[0].rmin14, 8.0);
  EXPECT_DOUBLE_EQ(m.atom[1].eps, -0.078);
  EXPECT_DOUBLE_EQ(m.atom[1].eps14, -0.01);
  EXPECT_DOUBLE_EQ(m.atom[1].rmin14, 1.9);
}

TEST_F(NonbondedParamTest, FailingAtomIsReportedAndTheOthersAreRead) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm", kNonbonded));
  CMolecule m = Typed({"OG311", "XX", "hga3", "HGA3"});
  testing::internal::CaptureStderr();
  m.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "$ Error: not a number: ''\n"
            "$ Error: No nonbonded parameters found for type: XX\n"
            "$ Error: No nonbonded parameters found for type: hga3\n");
  // Read before the failing 1-4 part.
  EXPECT_DOUBLE_EQ(m.atom[0].eps, -0.1921);
  EXPECT_DOUBLE_EQ(m.atom[0].rmin, 1.765);
  EXPECT_DOUBLE_EQ(m.atom[3].eps, -0.024);
}

TEST_F(NonbondedParamTest, WithoutParameterFilesEveryAtomIsReported) {
  CMolecule m = Typed({"HGA3", "OT"});
  testing::internal::CaptureStderr();
  m.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "$ Error: No nonbonded parameters found for type: HGA3\n"
            "$ Error: No nonbonded parameters found for type: OT\n");
}

TEST_F(NonbondedParamTest, MissingParameterFileIsReportedPerAtom) {
  const std::string missing = (dir.path() / "none.prm").string();
  CharmmTopPar.AddNewParam(missing);
  CMolecule m = Typed({"HGA3"});
  testing::internal::CaptureStderr();
  m.read_nnbond();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "$ Error: Can not open file: " + missing + "\n");
}

const char* kNbfix =
    "NBFIX\n"
    "OT     CG331    -0.2   3.5\n"
    "HGA3   HT       -0.01  2.5\n"
    "OG311  HT       x      2.5\n";

TEST_F(NonbondedParamTest, NbfixPairsBetweenSoluteAndWaterInTypeOrder) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm", kNbfix));
  const CMolecule solute = Typed({"HGA3", "CG331", "HGA3"});
  const CMolecule water = Typed({"OT", "HT", "HT"});
  testing::internal::CaptureStdout();
  read_nbfix_for_two_mol(solute, water);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "$ nbfix was defined for atom types : \n"
            "OT CG331 -0.2 3.5\n"
            "HGA3 HT -0.01 2.5\n");
  ASSERT_EQ(nbfix.size(), 2u);
  EXPECT_EQ(nbfix[0].a1, "OT");
  EXPECT_EQ(nbfix[0].a2, "CG331");
  EXPECT_DOUBLE_EQ(nbfix[0].eps, -0.2);
  EXPECT_DOUBLE_EQ(nbfix[0].rmin, 3.5);
}

TEST_F(NonbondedParamTest, NbfixErrorsSkipThePairAndTheListKeepsEarlierEntries) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm", kNbfix));
  CNBFIX earlier;
  earlier.a1 = "SOD";
  earlier.a2 = "CLA";
  earlier.eps = -0.083875;
  earlier.rmin = 3.731;
  nbfix.push_back(earlier);
  const CMolecule solute = Typed({"OG311"});
  const CMolecule water = Typed({"HT"});
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  read_nbfix_for_two_mol(solute, water);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(err, "$ Error: Error in file: " + (dir.path() / "p.prm").string() +
                     " in line: OG311  HT       X      2.5\n");
  EXPECT_EQ(out, "$ nbfix was defined for atom types : \nSOD CLA -0.083875 3.731\n");
  EXPECT_EQ(nbfix.size(), 1u);
}

TEST_F(NonbondedParamTest, NoNbfixPrintsNothing) {
  CharmmTopPar.AddNewParam(dir.Write("p.prm", kNonbonded));
  testing::internal::CaptureStdout();
  read_nbfix_for_two_mol(Typed({"HGA3"}), Typed({"OT"}));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(nbfix.empty());
}

}  // namespace
