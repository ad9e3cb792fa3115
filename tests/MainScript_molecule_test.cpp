// The script commands that act on the molecule, executed in-process on a
// molecule built in the test.
#include <gtest/gtest.h>

#include "MainScript.h"
#include "intra/BondOpt.h"
#include "mol.h"
#include "support/molecule.h"
#include "support/printed.h"
#include "support/process_exit.h"
#include "support/run.h"
#include "util.h"

using testing_support::ExpectExit;

namespace {

// Saves the process-wide objects the commands change and restores them.
class MoleculeCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    savedMol = mol1;
    savedOpt = OptInter;
    savedPath = fpath;
    mol1 = testing_support::Ethane();
    fpath = dir.path().string();
  }
  void TearDown() override {
    mol1 = savedMol;
    OptInter = savedOpt;
    fpath = savedPath;
  }
  // Runs the script with its standard output captured.
  std::string Execute(const std::string& script) {
    return testing_support::Printed([&] { MainScript::ProcessScriptMain(script); });
  }

  testing_support::TempDir dir;
  CMolecule savedMol;
  COptInter savedOpt;
  std::string savedPath;
};

std::string ConstrainLines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "b c1 h11\n";
  return s;
}

}  // namespace

TEST_F(MoleculeCommandTest, ConstrainFillsTheGlobalConstraints) {
  Execute("constrain\n  b c1 h11 300\n  # a comment\n  d h11 c1 c2 h21\nEnd\ncharge 1\n");
  EXPECT_EQ(OptInter.nCostrGlobal, 2);
  EXPECT_EQ(OptInter.FixDihe[0].AtomName, (std::array<int, 4>{0, 2, -1, -1}));
  EXPECT_EQ(OptInter.FixDihe[0].value, 300.0);
  EXPECT_EQ(OptInter.FixDihe[1].AtomName, (std::array<int, 4>{2, 0, 1, 5}));
  EXPECT_EQ(OptInter.FixDihe[1].value, 500.0);
  EXPECT_EQ(mol1.netcharge, 1.0);  // execution goes on after `end`
}

TEST_F(MoleculeCommandTest, ConstrainHoldsTwentyEntries) {
  Execute("constrain\n" + ConstrainLines(20) + "end\n");
  EXPECT_EQ(OptInter.nCostrGlobal, 20);
  const ProcessExit e = ExpectExit(
      [&] { Execute("constrain\n" + ConstrainLines(20) + "d c1 c2 h21 h22 10\nend\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err in input script in line : d c1 c2 h21 h22 10\n");
}

TEST_F(MoleculeCommandTest, ConstrainFailures) {
  ProcessExit e = ExpectExit([&] { Execute("constrain\nb c1 x9\nend\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message, "$ err atom was not found : X9\n");
  e = ExpectExit([&] { Execute("constrain\nb c1 h11 abc\nend\n"); });
  EXPECT_EQ(e.message, "$ err in input script in line : b c1 h11 abc\n");
  e = ExpectExit([&] { Execute("constrain\nb c1 h11\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message.rfind("$ err in input script in line : ", 0), 0u);
}

TEST_F(MoleculeCommandTest, ReadCoordinatesIntoGeometries) {
  CMolecule m = mol1;
  m.trans(Vector3(1, 2, 3));
  m.WriteCoorPDB((dir.path() / "moved.pdb").string(), "main");
  dir.Write(
      "w.xyz",
      "8\n\n C 0 0 9\n C 1 0 9\n H 0 1 9\n H 0 2 9\n H 0 3 9\n H 1 1 9\n H 1 2 9\n H 1 3 9\n");

  EXPECT_EQ(Execute("readcoorpdb moved.pdb\n"), "");
  EXPECT_NEAR(mol1.atom[1].xyz[0], 2.53, 1e-9);
  EXPECT_EQ(mol1.ngeom, 1);
  EXPECT_EQ(Execute("READCOORXYZ w.xyz 2\n"), "$ additional geometry 2\n");
  EXPECT_EQ(mol1.ngeom, 2);
  EXPECT_EQ(mol1.atom[7].xyz, (std::vector<double>{1, 3, 9}));
  // Without exactly three words the geometry is the first.
  EXPECT_EQ(Execute("readcoorpdb moved.pdb 2 extra\n"), "");
  EXPECT_EQ(mol1.xyz[2], 3.0);
  EXPECT_EQ(mol1.xyz[8 * 3 + 2], 9.0);

  const ProcessExit e = ExpectExit([&] { Execute("readcoorpdb moved.pdb 4\n"); });
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.message,
            "$ err geometry 4 can not be stored: 2 geometries are set up, the next one is 3\n");
  const ProcessExit n = ExpectExit([&] { Execute("readcoorpdb moved.pdb two\n"); });
  EXPECT_EQ(n.message, "$ err in input script in line : readcoorpdb moved.pdb two\n");
}

TEST_F(MoleculeCommandTest, GenerateBondsAndEnergy) {
  const std::string out = Execute("generatebonds\n");
  EXPECT_NE(out.find("number of dihe   :     9\n"), std::string::npos);
  EXPECT_EQ(mol1.bond.size(), 7u);
  mol1.atom[1].xyz = {3, 0, 0};
  const ProcessExit e = ExpectExit([&] { Execute("energy\ncharge 5\n"); });
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(mol1.dij[1], 3.0);
  EXPECT_EQ(mol1.netcharge, 0.0);  // nothing after `energy` runs
}
